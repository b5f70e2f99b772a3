// Number-theoretic transforms. Transform.* runs with the default settings (and
// with the portable kernels), TransformThreads.* and the round trips with
// NPROCESSORS=4, and TransformDisk.* with a small workspace, each in processes
// of their own (see CMakeLists.txt).
#include "bignum/transform.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "bignum/init.h"
#include "bignum/kernels.h"
#include "bignum/modint.h"
#include "bignum/storage.h"
#include "bignum/transform_steps.h"

namespace {

using Words = std::vector<std::uint32_t>;

struct Prime {
  std::uint32_t m, g;
};
constexpr Prime kPrimes[] = {
    {bignum::MOD1, bignum::ROOT1}, {bignum::MOD2, bignum::ROOT2}, {bignum::MOD3, bignum::ROOT3}};

Words randomResidues(std::size_t n, std::uint32_t m, unsigned seed) {
  std::mt19937 rng(seed);
  Words w(n);
  for (auto& x : w) x = rng() % m;
  return w;
}

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

// forward(a), forward(b), product, inverse: the cyclic convolution.
Words throughTransforms(Words a, Words b, const Prime& p) {
  bignum::setmodulus(p.m);
  const std::size_t n = a.size();
  bignum::forwardTransform(a.data(), p.g, n);
  if (&a != &b) bignum::forwardTransform(b.data(), p.g, n);
  bignum::transformedProduct(b.data(), a.data(), n);
  bignum::inverseTransform(b.data(), p.g, n);
  return b;
}

std::vector<std::size_t> lengthsUpTo(unsigned kMax) {
  std::vector<std::size_t> lengths;
  for (unsigned k = 1; k <= kMax; ++k) {
    lengths.push_back(std::size_t{1} << k);
    lengths.push_back(std::size_t{3} << k);
  }
  lengths.push_back(3);
  return lengths;
}

TEST(Transform, ForwardThenInverseGivesTheInputBack) {
  for (const Prime& p : kPrimes) {
    bignum::setmodulus(p.m);
    for (std::size_t n : lengthsUpTo(12)) {
      const Words original = randomResidues(n, p.m, static_cast<unsigned>(n));
      Words w = original;
      bignum::forwardTransform(w.data(), p.g, n);
      bignum::inverseTransform(w.data(), p.g, n);
      ASSERT_EQ(w, original) << "modulus " << p.m << ", length " << n;
    }
  }
}

TEST(Transform, LengthsBelowTwoReturnAtOnce) {
  bignum::setmodulus(bignum::MOD1);
  Words one{12345};
  bignum::forwardTransform(one.data(), bignum::ROOT1, 1);
  EXPECT_EQ(one[0], 12345u);
  bignum::inverseTransform(one.data(), bignum::ROOT1, 1);
  EXPECT_EQ(one[0], 12345u);
  bignum::forwardTransform(nullptr, bignum::ROOT1, 0);
}

TEST(Transform, ProductsGiveTheCyclicConvolution) {
  for (const Prime& p : kPrimes) {
    for (std::size_t n : {2u, 3u, 4u, 6u, 8u, 16u, 24u, 48u, 64u, 96u, 256u, 384u, 768u, 1024u}) {
      const Words a = randomResidues(n, p.m, 1), b = randomResidues(n, p.m, 2);
      ASSERT_EQ(throughTransforms(a, b, p), cyclicConvolution(a, b, p.m)) << p.m << " " << n;
      Words sq = a;
      bignum::forwardTransform(sq.data(), p.g, n);
      bignum::transformedSquare(sq.data(), n);
      bignum::inverseTransform(sq.data(), p.g, n);
      ASSERT_EQ(sq, cyclicConvolution(a, a, p.m)) << p.m << " " << n;
    }
  }
}

// The vector kernels must give exactly the words of the portable ones.
TEST(Transform, VectorKernelsMatchThePortableOnes) {
  const bignum::Kernels* vector = bignum::vectorKernels();
  if (vector == nullptr) GTEST_SKIP() << "no vector kernels on this processor";
  const bignum::Kernels& portable = bignum::portableKernels();
  for (const Prime& p : kPrimes) {
    const bignum::Montgomery mg = bignum::Montgomery::of(p.m);
    for (std::size_t n : {2u, 8u, 16u, 32u, 512u, 4096u}) {
      Words table(n);
      bignum::steps::buildTable(table.data(), n, bignum::steps::forwardRoot(mg, p.g, n), mg);
      const Words input = randomResidues(n, p.m, static_cast<unsigned>(n));
      auto same = [&](auto run) {
        Words x = input, y = input;
        run(portable, x);
        run(*vector, y);
        return x == y;
      };
      EXPECT_TRUE(same([&](const bignum::Kernels& k, Words& w) { k.forwardRow(w.data(), n, table.data(), mg); }));
      EXPECT_TRUE(same([&](const bignum::Kernels& k, Words& w) { k.inverseRow(w.data(), n, table.data(), mg); }));
      const Words first = randomResidues(8, p.m, 3);
      EXPECT_TRUE(same([&](const bignum::Kernels& k, Words& w) { k.scaleRow(w.data(), n - 1, first.data(), 77, mg); }));
      EXPECT_TRUE(same([&](const bignum::Kernels& k, Words& w) { k.square(w.data(), n - 1, mg); }));
      EXPECT_TRUE(same([&](const bignum::Kernels& k, Words& w) {
        const Words other = randomResidues(n, p.m, 9);
        k.multiply(w.data(), other.data(), n - 1, mg);
      }));
      for (std::size_t width : {8u, 24u, 3u}) {
        if (n * width > 4096 * 8) continue;
        const Words block = randomResidues(n * width, p.m, static_cast<unsigned>(width));
        Words x = block, y = block;
        portable.forwardColumns(x.data(), n, width, table.data(), mg);
        vector->forwardColumns(y.data(), n, width, table.data(), mg);
        EXPECT_EQ(x, y);
        portable.inverseColumns(x.data(), n, width, table.data(), mg);
        vector->inverseColumns(y.data(), n, width, table.data(), mg);
        EXPECT_EQ(x, y);
      }
    }
    // The radix-3 step over column ranges that do not start or end on a vector.
    const std::size_t third = 100;
    const Words input = randomResidues(3 * third, p.m, 3);
    for (auto [begin, end] : {std::pair<std::size_t, std::size_t>{0, 100}, {3, 97}, {13, 20}, {50, 51}}) {
      Words x = input, y = input;
      portable.radix3(x.data(), third, begin, end, mg.to(11), mg.to(12), mg.to(13), mg.to(14), mg);
      vector->radix3(y.data(), third, begin, end, mg.to(11), mg.to(12), mg.to(13), mg.to(14), mg);
      EXPECT_EQ(x, y) << begin << ".." << end;
      portable.inverseRadix3(x.data(), third, begin, end, mg.to(11), mg.to(12), mg.to(13), mg.to(14), mg);
      vector->inverseRadix3(y.data(), third, begin, end, mg.to(11), mg.to(12), mg.to(13), mg.to(14), mg);
      EXPECT_EQ(x, y) << begin << ".." << end;
    }
  }
}

// --- NPROCESSORS=4 ---------------------------------------------------------

TEST(TransformThreads, RowSetsAreSplitFromTheThresholdOn) {
  ASSERT_EQ(bignum::limits().NProcessors, 4u);
  const Prime& p = kPrimes[1];
  struct Case {
    std::size_t n;
    unsigned threads;
  };
  // 1024 words: one thread. 2048: four slices. 1536 = 3 * 512: one thread; 6144 = 3 * 2048: four.
  for (const Case c : {Case{1024, 1}, Case{2048, 4}, Case{1536, 1}, Case{6144, 4}, Case{4096, 4}, Case{24576, 4}}) {
    const Words a = randomResidues(c.n, p.m, 4), b = randomResidues(c.n, p.m, 5);
    Words w = a;
    bignum::setmodulus(p.m);
    bignum::forwardTransform(w.data(), p.g, c.n);
    EXPECT_EQ(bignum::lastRowThreads(), c.threads) << c.n;
    bignum::inverseTransform(w.data(), p.g, c.n);
    EXPECT_EQ(w, a) << c.n;
    if (c.n <= 2048) {
      EXPECT_EQ(throughTransforms(a, b, p), cyclicConvolution(a, b, p.m)) << c.n;
    }
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
      const Words original = randomResidues(n, p.m, static_cast<unsigned>(n));
      bignum::datastruct onDisk(n, nullptr, bignum::DISK);
      const int fd = onDisk.openstream();
      bignum::streamWrite(fd, 0, n, original.data());
      onDisk.closestream();

      Words inMemory = original;
      bignum::forwardTransform(inMemory.data(), p.g, n);
      bignum::forwardTransform(onDisk, p.g, n);
      Words read(n);
      bignum::streamRead(onDisk.openstream(), 0, n, read.data());
      onDisk.closestream();
      EXPECT_EQ(read, inMemory) << p.m << " " << n;

      bignum::inverseTransform(onDisk, p.g, n);
      bignum::streamRead(onDisk.openstream(), 0, n, read.data());
      onDisk.closestream();
      EXPECT_EQ(read, original) << p.m << " " << n;
    }
  }
}

}  // namespace
