// Answer texts: rounding at the requested decimals, carries, signs, integers.
#include <gtest/gtest.h>

#include <tuple>

#include "expr/FormatValue.h"

namespace {

using bignum::bigfloat;

bigfloat d81(const char* text) { return bigfloat(text, 81); }

// Rounding half away from zero at the requested decimals, with carries; a
// negative value that rounds to nothing is "0" (1/3*3 - 1 and tan(pi) lie a
// hair below zero); far exponents write no endless text.
TEST(FormatValue, RoundsAtTheRequestedDecimals) {
  const bigfloat hair = d81("1") / d81("3") * 3 - 1;
  // A 1 in the 76th decimal is beyond 72 decimals; in the 70th it is not.
  const std::string nearTwo = "2." + std::string(75, '0') + "1", notTwo = "2." + std::string(69, '0') + "1";
  const std::tuple<bigfloat, int, std::string> cases[] = {
      // a value, the decimals, its text
      {d81("2") / d81("3"), 40, "0.6666666666666666666666666666666666666667"},
      {d81("123.4000"), 40, "123.4"},
      {d81("9.9999"), 2, "10"},
      {d81("-9.999"), 2, "-10"},
      {d81("0.994"), 2, "0.99"},
      {d81("-0.995"), 2, "-1"},
      {d81("-99.96"), 1, "-100"},
      {d81("1.25"), 1, "1.3"},
      {d81("1.2049"), 2, "1.2"},
      {d81("0.0001"), 3, "0"},
      {d81("9.5"), 0, "10"},
      {d81("-9.5"), 0, "-10"},
      {bigfloat(), 40, "0"},
      {d81(nearTwo.c_str()), 72, "2"},
      {d81(notTwo.c_str()), 72, notTwo},
      {hair, 40, "0"},
      {d81("-0.00001"), 4, "0"},
      {d81("-0.00005"), 4, "-0.0001"},
      {d81("1e-999999999999"), 40, "0"},
      {d81("6e-41"), 40, "0.0000000000000000000000000000000000000001"},
      {d81("1e999999999999"), 40, "0.000000001e1000000000008"},
  };
  for (const auto& [value, digits, text] : cases) EXPECT_EQ(formatValue(value, digits), text) << text;
  EXPECT_EQ(formatValue(hair, 90), "-0." + formatValue(hair, 81).substr(3)) << "all its digits kept";
  EXPECT_EQ(formatValue(d81("1e999990"), 40).size(), 999991u) << "nearly a million digits are still written out";
}

// The full text reads back as the same number, and stays short however far
// the exponent lies (the constants file's round trip in evaluator_test shows
// its positional form, every digit).
TEST(PlainText, ReadsBackTheSameNumber) {
  for (const char* text : {"0", "-2.5", "1.5e-30", "123456789012345678901234567890.123456789", "1e999990", "1e-999990",
                           "3e-2000000", "-7.25e5000000", "1e999999999999"}) {
    const bigfloat value = d81(text);
    const std::string plain = plainText(value);
    EXPECT_EQ(d81(plain.c_str()), value) << text << " -> " << plain.substr(0, 60);
    if (value.sign() != 0 && (value.exp() > 1000000 || value.exp() < -1000000)) {
      EXPECT_LT(plain.size(), 120u) << text;
    }
  }
}

}  // namespace
