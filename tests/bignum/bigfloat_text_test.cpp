// Numbers from text and to text, and the handle's sharing.
#include <gtest/gtest.h>

#include <locale>
#include <sstream>

#include "Exact.h"
#include "bignum/bigfloat.h"

namespace {

using bignum::bigfloat;
using bignum::INFINITE;
using Words = std::vector<std::uint32_t>;

std::string text(const bigfloat& x, bool positional = false) {
  std::ostringstream out;
  if (positional) out << bignum::pretty;
  out << x;
  return out.str();
}

Words wordsOf(const bigfloat& x) {
  Words w(x.size());
  x.words(0, w.size(), w.data());
  return w;
}

struct TextCase {
  const char* text;
  long prec;
  int sign;
  std::int64_t wordExponent;
  Words words;
};

class FromText : public ::testing::TestWithParam<TextCase> {};

TEST_P(FromText, FollowsTheRules) {
  const TextCase c = GetParam();
  const bigfloat x(c.text, c.prec);
  EXPECT_EQ(x.sign(), c.sign) << c.text;
  EXPECT_EQ(x.wordExponent(), c.wordExponent) << c.text;
  EXPECT_EQ(wordsOf(x), c.words) << c.text;
}

const Words k85{4444, 444444444, 444444444, 444444444, 444444444, 444444444, 444444444, 444444444, 444444444};

INSTANTIATE_TEST_SUITE_P(
    Rules, FromText,
    ::testing::Values(TextCase{"-0.000", 81, 0, 0, {}}, TextCase{"--5", 81, 1, 1, {5}},
                      TextCase{"- + -5", 81, 1, 1, {5}}, TextCase{"-5", 81, -1, 1, {5}}, TextCase{"1e", 81, 1, 1, {1}},
                      TextCase{"12345678901", 81, 1, 2, {12, 345678901}}, TextCase{"0.001", 81, 1, 0, {1000000}},
                      TextCase{"000123.4500e2", 81, 1, 1, {12345}}, TextCase{".5", 81, 1, 0, {500000000}},
                      TextCase{"1.5E-9", 81, 1, 0, {1, 500000000}}, TextCase{"1e-10", 81, 1, -1, {100000000}},
                      // 85 digits at 81: ten words of exponent, the first 76 digits, cut and not rounded.
                      TextCase{"4444444444444444444444444444444444444444444444444444444444444444444444444444999999999",
                               81, 1, 10, k85},
                      TextCase{"1234567890123", bignum::DEFAULT, 1, 2, {1234, 567890123}}, TextCase{"0", 81, 0, 0, {}},
                      TextCase{"", 81, 0, 0, {}}, TextCase{"e5", 81, 0, 0, {}},
                      // Bytes that are not decimal digits count as zeros, never as larger digits.
                      TextCase{"1A2", 81, 1, 1, {102}}, TextCase{"9z", 81, 1, 1, {90}}));

TEST(FromText, PrecisionsOfText) {
  EXPECT_EQ(bigfloat("1234567890123").prec(), 18) << "DEFAULT: the words the digits occupy";
  EXPECT_EQ(bigfloat("1234567890123", INFINITE).prec(), INFINITE);
  EXPECT_EQ(bigfloat("1", 81).prec(), 81);
  EXPECT_EQ(bigfloat("1", 80).prec(), 81) << "whole words";
}

TEST(FromText, ExponentsNeverWrapAround) {
  const bigfloat huge("1e99999999999", 81), huger("1e999999999999999999999999", 81);
  const bigfloat large("1e1000000", 81);
  EXPECT_GT(huge, large);
  EXPECT_GT(huger, huge);
  EXPECT_GT(huge, bigfloat(0));
  EXPECT_EQ(huge.exp(), 100000000008) << "10^99999999999 exactly: 0.000000001e100000000008";
  const bigfloat tiny("1e-99999999999", 81), tinier("1e-999999999999999999999999", 81);
  EXPECT_GT(tiny, bigfloat(0));
  EXPECT_LT(tiny, bigfloat("1e-1000000", 81));
  EXPECT_EQ(tinier.sign(), 0) << "below the exponent range: zero";
  // Arithmetic at the top of the range stays at the top.
  EXPECT_GE((huger * huger).wordExponent(), huger.wordExponent());
  EXPECT_GT(huger * huger, huge);
  EXPECT_EQ((tinier * tiny).sign(), 0);
  EXPECT_EQ((tiny * tiny * tiny).sign(), 1);
}

struct OutCase {
  const char* text;
  long prec;
  const char* plain;
  const char* positional;
};

class ToText : public ::testing::TestWithParam<OutCase> {};

TEST_P(ToText, BothNotations) {
  const OutCase c = GetParam();
  const bigfloat x(c.text, c.prec);
  EXPECT_EQ(text(x), c.plain);
  EXPECT_EQ(text(x, true), c.positional);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ToText,
    ::testing::Values(
        OutCase{"1", 81, "0.000000001e9", "1"}, OutCase{"123.5", 81, "0.000000123500000000e9", "123.500000000"},
        OutCase{"1e18", 81, "0.000000001e27", "1000000000000000000"},
        OutCase{"1e9", 81, "0.000000001e18", "1000000000"}, OutCase{"0.001", 81, "0.001000000e0", "0.001000000"},
        OutCase{"-2.5e-20", 81, "-0.025000000e-18", "-0.000000000000000000025000000"}, OutCase{"0", 81, "0", "0"},
        OutCase{"12345678901.5", 81, "0.000000012345678901500000000e18", "12345678901.500000000"}));

TEST(ToText, PrettyIsClearedByEveryNumberWritten) {
  std::ostringstream out;
  out << bignum::pretty << bigfloat(0) << " " << bigfloat(5);
  EXPECT_EQ(out.str(), "0 0.000000005e9");
  std::ostringstream first, second;
  first << bignum::pretty;  // one flag for the process: it is seen by another stream
  second << bigfloat(5);
  EXPECT_EQ(second.str(), "5");
}

// A locale that groups digits and uses a comma for the decimal point.
struct GroupingPunct : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(ToText, NoLocaleChangesACharacter) {
  const std::locale grouping(std::locale::classic(), new GroupingPunct);
  const std::locale previous = std::locale::global(grouping);
  const bigfloat x("-1234567.25e1000", 81);
  std::ostringstream out;
  out.imbue(grouping);
  out << x << " " << bignum::pretty << bigfloat("1234567.25", 81);
  std::locale::global(previous);
  EXPECT_EQ(out.str(), "-0.012345672500000000e1008 1234567.250000000");
  EXPECT_EQ(exactOf(bigfloat("1234567.25e-3", 81)), mpq_class(4938269, 4000)) << "1234.56725";
}

TEST(Sharing, CopiesShareAndChangesAreMadeOnPrivateCopies) {
  bigfloat a("3.25", 81);
  bigfloat b = a;
  EXPECT_EQ(a.record(), b.record());
  b.prec(18);
  b.sign(-1);
  b += bigfloat(1);
  EXPECT_EQ(text(a, true), "3.250000000");
  EXPECT_EQ(text(b, true), "-2.250000000");
  bigfloat c = a;
  c.exp(c.exp() + 9);
  EXPECT_EQ(text(a, true), "3.250000000");
  EXPECT_EQ(text(c, true), "3250000000");
  // A million digits are shared, not copied.
  const bigfloat big = pow(bigfloat(7), 1200000u);
  const bigfloat copy = big;
  EXPECT_EQ(copy.record(), big.record());
}

TEST(Sharing, TheSameHandleMinusAndPlusItself) {
  const bigfloat x("2.5", 81);
  EXPECT_EQ((x - x).sign(), 0);
  EXPECT_EQ((x - x).prec(), INFINITE);
  EXPECT_EQ(text(x + x, true), "5");
  EXPECT_EQ(text(bigfloat("2.25", 81) + bigfloat("2.25", 81), true), "4.500000000");
  EXPECT_EQ(bigfloat("2", 81), bigfloat(2)) << "precision takes no part in comparison";
}

}  // namespace
