// Fixed-point arithmetic on base-10^9 words, least significant first. The
// products are cut: only the columns from the last word kept (and one below
// it for the carry) are summed, half of a whole product, which beats
// Karatsuba's whole product at every length the short paths use (measured
// up to 450 words).
#include "bignum/fixed.h"

#include <algorithm>
#include <cmath>

#include "bignum/check.h"
#include "bignum/kernels.h"
#include "bignum/wordmath.h"

namespace bignum::fixed {

// column[k] += factor b[k] for k < count, on vectors (fixed_avx2.cpp).
void addRowAvx2(std::uint64_t* column, const std::uint32_t* b, std::size_t count, std::uint32_t factor);

namespace {

using words::u128;

// |a| compared with |b|: -1, 0 or +1.
int compareMagnitude(const Fixed& a, const Fixed& b) {
  for (std::size_t t = a.w.size(); t-- > 0;)
    if (a.w[t] != b.w[t]) return a.w[t] < b.w[t] ? -1 : 1;
  return 0;
}

// r = |a| + |b|.
void addMagnitudes(std::vector<std::uint32_t>& r, const Fixed& a, const Fixed& b) {
  std::uint32_t carry = 0;
  for (std::size_t t = 0; t < r.size(); ++t) {
    std::uint32_t v = a.w[t] + b.w[t] + carry;
    carry = v >= Base ? 1 : 0;
    r[t] = v - carry * Base;
  }
  BIGNUM_CHECK(carry == 0, "fixed sum in range", "functions");
}

// r = |a| - |b| for |a| >= |b|.
void subtractMagnitudes(std::vector<std::uint32_t>& r, const Fixed& a, const Fixed& b) {
  std::uint32_t borrow = 0;
  for (std::size_t t = 0; t < r.size(); ++t) {
    const std::uint32_t take = b.w[t] + borrow;
    borrow = a.w[t] < take ? 1 : 0;
    r[t] = a.w[t] + borrow * Base - take;
  }
}

// r = a + b, or a - b with `flip`; r may be a or b (each word is read before
// its place is written).
void combineInto(Fixed& r, const Fixed& a, const Fixed& b, bool flip) {
  BIGNUM_CHECK(a.w.size() == b.w.size(), "fixed lengths agree", "functions");
  const bool aNegative = a.negative, bNegative = b.negative != flip;
  r.w.resize(a.w.size());
  if (aNegative == bNegative) {
    addMagnitudes(r.w, a, b);
    r.negative = aNegative;
  } else if (compareMagnitude(a, b) >= 0) {
    subtractMagnitudes(r.w, a, b);
    r.negative = aNegative;
  } else {
    subtractMagnitudes(r.w, b, a);
    r.negative = bNegative;
  }
}

// The product's words from the column sums of a cut product: `columns`
// holds the columns from n - 1 (which only carries) to 2n + 1, each below
// 2^64 - 10^9 (after normalize).
void carryColumns(const std::vector<std::uint64_t>& columns, std::vector<std::uint32_t>& r) {
  std::uint64_t carry = columns[0] / Base;
  for (std::size_t k = 1; k < columns.size(); ++k) {
    const std::uint64_t v = columns[k] + carry;
    carry = v / Base;
    const auto word = static_cast<std::uint32_t>(v % Base);
    if (k - 1 < r.size())
      r[k - 1] = word;
    else
      BIGNUM_CHECK(word == 0, "fixed product in range", "functions");
  }
  BIGNUM_CHECK(carry == 0, "fixed product in range", "functions");
}

// column[k] += factor b[k] for k < count: on vectors where the transforms use them.
void addRow(std::uint64_t* __restrict column, const std::uint32_t* __restrict b, std::size_t count,
            std::uint32_t factor) {
#if defined(__x86_64__) || defined(__i386__)
  if (vectorKernelsInUse() && count >= 8) return addRowAvx2(column, b, count, factor);
#endif
  for (std::size_t k = 0; k < count; ++k) column[k] += std::uint64_t{factor} * b[k];
}

// Keeps every column within 64 bits for 16 more word products (each below
// 10^18): the high 32 bits go into the next column as 4 h 10^9 + 294967296
// h. The last column is kept zero for the carry, which must be none.
void normalize(std::vector<std::uint64_t>& columns) {
  words::reduceSums(columns.data(), 0, columns.size() - 1);
  BIGNUM_CHECK(columns.back() == 0, "fixed product in range", "functions");
}

// The column sums of the cut product a b (a = b for a square), n + 1 words
// each: columns n - 1 .. 2n + 1 and one for the last carry, row by row,
// normalized every 16 rows. A square sums the pairs i < j once, doubles them
// and adds the pairs i = i.
const std::vector<std::uint64_t>& cutColumns(const std::uint32_t* a, const std::uint32_t* b, std::size_t n, bool same) {
  const std::size_t low = n - 1;
  // One buffer for all products of the thread: they are many and short.
  thread_local std::vector<std::uint64_t> columns;
  columns.assign(n + 4, 0);
  int rows = 0;
  for (std::size_t i = 0; i <= n; ++i) {
    if (a[i] == 0) continue;
    const std::size_t j = std::max(i >= low ? 0 : low - i, same ? i + 1 : 0);
    addRow(columns.data() + (i + j - low), b + j, n + 1 - std::min(j, n + 1), a[i]);
    if (++rows == 16) {
      normalize(columns);
      rows = 0;
    }
  }
  if (same) {
    normalize(columns);
    for (std::uint64_t& c : columns) c *= 2;
    for (std::size_t i = low / 2; i <= n; ++i)
      if (2 * i >= low) columns[2 * i - low] += std::uint64_t{a[i]} * a[i];
  }
  return columns;
}

}  // namespace

bool Fixed::isZero() const {
  return std::all_of(w.begin(), w.end(), [](std::uint32_t v) { return v == 0; });
}

Fixed integer(std::uint32_t v, std::size_t n) {
  Fixed r{false, std::vector<std::uint32_t>(n + 1)};
  r.w[n] = v;
  return r;
}

Fixed fromBigfloat(const bigfloat& x, std::size_t n) {
  Fixed r{x.sign() < 0, std::vector<std::uint32_t>(n + 1)};
  if (x.sign() == 0) return r;
  // Mantissa word i weighs 10^(9 (E - 1 - i)), which is word t = n + E - 1 - i here.
  const std::int64_t E = x.wordExponent();
  BIGNUM_CHECK(E <= 1, "fixed argument below 10^9", "functions");
  const auto top = static_cast<std::int64_t>(n) + E - 1;  // the place of mantissa word 0
  if (top < 0) return r;
  const std::size_t count = std::min<std::size_t>(x.size(), static_cast<std::size_t>(top) + 1);
  std::vector<std::uint32_t> words(count);
  x.words(0, count, words.data());
  for (std::size_t i = 0; i < count; ++i) r.w[static_cast<std::size_t>(top) - i] = words[i];
  return r;
}

bigfloat toBigfloat(const Fixed& x, long p) {
  std::vector<std::uint32_t> words(x.w.rbegin(), x.w.rend());
  const long prec = p == INFINITE ? INFINITE : (p + Basedigits - 1) / Basedigits;
  return bigfloat::fromWords(x.negative ? -1 : 1, 1, prec, words.data(), words.size());
}

bigfloat toBigfloatAbsolute(const Fixed& x) {
  std::size_t lead = x.w.size();
  while (lead > 0 && x.w[lead - 1] == 0) --lead;
  return toBigfloat(x, static_cast<long>(std::max<std::size_t>(lead, 1)) * Basedigits);
}

Fixed add(const Fixed& a, const Fixed& b) {
  Fixed r;
  combineInto(r, a, b, false);
  return r;
}

Fixed sub(const Fixed& a, const Fixed& b) {
  Fixed r;
  combineInto(r, a, b, true);
  return r;
}

void addTo(Fixed& g, const Fixed& p, bool subtract) { combineInto(g, p, g, subtract); }

Fixed mul(const Fixed& a, const Fixed& b) {
  BIGNUM_CHECK(a.w.size() == b.w.size() && a.w.size() >= 2, "fixed lengths agree", "functions");
  Fixed r{a.negative != b.negative, std::vector<std::uint32_t>(a.w.size())};
  carryColumns(cutColumns(a.w.data(), b.w.data(), a.frac(), false), r.w);
  return r;
}

Fixed square(const Fixed& a) {
  BIGNUM_CHECK(a.w.size() >= 2, "fixed lengths agree", "functions");
  Fixed r{false, std::vector<std::uint32_t>(a.w.size())};
  carryColumns(cutColumns(a.w.data(), a.w.data(), a.frac(), true), r.w);
  return r;
}

void mulSmall(Fixed& a, std::uint32_t m) {
  // word m + carry stays below 2^64: one division by a constant a word.
  std::uint64_t carry = 0;
  for (std::uint32_t& word : a.w) {
    const std::uint64_t v = word * std::uint64_t{m} + carry;
    carry = v / Base;
    word = static_cast<std::uint32_t>(v - carry * Base);
  }
  BIGNUM_CHECK(carry == 0, "fixed product in range", "functions");
}

namespace {

// One word step of a division by d with `inverse` = floor((2^64 - 1) / d):
// divides v = remainder 10^9 + word < d 10^9 < 2^62, whose quotient from the
// reciprocal is at most two short, which the remainder sets right.
inline std::uint32_t divideStep(std::uint64_t& remainder, std::uint32_t word, std::uint32_t d, std::uint64_t inverse) {
  const std::uint64_t v = remainder * Base + word;
  auto q = static_cast<std::uint64_t>((u128{v} * inverse) >> 64);
  remainder = v - q * d;
  while (remainder >= d) {
    remainder -= d;
    ++q;
  }
  return static_cast<std::uint32_t>(q);
}

}  // namespace

void divSmall(Fixed& a, std::uint32_t d) {
  BIGNUM_CHECK(d != 0, "b->sign", "functions");
  if (d == 1) return;
  const std::uint64_t inverse = ~std::uint64_t{0} / d;
  std::uint64_t remainder = 0;
  for (std::size_t t = a.w.size(); t-- > 0;) a.w[t] = divideStep(remainder, a.w[t], d, inverse);
}

void divSmallPair(Fixed& a, std::uint32_t da, Fixed& b, std::uint32_t db) {
  BIGNUM_CHECK(da != 0 && db != 0 && a.w.size() == b.w.size(), "b->sign", "functions");
  // Two chains of steps that do not wait for each other.
  const std::uint64_t inverseA = ~std::uint64_t{0} / da, inverseB = ~std::uint64_t{0} / db;
  std::uint64_t remainderA = 0, remainderB = 0;
  for (std::size_t t = a.w.size(); t-- > 0;) {
    a.w[t] = divideStep(remainderA, a.w[t], da, inverseA);
    b.w[t] = divideStep(remainderB, b.w[t], db, inverseB);
  }
}

void divPow2(Fixed& a, unsigned k) {
  for (; k > 30; k -= 30) divSmall(a, 1U << 30);
  divSmall(a, 1U << k);
}

double log10Magnitude(const Fixed& a) {
  const std::size_t n = a.frac();
  for (std::size_t t = a.w.size(); t-- > 0;) {
    if (a.w[t] == 0) continue;
    double lead = a.w[t];
    if (t > 0) lead += a.w[t - 1] / 1e9;
    return std::log10(lead) + 9.0 * (static_cast<double>(t) - static_cast<double>(n));
  }
  return -1e300;
}

}  // namespace bignum::fixed
