// The number type: against GMP's exact arithmetic with a fixed seed, the
// results that must be exact or cut at a given word, machine numbers, text in
// and out, the handle's sharing and the preconditions that stop the process.
#include "bignum/bigfloat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <locale>

#include "Exact.h"
#include "bignum/convolution.h"

namespace {

using bignum::bigfloat;
using bignum::INFINITE;

struct Precision {
  const char* name;
  long words;
  std::size_t maxWords;  // operand lengths up to this
};

class Arithmetic : public ::testing::TestWithParam<Precision> {};

TEST_P(Arithmetic, AgreesWithGmpInAllButTheLastWord) {
  const Precision p = GetParam();
  std::mt19937_64 rng(4242 + static_cast<unsigned>(p.words));
  // With tiny windows every long number is a file: fewer rounds then.
  const int rounds = static_cast<std::size_t>(p.words) > bignum::limits().Memorythreshold ? 20 : 300;
  for (int round = 0; round < rounds; ++round) {
    const bigfloat a = randomNumber(rng, 1 + rng() % p.maxWords, 3, p.words);
    const bigfloat b = randomNumber(rng, 1 + rng() % p.maxWords, 3, p.words);
    const mpq_class x = exactOf(a), y = exactOf(b);
    ASSERT_TRUE(allButLastWord(a + b, x + y)) << text(a) << " + " << text(b) << " = " << text(a + b);
    ASSERT_TRUE(allButLastWord(a - b, x - y)) << text(a) << " - " << text(b) << " = " << text(a - b);
    ASSERT_TRUE(allButLastWord(a * b, x * y)) << text(a) << " * " << text(b) << " = " << text(a * b);
    ASSERT_TRUE(allButLastWord(a / b, x / y)) << text(a) << " / " << text(b) << " = " << text(a / b);
    // Products and quotients take the precision of the operands.
    for (const bigfloat& r : {a * b, a / b}) ASSERT_EQ(r.wordPrecision(), p.words) << text(a) << ", " << text(b);
    // The square root s of |a|: s^2 lies within the bounds its last-but-one word allows.
    const bigfloat s = bignum::sqrt(abs(a));
    const mpq_class unit = powerOfTen(9 * (s.wordExponent() - s.wordPrecision() + 1));
    const mpq_class low = exactOf(s) - unit, high = exactOf(s) + unit;
    ASSERT_TRUE((low < 0 || low * low < abs(x)) && abs(x) < high * high) << "sqrt " << text(a) << " = " << text(s);
  }
}

INSTANTIATE_TEST_SUITE_P(Precisions, Arithmetic,
                         ::testing::Values(Precision{"digits81", 9, 12}, Precision{"digits216", 24, 30},
                                           Precision{"digits2000", 223, 260}),
                         [](const auto& precision) { return std::string(precision.param.name); });

// Quotients and square roots have every word right (cut, never rounded) up to
// where Newton's iteration takes over, and all but the last above. Half the
// dividends are cut products b c and half the radicands cut squares c^2: their
// results lie just below c, where the last word is hardest to get right.
TEST(Arithmetic, QuotientsAndRootsAreCutExactlyUpToTheCrossovers) {
  std::mt19937_64 rng(31);
  const struct {
    const char* what;
    std::size_t words, divisorWords;  // 0: random, up to 60 words and up to the precision
    int rounds;
    bool exact;
  } rows[] = {{"short precisions", 0, 0, 400, true},
              {"a divisor longer than the dividend's precision", 40, 51, 20, true},
              {"the longest schoolbook root", 2500, 1, 1, true},
              {"the longest schoolbook quotient", 1100, 1100, 1, true},
              {"the quotient by Newton's iteration", 1101, 1101, 1, false},
              {"the root by Newton's iteration", 2501, 1, 1, false}};
  // Whether r, squared or not, brackets |target| as its words say.
  auto agrees = [](const bigfloat& r, const mpq_class& target, bool squared, bool exact) {
    const mpq_class v = abs(exactOf(r)), t = abs(target);
    const mpq_class unit = powerOfTen(9 * (r.wordExponent() - r.wordPrecision() + (exact ? 0 : 1)));
    auto image = [&](const mpq_class& y) { return mpq_class(squared ? y * y : y); };
    const mpq_class low = exact ? v : v - unit;
    return (low <= 0 || (exact ? image(low) <= t : image(low) < t)) && t < image(v + unit) &&
           (squared || sgn(exactOf(r)) == sgn(target));
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    for (int round = 0; round < row.rounds; ++round) {
      const auto p = static_cast<long>(row.words != 0 ? row.words : 1 + rng() % 60);
      const std::size_t n = row.divisorWords != 0 ? row.divisorWords : 1 + rng() % static_cast<std::size_t>(p);
      const bigfloat b = randomNumber(rng, n, 3, std::max<long>(p, static_cast<long>(n)));
      const bigfloat c = randomNumber(rng, 1 + rng() % p, 3, p);
      const bigfloat a = rng() % 2 ? b * c : randomNumber(rng, 1 + rng() % p, 3, p);
      const bigfloat x = rng() % 2 ? c * c : abs(a);
      const bigfloat q = a / b, s = bignum::sqrt(x);
      ASSERT_TRUE(agrees(q, exactOf(a) / exactOf(b), false, row.exact) && q.wordPrecision() == p)
          << text(a) << " / " << text(b) << " = " << text(q);
      ASSERT_TRUE(agrees(s, exactOf(x), true, row.exact) && s.wordPrecision() == p)
          << "sqrt " << text(x) << " = " << text(s);
    }
  }
}

// Exact operands give exact sums, differences and products; long products go
// through the transform.
TEST(Arithmetic, ExactNumbersStayExactAndLongProductsGoThroughTheTransform) {
  std::mt19937_64 rng(8);
  struct Case {
    std::size_t na, nb;
    bool transform;
  };
  for (const Case c : {Case{701, 701, true}, Case{50, 1000, false}, Case{1000, 50, false}, Case{300, 70, false},
                       Case{2, 5000, false}}) {
    const bigfloat a = randomNumber(rng, c.na, 2, INFINITE), b = randomNumber(rng, c.nb, 2, INFINITE);
    const std::size_t before = bignum::convolutionCount();
    const bigfloat product = a * b;
    EXPECT_EQ(bignum::convolutionCount() > before, c.transform) << c.na << " x " << c.nb;
    EXPECT_TRUE(exactOf(product) == exactOf(a) * exactOf(b) && product.prec() == INFINITE &&
                exactOf(a + b) == exactOf(a) + exactOf(b) && exactOf(a - b) == exactOf(a) - exactOf(b))
        << c.na << " x " << c.nb;
  }
  const bigfloat a = randomNumber(rng, 700, 2, 600);
  EXPECT_TRUE(allButLastWord(a * a, exactOf(a) * exactOf(a))) << "a square, through one record";
  // Random integers of 1 to 80 words at random word alignments.
  for (int round = 0; round < 300; ++round) {
    const std::size_t na = 1 + rng() % 80, nb = 1 + rng() % 80;
    bigfloat x = randomNumber(rng, na, 0, INFINITE), y = randomNumber(rng, nb, 0, INFINITE);
    x.exp(static_cast<std::int64_t>(9 * (na + rng() % 3)));
    y.exp(static_cast<std::int64_t>(9 * (nb + rng() % 3)));
    EXPECT_TRUE(exactOf(x + y) == exactOf(x) + exactOf(y) && exactOf(x - y) == exactOf(x) - exactOf(y) &&
                exactOf(x * y) == exactOf(x) * exactOf(y) && (x * y).prec() == INFINITE)
        << text(x) << ", " << text(y);
  }
}

TEST(Arithmetic, IntegerRoundingAndRemainderAgreeWithGmp) {
  std::mt19937_64 rng(9);
  for (int round = 0; round < 300; ++round) {
    const bigfloat a = randomNumber(rng, 1 + rng() % 6, 3, INFINITE);
    const mpq_class x = exactOf(a);
    mpz_class f, c, t;
    mpz_fdiv_q(f.get_mpz_t(), x.get_num_mpz_t(), x.get_den_mpz_t());
    mpz_cdiv_q(c.get_mpz_t(), x.get_num_mpz_t(), x.get_den_mpz_t());
    mpz_tdiv_q(t.get_mpz_t(), x.get_num_mpz_t(), x.get_den_mpz_t());
    EXPECT_EQ(text(bignum::floor(a), true) + " " + text(bignum::ceil(a), true) + " " + text(bignum::trunc(a), true),
              f.get_str() + " " + c.get_str() + " " + t.get_str());

    // fmod of exact numbers whose quotient has few integer digits: exact.
    const bigfloat b = randomNumber(rng, 1 + rng() % 3, 1, INFINITE);
    const mpq_class y = exactOf(b), quotient = x / y;
    mpz_class whole;
    mpz_tdiv_q(whole.get_mpz_t(), quotient.get_num_mpz_t(), quotient.get_den_mpz_t());
    EXPECT_EQ(exactOf(bignum::fmod(a, b)), x - mpq_class(whole) * y) << text(a) << " fmod " << text(b);
  }
}

bigfloat d81(const char* text) { return bigfloat(text, 81); }

TEST(Values, ExactOrCutWhereTheRulesSaySo) {
  const struct {
    const char* what;
    bigfloat value;
    const char* expected;
    bool exact;
  } cases[] = {
      {"a term beyond the precision", d81("1") + d81("1e-100"), "1", false},
      {"a carry through every word", d81("999999999.999999999") + d81("0.000000001"), "1000000000", false},
      {"a borrow through every word", d81("1000000000") - d81("0.000000001"), "999999999.999999999", false},
      {"a terminating quotient of exact numbers", bigfloat(1) / bigfloat(8), "0.125", true},
      {"x^0", pow(d81("7.5"), 0u), "1", true},
      {"a power of an exact number", pow(bigfloat(2), 10), "1024", true},
      {"sqrt(0)", bignum::sqrt(bigfloat(0)), "0", true},
      {"invroot(x, 0)", bignum::invroot(d81("5"), 0), "1", true},
      {"a ceiling that carries into a new word", ceil(d81("999999999.5")), "1000000000", true},
      {"the floor of a number of finite precision", floor(d81("-2.5")), "-3", true},
      {"a remainder whose integer digits lie beyond the precision", fmod(d81("1e100"), d81("3")), "0", true},
      {"an integer cut to one word", bigfloat(1234567890, 9), "1000000000", false},
      {"a precision cut to one word", bigfloat("1.23456789012345678901", INFINITE).prec(9), "1", false},
      {"an exponent truncated toward zero", d81("5").exp(-26), "5e-27", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(exactOf(c.value), exactOf(bigfloat(c.expected, INFINITE))) << text(c.value);
    EXPECT_EQ(c.value.prec() == INFINITE, c.exact);
  }
  EXPECT_TRUE(allButLastWord(bignum::invroot(d81("-8"), 3), mpq_class(-1, 2))) << "odd roots of negative numbers";
  bigfloat zero;
  zero.prec(9).exp(99).sign(-1);
  EXPECT_TRUE(zero.sign() == 0 && zero.prec() == INFINITE) << "zero stays zero";
}

// Machine integers exactly; doubles of every scale to 15 digits and back,
// and exactly where their binary fraction fits the words they get.
TEST(Values, MachineNumbersAgreeWithGmp) {
  std::mt19937_64 rng(11);
  for (int round = 0; round < 3000; ++round) {
    const std::uint64_t bits = rng();
    const int i = round == 0 ? INT_MIN : round == 1 ? INT_MAX : static_cast<int>(bits);
    const unsigned u = round == 0 ? UINT_MAX : static_cast<unsigned>(bits >> 32);
    ASSERT_TRUE(exactOf(bigfloat(i)) == i && exactOf(bigfloat(u)) == static_cast<unsigned long>(u)) << i << " " << u;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    const bigfloat x(v);
    ASSERT_LE(abs(exactOf(x) - mpq_class(v)), abs(mpq_class(v)) * mpq_class(1, 1000000000000000)) << v;
    ASSERT_LE(std::fabs(getdouble(x) - v), std::fabs(v) * 2e-15) << v;
  }
  for (double v : {2.5, 0.125, 1e9, 123456789012345.0, 1e22, -9.5367431640625e-7, 1099511627776.0})
    EXPECT_EQ(exactOf(bigfloat(v)), mpq_class(v)) << v;
  EXPECT_TRUE(getdouble(d81("1e1000")) == HUGE_VAL && getdouble(d81("-1e-1000")) == 0.0);
}

TEST(NumberDeathTest, PreconditionsStopTheProcess) {
  EXPECT_DEATH(bigfloat(1) / bigfloat(0), "b->sign");
  EXPECT_DEATH(bigfloat(1) / (bigfloat(1000000000) * bigfloat(7)), "prec != INFINITE") << "does not terminate";
  EXPECT_DEATH(bignum::invroot(bigfloat(0, 81), 2), "u.sign \\(\\)");
  EXPECT_DEATH(bignum::invroot(d81("-4"), 2), "u.sign \\(\\) > 0");
  EXPECT_DEATH(bigfloat(std::nan("")), "finite double");
}

TEST(FromText, FollowsTheRules) {
  const Words k85{4444, 444444444, 444444444, 444444444, 444444444, 444444444, 444444444, 444444444, 444444444};
  const struct {
    const char* text;
    long prec;
    int sign;
    std::int64_t wordExponent;
    Words words;
  } cases[] = {
      // clang-format off
      {"-0.000", 81, 0, 0, {}}, {"0", 81, 0, 0, {}}, {"", 81, 0, 0, {}}, {"e5", 81, 0, 0, {}}, {"1e", 81, 1, 1, {1}},
      {"--5", 81, 1, 1, {5}}, {"- + -5", 81, 1, 1, {5}}, {"-5", 81, -1, 1, {5}}, {".5", 81, 1, 0, {500000000}},
      {"12345678901", 81, 1, 2, {12, 345678901}}, {"0.001", 81, 1, 0, {1000000}}, {"000123.4500e2", 81, 1, 1, {12345}},
      {"1.5E-9", 81, 1, 0, {1, 500000000}}, {"1e-10", 81, 1, -1, {100000000}},
      {"1234567890123", bignum::DEFAULT, 1, 2, {1234, 567890123}},
      // 85 digits at 81: ten words of exponent, the first 76 digits, cut and not rounded.
      {"4444444444444444444444444444444444444444444444444444444444444444444444444444999999999", 81, 1, 10, k85},
      // Bytes that are not decimal digits count as zeros, never as larger digits.
      {"1A2", 81, 1, 1, {102}}, {"9z", 81, 1, 1, {90}}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const bigfloat x(c.text, c.prec);
    EXPECT_EQ(std::tuple(x.sign(), x.wordExponent(), wordsOf(x)), std::tuple(c.sign, c.wordExponent, c.words));
  }
  // DEFAULT: the words the digits occupy; otherwise whole words.
  EXPECT_TRUE(bigfloat("1234567890123").prec() == 18 && bigfloat("1", 80).prec() == 81);
}

TEST(FromText, ExponentsNeverWrapAround) {
  const bigfloat huge("1e99999999999", 81), huger("1e999999999999999999999999", 81);
  const bigfloat large("1e1000000", 81);
  EXPECT_TRUE(huger > huge && huge > large && large > bigfloat(0));
  EXPECT_EQ(huge.exp(), 100000000008) << "10^99999999999 exactly: 0.000000001e100000000008";
  const bigfloat tiny("1e-99999999999", 81), tinier("1e-999999999999999999999999", 81);
  EXPECT_TRUE(tiny > bigfloat(0) && tiny < bigfloat("1e-1000000", 81));
  EXPECT_EQ(tinier.sign(), 0) << "below the exponent range: zero";
  // Arithmetic at the top of the range stays at the top.
  EXPECT_TRUE(huger * huger > huge && (tinier * tiny).sign() == 0 && (tiny * tiny * tiny).sign() == 1);
}

TEST(ToText, BothNotations) {
  const struct {
    const char* text;
    const char* plain;
    const char* positional;
  } cases[] = {{"123.5", "0.000000123500000000e9", "123.500000000"},
               {"1e18", "0.000000001e27", "1000000000000000000"},
               {"0.001", "0.001000000e0", "0.001000000"},
               {"-2.5e-20", "-0.025000000e-18", "-0.000000000000000000025000000"},
               {"0", "0", "0"},
               {"12345678901.5", "0.000000012345678901500000000e18", "12345678901.500000000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const bigfloat x(c.text, 81);
    // Every number written, zero too, clears the flag for the next.
    EXPECT_EQ(text(x) + " " + text(x, true), std::string(c.plain) + " " + c.positional);
  }
  std::ostringstream other;
  other << bignum::pretty;  // one flag for the process: it is seen by another stream
  EXPECT_EQ(text(bigfloat(5)), "5");
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
}

TEST(Sharing, CopiesShareAndChangesAreMadeOnPrivateCopies) {
  bigfloat a("3.25", 81);
  bigfloat b = a;
  EXPECT_EQ(a.record(), b.record());
  b.prec(18).sign(-1);
  b += bigfloat(1);
  bigfloat c = a;
  c.exp(c.exp() + 9);
  // a + a: one handle on both sides.
  EXPECT_EQ(text(a, true) + " " + text(b, true) + " " + text(c, true) + " " + text(a + a, true),
            "3.250000000 -2.250000000 3250000000 6.500000000");
  EXPECT_TRUE((a - a).sign() == 0 && (a - a).prec() == INFINITE);
  EXPECT_EQ(bigfloat("2", 81), bigfloat(2)) << "precision takes no part in comparison";
}

}  // namespace
