// The number type against GMP's exact arithmetic, with a fixed seed.
#include "bignum/bigfloat.h"

#include <gtest/gtest.h>

#include <sstream>

#include "Exact.h"
#include "bignum/convolution.h"

namespace {

using bignum::bigfloat;
using bignum::INFINITE;

std::string text(const bigfloat& x) {
  std::ostringstream out;
  out << x;
  return out.str();
}

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
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Arithmetic, ExactIntegersStayExact) {
  std::mt19937_64 rng(7);
  for (int round = 0; round < 300; ++round) {
    // Integers: exponent at least the size.
    const std::size_t na = 1 + rng() % 80, nb = 1 + rng() % 80;
    bigfloat a = randomNumber(rng, na, 0, INFINITE), b = randomNumber(rng, nb, 0, INFINITE);
    a.exp(static_cast<std::int64_t>(9 * (na + rng() % 3)));
    b.exp(static_cast<std::int64_t>(9 * (nb + rng() % 3)));
    const mpq_class x = exactOf(a), y = exactOf(b);
    EXPECT_EQ(exactOf(a + b), x + y);
    EXPECT_EQ(exactOf(a - b), x - y);
    EXPECT_EQ(exactOf(a * b), x * y);
    EXPECT_EQ((a * b).prec(), INFINITE);
  }
}

TEST(Arithmetic, LongProductsGoThroughTheTransformAndAgreeWithSchoolbook) {
  std::mt19937_64 rng(8);
  struct Case {
    std::size_t na, nb;
    bool transform;
  };
  for (const Case c :
       {Case{51, 51, true}, Case{50, 1000, false}, Case{1000, 50, false}, Case{300, 70, true}, Case{2, 5000, false}}) {
    const bigfloat a = randomNumber(rng, c.na, 2, INFINITE), b = randomNumber(rng, c.nb, 2, INFINITE);
    const std::size_t before = bignum::convolutionCount();
    const bigfloat product = a * b;
    EXPECT_EQ(bignum::convolutionCount() > before, c.transform) << c.na << " x " << c.nb;
    EXPECT_EQ(exactOf(product), exactOf(a) * exactOf(b)) << c.na << " x " << c.nb;
  }
  // Squaring through the same record equals the product with an equal copy.
  const bigfloat a = randomNumber(rng, 700, 2, 600);
  const bigfloat copy = bigfloat::fromWords(
      a.sign(), a.wordExponent(), a.wordPrecision(),
      [&] {
        static std::vector<std::uint32_t> w;
        w.resize(a.size());
        a.words(0, w.size(), w.data());
        return w.data();
      }(),
      a.size());
  EXPECT_NE(copy.record(), a.record());
  EXPECT_EQ(exactOf(a * a), exactOf(a * copy));
  EXPECT_TRUE(allButLastWord(a * a, exactOf(a) * exactOf(a)));
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
    EXPECT_EQ(exactOf(bignum::floor(a)), mpq_class(f)) << text(a);
    EXPECT_EQ(exactOf(bignum::ceil(a)), mpq_class(c)) << text(a);
    EXPECT_EQ(exactOf(bignum::trunc(a)), mpq_class(t)) << text(a);

    // fmod of exact numbers whose quotient has few integer digits: exact.
    const bigfloat b = randomNumber(rng, 1 + rng() % 3, 1, INFINITE);
    const mpq_class y = exactOf(b), quotient = x / y;
    mpz_class whole;
    mpz_tdiv_q(whole.get_mpz_t(), quotient.get_num_mpz_t(), quotient.get_den_mpz_t());
    EXPECT_EQ(exactOf(bignum::fmod(a, b)), x - mpq_class(whole) * y) << text(a) << " fmod " << text(b);
  }
}

}  // namespace
