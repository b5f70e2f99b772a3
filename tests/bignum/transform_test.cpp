// Number-theoretic transforms and arithmetic modulo their primes. Transform.*
// and Modint.* run with the default settings (Transform.* also with the
// portable kernels), TransformThreads.* and the round trips with NPROCESSORS=4,
// and TransformDisk.* with a small workspace, each in processes of their own
// (see CMakeLists.txt).
#include "bignum/transform.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "StorageWords.h"
#include "bignum/init.h"
#include "bignum/kernels.h"
#include "bignum/modint.h"
#include "bignum/storage.h"
#include "bignum/transform_steps.h"

namespace {

struct Prime {
  std::uint32_t m, g;
};
constexpr Prime kPrimes[] = {
    {bignum::MOD1, bignum::ROOT1}, {bignum::MOD2, bignum::ROOT2}, {bignum::MOD3, bignum::ROOT3}};

// The reference: the cyclic convolution by its definition.
Words cyclicConvolution(const Words& a, const Words& b, std::uint32_t m) {
  const std::size_t n = a.size();
  Words c(n, 0);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) {
      const std::size_t k = (i + j) % n;
      c[k] = static_cast<std::uint32_t>((c[k] + std::uint64_t{a[i]} * b[j]) % m);
    }
  return c;
}

// forward(a), forward(b), product (or the square of b), inverse: the cyclic convolution.
Words throughTransforms(Words a, Words b, const Prime& p, bool square, bignum::Scaling scaling) {
  bignum::setmodulus(p.m);
  const std::size_t n = a.size();
  bignum::forwardTransform(a.data(), p.g, n, scaling);
  bignum::forwardTransform(b.data(), p.g, n, scaling);
  square ? bignum::transformedSquare(b.data(), n) : bignum::transformedProduct(b.data(), a.data(), n);
  bignum::inverseTransform(b.data(), p.g, n, scaling);
  return b;
}

// 1, 3 and every 2^k and 3 * 2^k up to 3 * 2^kMax.
std::vector<std::size_t> lengthsUpTo(unsigned kMax) {
  std::vector<std::size_t> lengths{1, 3};
  for (unsigned k = 1; k <= kMax; ++k) lengths.insert(lengths.end(), {std::size_t{1} << k, std::size_t{3} << k});
  return lengths;
}

// Forward then inverse gives the input back at every length; from 2 to 2048
// words products and squares give the cyclic convolution by its definition,
// with the factor 2^32 and without.
TEST(Transform, RoundTripsAndProductsGiveTheCyclicConvolution) {
  for (const Prime& p : kPrimes) {
    for (std::size_t n : lengthsUpTo(12)) {
      SCOPED_TRACE(testing::Message() << "modulus " << p.m << ", length " << n);
      bignum::setmodulus(p.m);
      const Words a = randomWords(n, static_cast<unsigned>(n), p.m), b = randomWords(n, 2, p.m);
      Words w = a;
      bignum::forwardTransform(w.data(), p.g, n);
      bignum::inverseTransform(w.data(), p.g, n);
      ASSERT_EQ(w, a);
      if (n < 2 || n > 2048) continue;  // below 2 the transforms return at once, unscaled
      for (const auto scaling : {bignum::Scaling::standard, bignum::Scaling::unscaled}) {
        ASSERT_EQ(throughTransforms(a, b, p, false, scaling), cyclicConvolution(a, b, p.m));
        ASSERT_EQ(throughTransforms(b, a, p, true, scaling), cyclicConvolution(a, a, p.m));
      }
    }
  }
  // Past the one-pass lengths the unscaled pair gives what the standard one gives.
  for (const std::size_t n : {std::size_t{32768}, std::size_t{49152}}) {
    const Words a = randomWords(n, 5, kPrimes[0].m), b = randomWords(n, 6, kPrimes[0].m);
    EXPECT_EQ(throughTransforms(a, b, kPrimes[0], false, bignum::Scaling::unscaled),
              throughTransforms(a, b, kPrimes[0], false, bignum::Scaling::standard))
        << n;
  }
  bignum::forwardTransform(nullptr, bignum::ROOT1, 0);  // nothing to do, nothing touched
}

