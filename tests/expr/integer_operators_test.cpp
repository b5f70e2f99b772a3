// The bitwise operators against GMP's integers, the integer test, shifts and
// the radix literals.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "expr/FormatValue.h"
#include "expr/IntegerOperators.h"

namespace {

using bignum::bigfloat;

bigfloat d81(const char* text) { return bigfloat(text, 81); }
bigfloat ofInteger(const mpz_class& v) { return bigfloat(v.get_str().c_str(), 81); }
std::string text(const bigfloat& x) { return formatValue(x, 40); }

// What random operands seldom meet: ~ at the 32-bit steps of its width, equal
// operands, exact ones, near-integers (which count as the integer they are
// near), shift counts out of the random range; and radix literals against a
// limit of 1e33 (the evaluator's answers, refusals and their timing are in
// hostile_input_test): one digit within the margin is converted for the
// caller to refuse, one digit more gives the largest number unconverted.
TEST(IntegerOperators, Edges) {
  const bigfloat nearOne = d81("1") / d81("3") * 3;
  const std::pair<bigfloat, std::string> cases[] = {
      {bitNot(d81("0")), "4294967295"},
      {bitNot(d81("4294967295")), "0"},
      {bitNot(d81("4294967296")), "18446744069414584319"},
      {bitXor(d81("5"), d81("5")), "0"},
      {bitAnd(bigfloat(6), bigfloat(3)), "2"},
      {bitOr(nearOne, d81("1")), "1"},
      {bitNot(nearOne), "4294967294"},
      // Shift counts that are negative, far beyond any operand, or near an
      // integer (counts below 120 are checked against GMP below).
      {shiftLeft(d81("12"), d81("-2")), "3"},
      {shiftRight(d81("3"), d81("-2")), "12"},
      {shiftRight(d81("1"), d81("1e30")), "0"},
      {shiftRight(d81("1e30"), d81("1e30")), "0"},
      {shiftLeft(d81("0"), d81("1e30")), "0"},
      {shiftLeft(d81("1"), nearOne), "2"},
      {fromHexText("0x" + std::string(29, 'f'), d81("1e33")), "83076749736557242056487941267521535"},
      {fromHexText("0x" + std::string(30, 'f'), d81("1e33")), text(d81("1e999999999999999999999999"))},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(text(value), expected) << expected;
  // Far counts land on the right side of the limit, at once.
  EXPECT_GT(shiftLeft(d81("1"), d81("1e30")), d81("1e33"));
  EXPECT_GT(shiftLeft(d81("1"), d81("200")), d81("1e33"));
}

// Random operands up to 110 bits, GMP as the oracle.
TEST(BitwiseOperators, AgreeWithGmp) {
  std::mt19937_64 rng(20261206);
  gmp_randclass random(gmp_randinit_default);
  random.seed(7);
  for (int round = 0; round < 300; ++round) {
    const mpz_class a = random.get_z_bits(1 + rng() % 110), b = random.get_z_bits(1 + rng() % 110);
    const bigfloat x = ofInteger(a), y = ofInteger(b);
    ASSERT_EQ(text(bitOr(x, y)), mpz_class(a | b).get_str()) << a << " | " << b;
    ASSERT_EQ(text(bitXor(x, y)), mpz_class(a ^ b).get_str()) << a << " $ " << b;
    ASSERT_EQ(text(bitAnd(x, y)), mpz_class(a & b).get_str()) << a << " & " << b;
    // ~a within the bit width rounded up to a multiple of 32.
    const std::size_t bits = a == 0 ? 1 : mpz_sizeinbase(a.get_mpz_t(), 2);
    const mpz_class mask = (mpz_class(1) << static_cast<mp_bitcnt_t>((bits + 31) / 32 * 32)) - 1;
    ASSERT_EQ(text(bitNot(x)), mpz_class(mask - a).get_str()) << "~" << a;
    ASSERT_EQ(toBinaryDigits(x), a.get_str(2));
    const unsigned shift = static_cast<unsigned>(rng() % 120);
    ASSERT_EQ(text(shiftLeft(x, bigfloat(static_cast<int>(shift)))), mpz_class(a << shift).get_str())
        << a << "<<" << shift;
    // Right shifts round to nearest, halves up: (a + 2^(s-1)) >> s.
    const mpz_class rounded = shift == 0 ? a : mpz_class((a + (mpz_class(1) << (shift - 1))) >> shift);
    ASSERT_EQ(text(shiftRight(x, bigfloat(static_cast<int>(shift)))), rounded.get_str()) << a << ">>" << shift;
  }
}

TEST(IntegerTest, WithinHalfAUnitOfThe72ndDecimal) {
  bigfloat nearTwo = d81(("2." + std::string(75, '0') + "1").c_str());
  EXPECT_TRUE(isInteger(nearTwo));
  EXPECT_EQ(nearTwo, d81("2")) << "replaced by the integer";
  const bigfloat nearOne = d81("1") / d81("3") * 3;
  EXPECT_TRUE(isNonNegativeInteger(nearOne));
  EXPECT_NE(nearOne, d81("1")) << "the caller's copy stays";
  // Just below zero: the text is "0", but the value is negative.
  EXPECT_FALSE(isNonNegativeInteger(nearOne - 1));
}

}  // namespace
