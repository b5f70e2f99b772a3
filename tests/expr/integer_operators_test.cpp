// The bitwise operators against GMP's integers, the integer test, shifts and
// the radix literals.
#include "expr/IntegerOperators.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "expr/FormatValue.h"

namespace {

using bignum::bigfloat;

bigfloat d81(const char* text) { return bigfloat(text, 81); }
bigfloat ofInteger(const mpz_class& v) { return bigfloat(v.get_str().c_str(), 81); }
std::string text(const bigfloat& x) { return formatValue(x, 40); }

// The examples, including near-integer operands, which count as the integer they are near.
TEST(BitwiseOperators, Examples) {
  const bigfloat nearOne = d81("1") / d81("3") * 3;
  const struct {
    bigfloat value;
    const char* expected;
  } cases[] = {
      {bitOr(d81("12"), d81("3")), "15"},
      {bitXor(d81("12"), d81("10")), "6"},
      {bitAnd(d81("12"), d81("10")), "8"},
      {bitAnd(d81("1"), d81("0")), "0"},
      {bitOr(d81("0"), d81("0")), "0"},
      {bitXor(d81("5"), d81("5")), "0"},
      {bitNot(d81("0")), "4294967295"},
      {bitNot(d81("5")), "4294967290"},
      {bitNot(d81("4294967295")), "0"},
      {bitNot(d81("4294967296")), "18446744069414584319"},
      {bitOr(nearOne, d81("1")), "1"},
      {bitNot(nearOne), "4294967294"},
      {bitAnd(bigfloat(6), bigfloat(3)), "2"},
  };
  for (const auto& c : cases) EXPECT_EQ(text(c.value), c.expected);
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
    ASSERT_EQ(text(shiftLeft(x, bigfloat(static_cast<int>(shift)))), mpz_class(a << shift).get_str()) << a << "<<" << shift;
    // Right shifts round to nearest, halves up: (a + 2^(s-1)) >> s.
    const mpz_class rounded = shift == 0 ? a : mpz_class((a + (mpz_class(1) << (shift - 1))) >> shift);
    ASSERT_EQ(text(shiftRight(x, bigfloat(static_cast<int>(shift)))), rounded.get_str()) << a << ">>" << shift;
  }
}

TEST(Shifts, SmallCountsFarCountsAndNegativeCounts) {
  EXPECT_EQ(text(shiftLeft(d81("1"), d81("10"))), "1024");
  EXPECT_EQ(text(shiftLeft(d81("3"), d81("0"))), "3");
  EXPECT_EQ(text(shiftRight(d81("12"), d81("2"))), "3");
  EXPECT_EQ(text(shiftRight(d81("1"), d81("40"))), "0");
  EXPECT_EQ(text(shiftRight(d81("3"), d81("1"))), "2") << "halves round up";
  EXPECT_EQ(text(shiftLeft(d81("12"), d81("-2"))), "3");
  EXPECT_EQ(text(shiftRight(d81("3"), d81("-2"))), "12");
  // Far beyond any operand: at once, and on the right side of the limit.
  EXPECT_EQ(text(shiftRight(d81("1"), d81("1e30"))), "0");
  EXPECT_EQ(text(shiftRight(d81("1e30"), d81("1e30"))), "0");
  EXPECT_GT(shiftLeft(d81("1"), d81("1e30")), d81("1e33"));
  EXPECT_GT(shiftLeft(d81("1"), d81("200")), d81("1e33"));
  EXPECT_EQ(text(shiftLeft(d81("0"), d81("1e30"))), "0");
  // A count near an integer counts as it.
  EXPECT_EQ(text(shiftLeft(d81("1"), d81("1") / d81("3") * 3)), "2");
}

TEST(IntegerTest, WithinHalfAUnitOfThe72ndDecimal) {
  bigfloat nearTwo = d81(("2." + std::string(75, '0') + "1").c_str());
  EXPECT_TRUE(isInteger(nearTwo));
  EXPECT_EQ(nearTwo, d81("2")) << "replaced by the integer";
  bigfloat half = d81("2.5");
  EXPECT_FALSE(isInteger(half));
  EXPECT_EQ(half, d81("2.5"));
  const bigfloat nearOne = d81("1") / d81("3") * 3;
  EXPECT_TRUE(isNonNegativeInteger(nearOne));
  EXPECT_NE(nearOne, d81("1")) << "the caller's copy stays";
  // Just below zero: the text is "0", but the value is negative.
  EXPECT_FALSE(isNonNegativeInteger(nearOne - 1));
  EXPECT_FALSE(isNonNegativeInteger(d81("-3")));
  EXPECT_TRUE(isNonNegativeInteger(d81("0")));
}

// Against a limit of 1e33: literals with more significant digits than it
// allows give the largest number unconverted, nearer ones their value.
TEST(Literals, BinaryOctalHex) {
  const bigfloat limit = d81("1e33"), largest = d81("1e999999999999999999999999");
  const std::string zeros(100000, '0');
  const struct {
    bigfloat value;
    std::string expected;
  } cases[] = {
      {fromBinaryText("0b1111", limit), "15"}, {fromBinaryText("0B0", limit), "0"},
      {fromOctalText("017", limit), "15"},     {fromOctalText("0", limit), "0"},
      {fromHexText("0xff", limit), "255"},     {fromHexText("0XFF", limit), "255"},
      {fromHexText("0xDeadBeef", limit), "3735928559"},
      // Above the limit but within the margin: converted, for the caller to refuse.
      {fromHexText("0x" + std::string(29, 'f'), limit), "83076749736557242056487941267521535"},
      {fromBinaryText("0b" + std::string(113, '1'), limit), "10384593717069655257060992658440191"},
      {fromOctalText("0" + std::string(38, '7'), limit), "20769187434139310514121985316880383"},
      // A digit more is beyond it (the smallest such value exceeds 1e34).
      {fromHexText("0x" + std::string(30, 'f'), limit), text(largest)},
      {fromBinaryText("0b" + std::string(114, '1'), limit), text(largest)},
      {fromOctalText("0" + std::string(39, '7'), limit), text(largest)},
      // Leading zeros do not count.
      {fromHexText("0x" + zeros + std::string(29, 'f'), limit), "83076749736557242056487941267521535"},
      {fromBinaryText("0b" + zeros + "101", limit), "5"},
      {fromOctalText("0" + zeros + "17", limit), "15"},
  };
  for (const auto& c : cases) EXPECT_EQ(text(c.value), c.expected);
}

}  // namespace