// The vector kernels must give exactly the words of the portable ones, also
// for radix-3 column ranges that do not start or end on a vector.
TEST(Transform, VectorKernelsMatchThePortableOnes) {
  const bignum::Kernels* vector = bignum::vectorKernels();
  if (vector == nullptr) GTEST_SKIP() << "no vector kernels on this processor";
  const bignum::Kernels& portable = bignum::portableKernels();
  for (const Prime& p : kPrimes) {
    const bignum::Montgomery mg = bignum::Montgomery::of(p.m);
    const auto same = [&](const Words& input, auto kernel) {
      Words x = input, y = input;
      kernel(portable, x.data());
      kernel(*vector, y.data());
      EXPECT_EQ(x, y);
    };
    for (std::size_t n : {2u, 8u, 16u, 32u, 512u, 4096u}) {
      SCOPED_TRACE(testing::Message() << "modulus " << p.m << ", length " << n);
      Words table(n);
      bignum::steps::buildTable(table.data(), n, bignum::steps::forwardRoot(mg, p.g, n), mg);
      const Words input = randomWords(n, static_cast<unsigned>(n), p.m), other = randomWords(n, 9, p.m);
      const Words first = randomWords(8, 3, p.m);
      same(input, [&](const auto& k, std::uint32_t* w) { k.scaleRow(w, n - 1, first.data(), 77, mg); });
      same(input, [&](const auto& k, std::uint32_t* w) { k.square(w, n - 1, mg); });
      same(input, [&](const auto& k, std::uint32_t* w) { k.multiply(w, other.data(), n - 1, mg); });
      for (std::size_t width : {8u, 24u, 3u}) {
        if (n * width > 4096 * 8) continue;
        const Words block = randomWords(n * width, static_cast<unsigned>(width), p.m);
        same(block, [&](const auto& k, std::uint32_t* w) { k.forwardColumns(w, n, width, table.data(), mg); });
        same(block, [&](const auto& k, std::uint32_t* w) { k.inverseColumns(w, n, width, table.data(), mg); });
      }
    }
    const Words rows = randomWords(300, 3, p.m);
    const std::uint32_t c1 = mg.to(11), c2 = mg.to(12), power = mg.to(13), ratio = mg.to(14);
    for (const auto& range : {std::pair<std::size_t, std::size_t>{0, 100}, {3, 97}, {13, 20}, {50, 51}}) {
      SCOPED_TRACE(testing::Message() << "columns " << range.first << ".." << range.second);
      same(rows, [&](const auto& k, std::uint32_t* w) {
        k.radix3(w, 100, range.first, range.second, c1, c2, power, ratio, mg);
      });
      same(rows, [&](const auto& k, std::uint32_t* w) {
        k.inverseRadix3(w, 100, range.first, range.second, c1, c2, power, ratio, mg);
      });
    }
  }
}

// --- arithmetic modulo the primes, against 64-bit products and remainders --

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

// Sums, differences, products, powers and inverses on the edges and on random
// residues of each modulus. (The Montgomery form, which the kernels, root
// tables and carries use, is checked by the transforms against their definition.)
TEST(Modint, OperationsAgreeWithThePlainMethod) {
  for (std::uint32_t m : kModuli) {
    bignum::setmodulus(m);
    std::vector<std::uint32_t> values{0, 1, 2, m / 2, m - 2, m - 1};
    std::mt19937 rng(m);
    for (int i = 0; i < 2000; ++i) values.push_back(rng() % m);
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
      const std::uint32_t a = values[i], b = values[i + 1];
      EXPECT_EQ((bignum::modint(a) + bignum::modint(b)).value(), (std::uint64_t{a} + b) % m);
      EXPECT_EQ((bignum::modint(a) - bignum::modint(b)).value(), (std::uint64_t{a} + m - b) % m);
      EXPECT_EQ((bignum::modint(a) * bignum::modint(b)).value(), plainProduct(a, b, m));
    }
    for (std::uint32_t a : {2u, 3u, m - 1, 123456789u % m}) {
      EXPECT_EQ(bignum::pow(bignum::modint(a), 1000003).value(), plainPower(a, 1000003, m));
      EXPECT_EQ((bignum::inverse(bignum::modint(a)) * bignum::modint(a)).value(), 1u);
    }
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

// --- NPROCESSORS=4 ---------------------------------------------------------

TEST(TransformThreads, RowSetsAreSplitFromTheThresholdOn) {
  ASSERT_EQ(bignum::limits().NProcessors, 4u);
  const Prime& p = kPrimes[1];
  bignum::setmodulus(p.m);
  // Up to 16384 words: one thread; 32768: four slices. 49152 = 3 * 16384: one; 98304 = 3 * 32768: four.
  for (const auto& [n, threads] : {std::pair<std::size_t, unsigned>{16384, 1}, {32768, 4}, {49152, 1}, {98304, 4}}) {
    const Words a = randomWords(n, 4, p.m);
    Words w = a;
    bignum::forwardTransform(w.data(), p.g, n);
    EXPECT_EQ(bignum::lastRowThreads(), threads) << n;
    bignum::inverseTransform(w.data(), p.g, n);
    EXPECT_EQ(w, a) << n;
  }
}

// --- a small workspace: disk transforms ------------------------------------

TEST(TransformDisk, DiskAndMemoryTransformsGiveTheSameWords) {
  const std::size_t workspace = bignum::limits().Maxblocksize;
  ASSERT_LE(workspace, 8192u);
  for (const Prime& p : kPrimes) {
    bignum::setmodulus(p.m);
    std::vector<std::size_t> lengths = lengthsUpTo(12);
    lengths.insert(lengths.end(), {2 * workspace, 3 * workspace, 8 * workspace});
    for (std::size_t n : lengths) {
      SCOPED_TRACE(testing::Message() << "modulus " << p.m << ", length " << n);
      Words inMemory = randomWords(n, static_cast<unsigned>(n), p.m);
      const Words original = inMemory;
      auto onDisk = storageOf(original, bignum::DISK);
      bignum::forwardTransform(inMemory.data(), p.g, n);
      bignum::forwardTransform(*onDisk, p.g, n);
      EXPECT_EQ(wordsOf(*onDisk), inMemory);
      bignum::inverseTransform(*onDisk, p.g, n);
      EXPECT_EQ(wordsOf(*onDisk), original);
    }
  }
}

}  // namespace
