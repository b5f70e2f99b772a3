#include "bignum/modint.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using bignum::modint;
using bignum::Montgomery;

constexpr std::uint32_t kModuli[] = {bignum::MOD1, bignum::MOD2, bignum::MOD3};

// The plain method, kept here as the reference: a 64-bit product and remainder.
std::uint32_t plainProduct(std::uint32_t a, std::uint32_t b, std::uint32_t m) {
  return static_cast<std::uint32_t>(std::uint64_t{a} * b % m);
}
std::uint32_t plainPower(std::uint32_t a, std::uint64_t e, std::uint32_t m) {
  std::uint32_t r = 1 % m;
  for (; e > 0; e >>= 1, a = plainProduct(a, a, m))
    if (e & 1) r = plainProduct(r, a, m);
  return r;
}

// Residues worth trying: the edges and random ones.
std::vector<std::uint32_t> samples(std::uint32_t m, unsigned seed) {
  std::vector<std::uint32_t> values{0, 1, 2, m / 2, m - 2, m - 1};
  std::mt19937 rng(seed);
  for (int i = 0; i < 2000; ++i) values.push_back(rng() % m);
  return values;
}

TEST(Modint, OperationsAgreeWithThePlainMethod) {
  for (std::uint32_t m : kModuli) {
    bignum::setmodulus(m);
    const auto values = samples(m, m);
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
      const std::uint32_t a = values[i], b = values[i + 1];
      EXPECT_EQ((modint(a) + modint(b)).value(), (std::uint64_t{a} + b) % m);
      EXPECT_EQ((modint(a) - modint(b)).value(), (std::uint64_t{a} + m - b) % m);
      EXPECT_EQ((modint(a) * modint(b)).value(), plainProduct(a, b, m));
    }
    for (std::uint32_t a : {2u, 3u, m - 1, 123456789u % m}) {
      EXPECT_EQ(bignum::pow(modint(a), 0).value(), 1u);
      EXPECT_EQ(bignum::pow(modint(a), 1000003).value(), plainPower(a, 1000003, m));
      EXPECT_EQ((bignum::inverse(modint(a)) * modint(a)).value(), 1u);
    }
  }
}

TEST(Modint, MontgomeryProductsAreExact) {
  for (std::uint32_t m : kModuli) {
    const Montgomery mg = Montgomery::of(m);
    EXPECT_EQ(mg.minv * m, 1u);
    const auto values = samples(m, m + 1);
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
      const std::uint32_t a = values[i], b = values[i + 1];
      // mul(a, b R) = a b: what the transform kernels rely on.
      EXPECT_EQ(mg.mul(a, mg.to(b)), plainProduct(a, b, m));
      // Operands up to 2m - 1 are allowed on one side.
      EXPECT_EQ(mg.mul(a + m - 1, mg.to(b)), plainProduct((a + m - 1) % m, b, m));
    }
    EXPECT_EQ(mg.power(7, m - 1), 1u);
    EXPECT_EQ(mg.power(123, 456), plainPower(123, 456, m));
  }
}

// Each modulus is c * 2^k + 1 with its root primitive: of full order m - 1,
// so that roots of unity of every length 2^j and 3 * 2^j up to the maximum exist.
TEST(Modint, RootsArePrimitive) {
  const std::uint32_t roots[] = {bignum::ROOT1, bignum::ROOT2, bignum::ROOT3};
  for (int i = 0; i < 3; ++i) {
    const std::uint32_t m = kModuli[i], g = roots[i];
    EXPECT_EQ((m - 1) % bignum::MAXTRANSFORMLENGTH, 0u) << m;
    std::uint32_t rest = m - 1;
    for (std::uint32_t q = 2; q * q <= rest || rest > 1; ++q) {
      if (rest % q != 0) continue;
      while (rest % q == 0) rest /= q;
      EXPECT_NE(plainPower(g, (m - 1) / q, m), 1u) << "modulus " << m << ", prime factor " << q;
    }
  }
}

}  // namespace
