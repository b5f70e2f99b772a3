// Long products. The suite runs with the default settings, with two threads
// and with a small workspace and threshold, so that the working vectors live
// on disk (see CMakeLists.txt).
#include "bignum/convolution.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
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
  Words w = allNines ? Words(n, 999999999u) : randomWords(n, seed);
  if (!w.empty() && w[0] == 0) w[0] = 1;
  return w;
}

// The transform length for n words: the least 2^k or 3 * 2^k not below n.
TEST(Convolution, TransformLengthsAreTheLeastThatFit) {
  std::set<std::size_t> fitting;
  for (unsigned k = 0; k <= 25; ++k) fitting.insert({std::size_t{1} << k, std::size_t{3} << k});
  EXPECT_EQ(bignum::rnd23up(0), 0u);
  std::vector<std::size_t> lengths{33554431, 33554432, 33554433, 50331647, 50331648};
  for (std::size_t n = 1; n <= 5000; ++n) lengths.push_back(n);
  for (std::size_t n : lengths) ASSERT_EQ(bignum::rnd23up(n), *fitting.lower_bound(n)) << n;
}

// Products of random words or of all nines (where every carry travels; 60 x 60
// words of them carry into a new leading word), whole or kept to S = keep + 2
// positions, and squares, against the schoolbook product.
TEST(Products, EqualTheSchoolbookProductKeptToSWords) {
  static const struct {
    std::size_t la, lb;
    std::size_t keep;  // 0 for the whole product
    bool allNines;
  } cases[] = {{51, 51, 0, true},         {60, 60, 0, true},      {200, 200, 100, false}, {1, 1, 0, false},
               {3, 700, 0, false},        {700, 3, 0, false},     {513, 257, 0, false},   {1000, 999, 0, true},
               {2000, 3000, 2500, false}, {4096, 4096, 0, false}, {5000, 3000, 0, true},  {5000, 5000, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.la << " x " << c.lb << ", keep " << c.keep);
    const Words a = randomMantissa(c.la, static_cast<unsigned>(c.la), c.allNines);
    const Words b = randomMantissa(c.lb, static_cast<unsigned>(c.lb + 1), c.allNines);
    const std::size_t N = bignum::rnd23up(c.la + c.lb);
    const std::size_t S = std::min(N, (c.keep == 0 ? c.la + c.lb : c.keep) + 2);
    auto da = storageOf(a), db = storageOf(b);
    const unsigned long filesBefore = nextFileNumber();
    auto result = bignum::convolution(*da, *db, S, c.la, c.lb, N);
    const bool onDisk = nextFileNumber() != filesBefore + 1;
    EXPECT_EQ(onDisk, N > bignum::limits().Memorythreshold || N > bignum::limits().Maxblocksize)
        << "working vectors longer than the threshold are kept on disk between the steps";
    EXPECT_EQ(std::pair(wordsOf(*result.words), result.carry), schoolbook(a, b, S));
    EXPECT_EQ(wordsOf(*da), a) << "the factors are left alone";
    if (c.la != c.lb) continue;
    auto square = bignum::selfConvolution(*da, S, c.la, N);
    EXPECT_EQ(std::pair(wordsOf(*square.words), square.carry), schoolbook(a, a, S));
  }
}

TEST(ConvolutionDeathTest, TooLongTransformsAreRefused) {
  EXPECT_DEATH(
      {
        auto a = storageOf(Words{1, 2, 3});
        bignum::convolution(*a, *a, 2, 3, 3, 3 * (std::size_t{1} << 25));
      },
      "pn <= MAXTRANSFORMLENGTH \\(source convolution\\)");
}

}  // namespace
