// Long products. The suite runs with the default settings, with two threads
// and with a small workspace and threshold, so that the working vectors live
// on disk (see CMakeLists.txt).
#include "bignum/convolution.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

#include "StorageWords.h"
#include "bignum/init.h"
#include "bignum/modint.h"
#include "bignum/storage.h"

namespace {

__extension__ typedef unsigned __int128 u128;

// The reference: schoolbook sums of the first S positions, carried in base 10^9
// with 128-bit arithmetic; a final carry becomes the leading word.
std::pair<Words, int> schoolbook(const Words& a, const Words& b, std::size_t S) {
  std::vector<u128> sums(S, 0);
  for (std::size_t i = 0; i < a.size() && i < S; ++i)
    for (std::size_t j = 0; j < b.size() && i + j < S; ++j) sums[i + j] += static_cast<u128>(a[i]) * b[j];
  Words out(S);
  u128 carry = 0;
  for (std::size_t i = S; i-- > 0;) {
    carry += sums[i];
    out[i] = static_cast<std::uint32_t>(carry % 1000000000u);
    carry /= 1000000000u;
  }
  if (carry == 0) return {out, 0};
  out.insert(out.begin(), static_cast<std::uint32_t>(carry));
  out.pop_back();
  return {out, 1};
}

// The number the next disk-resident storage would get.
unsigned long nextFileNumber() {
  bignum::datastruct probe(1, nullptr, bignum::DISK);
  return std::stoul(std::filesystem::path(probe.fileName()).filename()) + 1;
}

Words randomMantissa(std::size_t n, unsigned seed, bool allNines = false) {
  std::mt19937 rng(seed);
  Words w(n);
  for (auto& x : w) x = allNines ? 999999999u : rng() % 1000000000u;
  if (!w.empty() && w[0] == 0) w[0] = 1;
  return w;
}

TEST(Convolution, TransformLengths) {
  const std::pair<std::size_t, std::size_t> cases[] = {{0, 0},
                                                       {1, 1},
                                                       {2, 2},
                                                       {3, 3},
                                                       {4, 4},
                                                       {5, 6},
                                                       {7, 8},
                                                       {9, 12},
                                                       {13, 16},
                                                       {17, 24},
                                                       {25, 32},
                                                       {100, 128},
                                                       {102, 128},
                                                       {200, 256},
                                                       {385, 512},
                                                       {50331647, 50331648},
                                                       {50331648, 50331648},
                                                       {33554433, 50331648}};
  for (auto [n, expected] : cases) EXPECT_EQ(bignum::rnd23up(n), expected) << n;
}

struct ProductCase {
  std::size_t la, lb;
  std::size_t keep;  // S = min(N, keep + 2), 0 for the whole product
  bool allNines;
};

class Products : public ::testing::TestWithParam<ProductCase> {};

TEST_P(Products, EqualTheSchoolbookProductKeptToSWords) {
  const ProductCase c = GetParam();
  const Words a = randomMantissa(c.la, static_cast<unsigned>(c.la), c.allNines);
  const Words b = randomMantissa(c.lb, static_cast<unsigned>(c.lb + 1), c.allNines);
  const std::size_t N = bignum::rnd23up(c.la + c.lb);
  const std::size_t S = std::min(N, (c.keep == 0 ? c.la + c.lb : c.keep) + 2);
  auto da = storageOf(a);
  auto db = storageOf(b);
  const auto [expected, flag] = schoolbook(a, b, S);
  const unsigned long filesBefore = nextFileNumber();
  auto result = bignum::convolution(*da, *db, S, c.la, c.lb, N);
  const bool onDisk = nextFileNumber() != filesBefore + 1;
  EXPECT_EQ(onDisk, N > bignum::limits().Memorythreshold || N > bignum::limits().Maxblocksize)
      << "working vectors longer than the threshold are kept on disk between the steps";
  EXPECT_EQ(result.carry, flag);
  EXPECT_EQ(wordsOf(*result.words), expected);
  EXPECT_EQ(wordsOf(*da), a) << "the factors are left alone";

  if (c.la == c.lb) {
    // Squaring through the same record equals the product with an equal copy.
    auto copy = storageOf(a);
    auto square = bignum::selfConvolution(*da, S, c.la, N);
    auto product = bignum::convolution(*da, *copy, S, c.la, c.la, N);
    const auto [expectedSquare, squareFlag] = schoolbook(a, a, S);
    EXPECT_EQ(square.carry, squareFlag);
    EXPECT_EQ(wordsOf(*square.words), expectedSquare);
    EXPECT_EQ(wordsOf(*product.words), expectedSquare);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, Products,
                         ::testing::Values(ProductCase{51, 51, 0, true},       // the exact square of 51 words of nines
                                           ProductCase{60, 60, 0, true},       // a leading carry: the flag is set
                                           ProductCase{200, 200, 100, false},  // kept to 100 words: 102 positions
                                           ProductCase{1, 1, 0, false}, ProductCase{3, 700, 0, false},
                                           ProductCase{700, 3, 0, false}, ProductCase{513, 257, 0, false},
                                           ProductCase{1000, 999, 0, true}, ProductCase{2000, 3000, 2500, false},
                                           ProductCase{4096, 4096, 0, false}, ProductCase{5000, 3000, 0, true},
                                           ProductCase{5000, 5000, 0, false}),
                         [](const ::testing::TestParamInfo<ProductCase>& info) {
                           const ProductCase& c = info.param;
                           return std::to_string(c.la) + "x" + std::to_string(c.lb) + "_keep" + std::to_string(c.keep) +
                                  (c.allNines ? "_nines" : "");
                         });

TEST(ConvolutionDeathTest, TooLongTransformsAreRefused) {
  EXPECT_DEATH(
      {
        auto a = storageOf(Words{1, 2, 3});
        bignum::convolution(*a, *a, 2, 3, 3, 3 * (std::size_t{1} << 25));
      },
      "pn <= MAXTRANSFORMLENGTH \\(source convolution\\)");
}

}  // namespace
