// Particular values of the operations, the construction from machine numbers
// and the preconditions that stop the process.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <sstream>

#include "Exact.h"
#include "bignum/bigfloat.h"

namespace {

using bignum::bigfloat;
using bignum::INFINITE;
using Words = std::vector<std::uint32_t>;

std::string positional(const bigfloat& x) {
  std::ostringstream out;
  out << bignum::pretty << x;
  return out.str();
}

Words wordsOf(const bigfloat& x) {
  Words w(x.size());
  x.words(0, w.size(), w.data());
  return w;
}

bigfloat d81(const char* text) { return bigfloat(text, 81); }

TEST(Values, SumsAndProducts) {
  EXPECT_EQ(d81("1") + d81("1e-100"), bigfloat(1)) << "the small term lies beyond the precision";
  const bigfloat product = bigfloat(999999999) * bigfloat(2);
  EXPECT_EQ(wordsOf(product), (Words{1, 999999998}));
  EXPECT_EQ(product.prec(), INFINITE);
  EXPECT_EQ(positional(d81("0.1") + d81("0.2")), "0.300000000");
  EXPECT_EQ(positional(d81("999999999.999999999") + d81("0.000000001")), "1000000000");
  EXPECT_EQ(positional(d81("1000000000") - d81("0.000000001")), "999999999.999999999");
  EXPECT_EQ(positional(-d81("3") * d81("-4")), "12");
}

TEST(Values, Division) {
  const bigfloat third = d81("1") / d81("3");
  EXPECT_EQ(wordsOf(third), Words(9, 333333333u));
  const bigfloat eighth = bigfloat(1) / bigfloat(8);
  EXPECT_EQ(wordsOf(eighth), Words{125000000});
  EXPECT_EQ(eighth.wordExponent(), 0);
  EXPECT_EQ(eighth.prec(), INFINITE) << "a terminating quotient of exact numbers stays exact";
  EXPECT_EQ(positional(bigfloat(10) / bigfloat(4)), "2.500000000");
  EXPECT_EQ(positional(d81("-7") / d81("1e-10")), "-70000000000");
}

TEST(Values, PowersAndRoots) {
  EXPECT_EQ(pow(d81("7.5"), 0u), bigfloat(1));
  EXPECT_EQ(pow(d81("7.5"), 0u).prec(), INFINITE);
  EXPECT_EQ(pow(bigfloat(2), 10), bigfloat(1024));
  EXPECT_EQ(pow(bigfloat(2), 10).prec(), INFINITE);
  EXPECT_EQ(pow(d81("2"), -1), d81("0.5"));
  EXPECT_EQ(pow(bigfloat(-3), 3u), bigfloat(-27));
  EXPECT_EQ(bignum::sqrt(bigfloat(0)).sign(), 0);
  EXPECT_TRUE(allButLastWord(bignum::sqrt(d81("4")), 2));
  EXPECT_TRUE(allButLastWord(bignum::invroot(d81("4"), 2), mpq_class(1, 2)));
  EXPECT_TRUE(allButLastWord(bignum::invroot(d81("-8"), 3), mpq_class(-1, 2)));
  EXPECT_EQ(bignum::invroot(d81("5"), 0), bigfloat(1));
}

TEST(Values, Rounding) {
  EXPECT_EQ(floor(d81("-2.5")), bigfloat(-3));
  EXPECT_EQ(ceil(d81("-2.5")), bigfloat(-2));
  EXPECT_EQ(floor(d81("0.3")).sign(), 0);
  EXPECT_EQ(ceil(d81("0.3")), bigfloat(1));
  EXPECT_EQ(ceil(d81("-0.3")).sign(), 0) << "the ceiling of -0.3 is 0";
  EXPECT_EQ(floor(d81("-0.3")), bigfloat(-1));
  EXPECT_EQ(ceil(d81("999999999.5")), bigfloat(1000000000)) << "the carry adds a word";
  EXPECT_EQ(trunc(d81("-7.9")), bigfloat(-7));
  EXPECT_EQ(floor(d81("1e-30")).prec(), INFINITE);
  EXPECT_EQ(fmod(bigfloat(-7), bigfloat(3)), bigfloat(-1));
  EXPECT_EQ(fmod(bigfloat(2), bigfloat(5)), bigfloat(2));
  EXPECT_EQ(fmod(d81("1e100"), d81("3")).sign(), 0) << "every integer digit is beyond the precision";
}

TEST(Values, MachineNumbers) {
  EXPECT_EQ(wordsOf(bigfloat(INT_MIN)), (Words{2, 147483648}));
  EXPECT_EQ(bigfloat(INT_MIN).sign(), -1);
  EXPECT_EQ(wordsOf(bigfloat(4294967295u)), (Words{4, 294967295}));
  EXPECT_EQ(wordsOf(bigfloat(1234567890, 9)), Words{1}) << "cut to one word";
  EXPECT_EQ(bigfloat(0).prec(), INFINITE);

  // Doubles: the leading word is the first non-zero base-10^9 digit.
  EXPECT_EQ(wordsOf(bigfloat(0.5)), Words{500000000});
  EXPECT_EQ(bigfloat(1234.5).prec(), 27) << "three words when the first word has at most six digits";
  EXPECT_EQ(bigfloat(0.5).prec(), 18) << "else two";
  EXPECT_EQ(bigfloat(-1e-300).sign(), -1);
  for (double v : {3.141592653589793, -2.5e-7, 1e300, 6.02214076e23, 1.0 / 3, 5e-324, 1.7976931348623157e308}) {
    EXPECT_NEAR(getdouble(bigfloat(v)) / v, 1.0, 1e-15) << v;
  }
  // Binary fractions convert exactly, at every scale (1e22 = 2^22 5^22 is one).
  const std::pair<double, const char*> exact[] = {
      {2.5, "2.5"}, {0.125, "0.125"}, {1e9, "1e9"}, {123456789012345.0, "123456789012345"}, {1e22, "1e22"},
      {-9.5367431640625e-7, "-9.5367431640625e-7"}, {1099511627776.0, "1099511627776"}};
  for (const auto& [v, text] : exact) EXPECT_EQ(bigfloat(v), bigfloat(text, INFINITE)) << text;
  EXPECT_EQ(getdouble(bigfloat(0)), 0.0);
  EXPECT_EQ(getdouble(d81("1e1000")), HUGE_VAL);
}

TEST(Values, PrecisionAndExponentAccessors) {
  bigfloat x("1.23456789012345678901", INFINITE);
  x.prec(9);
  EXPECT_EQ(wordsOf(x), Words{1}) << "cut to one word";
  EXPECT_EQ(x.prec(), 9);
  bigfloat y = d81("5");
  y.exp(-9);
  EXPECT_EQ(positional(y), "0.000000000000000005");
  y.exp(-26);  // truncated toward zero: two words, not three
  EXPECT_EQ(y.wordExponent(), -2);
  bigfloat zero;
  zero.prec(9).exp(99).sign(-1);
  EXPECT_EQ(zero.sign(), 0);
  EXPECT_EQ(zero.prec(), INFINITE);
}

TEST(NumberDeathTest, PreconditionsStopTheProcess) {
  EXPECT_DEATH(bigfloat(1) / bigfloat(0), "b->sign");
  EXPECT_DEATH(bigfloat(1) / bigfloat(3), "prec != INFINITE") << "an exact quotient that does not terminate";
  EXPECT_DEATH(bigfloat(1) / (bigfloat(1000000000) * bigfloat(7)), "prec != INFINITE");
  EXPECT_DEATH(bignum::invroot(bigfloat(0, 81), 2), "u.sign \\(\\)");
  EXPECT_DEATH(bignum::invroot(d81("-4"), 2), "u.sign \\(\\) > 0");
  EXPECT_DEATH(bigfloat(std::nan("")), "finite double");
}

}  // namespace
