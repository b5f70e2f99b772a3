// Mid-length products (Karatsuba's method, in pieces for unbalanced factors)
// word for word against the schoolbook and the transform, around the
// crossovers, with random words and with all nines, where every carry travels.
// Runs with the default settings and with small windows and threshold, where
// the factors and products live on disk (see CMakeLists.txt).
#include <gtest/gtest.h>

#include "StorageWords.h"
#include "bignum/bigfloat.h"
#include "bignum/convolution.h"

namespace {

__extension__ typedef unsigned __int128 u128;
using bignum::bigfloat;
using bignum::INFINITE;

// The la + lb words of a * b (most significant first), column by column.
Words schoolbook(const Words& a, const Words& b) {
  std::vector<u128> sums(a.size() + b.size(), 0);
  for (std::size_t i = 0; i < a.size(); ++i)
    for (std::size_t j = 0; j < b.size(); ++j) sums[i + j + 1] += static_cast<u128>(a[i]) * b[j];
  Words out(sums.size());
  u128 carry = 0;
  for (std::size_t k = sums.size(); k-- > 0;) {
    carry += sums[k];
    out[k] = static_cast<std::uint32_t>(carry % 1000000000u);
    carry /= 1000000000u;
  }
  return out;
}

Words mantissa(const bigfloat& x) {
  Words w(x.size());
  x.words(0, w.size(), w.data());
  return w;
}

bigfloat number(std::size_t n, unsigned seed, bool nines, long prec) {
  Words w = nines ? Words(n, 999999999u) : randomWords(n, seed);
  // A leading word of one digit for some: the product's leading word is then zero.
  w.front() = seed % 2 ? 1 + seed % 9 : std::max(w.front(), 1u);
  w.back() = std::max(w.back(), 1u);
  return bigfloat::fromWords(seed % 2 ? -1 : 1, static_cast<std::int64_t>(seed % 5), prec, w.data(), n);
}

TEST(Karatsuba, ProductsEqualTheSchoolbookAndTheTransformWordForWord) {
  static const struct {
    std::size_t la, lb;  // lb = 0: a square, one handle on both sides
    long prec;           // in words
    bool transform;      // beyond the mid-length products
  } cases[] = {
      {18, 18, INFINITE, false},   {193, 192, INFINITE, false},  {129, 130, INFINITE, false},
      {380, 380, INFINITE, false}, {381, 381, INFINITE, true},   {5000, 380, INFINITE, false},
      {381, 5000, INFINITE, true}, {1000, 130, INFINITE, false}, {777, 65, INFINITE, false},
      {65, 0, INFINITE, false},    {380, 0, INFINITE, false},    {381, 0, INFINITE, true},
      {200, 200, 150, false},      {300, 100, 120, false},       {1000, 60, 500, false},
      {301, 0, 299, false},
  };
  for (bool nines : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << c.la << " x " << c.lb << ", precision " << c.prec << ", nines " << nines);
      const bigfloat x = number(c.la, static_cast<unsigned>(c.la), nines, c.prec);
      const bigfloat y = c.lb == 0 ? x : number(c.lb, static_cast<unsigned>(c.lb + 1), nines, c.prec);
      const Words a = mantissa(x), b = mantissa(y);
      const std::size_t before = bignum::convolutionCount();
      const bigfloat product = x * y;
      EXPECT_EQ(bignum::convolutionCount() > before, c.transform);
      // The exact product without its zero leading word, cut to the precision, without trailing zeros.
      Words full = schoolbook(a, b);
      const bool lead = full.front() != 0;
      Words expected(full.begin() + (lead ? 0 : 1), full.end());
      if (c.prec != INFINITE) expected.resize(std::min(expected.size(), static_cast<std::size_t>(c.prec)));
      while (expected.back() == 0) expected.pop_back();
      EXPECT_EQ(mantissa(product), expected);
      EXPECT_EQ(std::tuple(product.wordExponent(), product.wordPrecision(), product.sign()),
                std::tuple(x.wordExponent() + y.wordExponent() - (lead ? 0 : 1), c.prec, x.sign() * y.sign()));
      // The transform's product of the same words; at a finite precision it forms
      // only the leading words, and its last may then lack a carry.
      if (c.prec != INFINITE) continue;
      const std::size_t N = bignum::rnd23up(a.size() + b.size());
      auto da = storageOf(a), db = storageOf(b);
      const auto t = bignum::convolution(*da, *db, N, a.size(), b.size(), N);
      const Words words = wordsOf(*t.words);
      EXPECT_EQ(std::pair(Words(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(expected.size())), t.carry),
                std::pair(expected, lead ? 1 : 0));
    }
  }
}

}  // namespace
