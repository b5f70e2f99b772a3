#include "bignum/karatsuba.h"

#include <algorithm>
#include <cstring>

#include "bignum/init.h"
#include "bignum/kernels.h"
#include "bignum/wordmath.h"

namespace bignum {

// row[j] += x[0] padded[j + 3] + x[1] padded[j + 2] + x[2] padded[j + 1] +
// x[3] padded[j] for j < count, on vectors (karatsuba_avx2.cpp).
void addFourRowsAvx2(std::uint64_t* row, const std::uint32_t* padded, std::size_t count, const std::uint64_t* x);

namespace {

using u32 = std::uint32_t;
using u64 = std::uint64_t;

// Products of words are below 10^18; the schoolbook reduces its sums below
// 1.27 10^18 every 16 rows, so they stay below 1.73 10^19 < 2^64.
constexpr std::size_t kRows = 16;
constexpr std::size_t kLongestRow = 192;
static_assert(kKaratsubaBasecase <= kLongestRow);

// r[0, n) = the words of the number the sums t[0, n) stand for (below
// 10^(9 n); t[n] is room for a carry of zero): two spreads leave each sum
// below 2 10^9 + 22, and a chain of carries of at most two, without
// divisions, finishes.
inline void carryOut(u32* r, u64* t, std::size_t n) {
  words::spreadSums(t, 0, n);
  words::spreadSums(t, 0, n);
  u64 carry = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const u64 v = t[k] + carry;
    carry = u64{v >= Base} + u64{v >= 2 * u64{Base}};
    r[k] = static_cast<u32>(v - carry * Base);
  }
}

// r[0, na + nb) = a * b row by row (1 <= na, nb <= kLongestRow): four rows
// at a time add a[i..i+3] times b, shifted, to 64-bit sums, on vectors where
// the transforms use them.
void basecase(u32* r, const u32* a, std::size_t na, const u32* b, std::size_t nb) {
  // (memset rather than a fill loop: the compiler turns a short fill of
  // variable length into a string instruction that costs more than the row.)
  u64 t[2 * kLongestRow + 4];
  std::memset(t, 0, (na + nb + 4) * sizeof(u64));
  // b with three zeros on either side, so that the shifted rows need no bounds.
  u32 padded[kLongestRow + 6];
  std::memset(padded, 0, 3 * sizeof(u32));
  std::memcpy(padded + 3, b, nb * sizeof(u32));
  std::memset(padded + 3 + nb, 0, 3 * sizeof(u32));
  std::size_t i = 0;
  for (; i + 4 <= na; i += 4) {
    const u64 x[4] = {a[i], a[i + 1], a[i + 2], a[i + 3]};
    u64* row = t + i;
#if defined(__x86_64__) || defined(__i386__)
    if (vectorKernelsInUse()) {
      addFourRowsAvx2(row, padded, nb + 3, x);
    } else
#endif
    {
      for (std::size_t j = 0; j < nb + 3; ++j)
        row[j] += x[0] * padded[j + 3] + x[1] * padded[j + 2] + x[2] * padded[j + 1] + x[3] * padded[j];
    }
    if ((i + 4) % kRows == 0) words::reduceSums(t, i + 4 - kRows, i + nb + 3);
  }
  // At most 12 rows since the last spread, and 3 more here.
  for (; i < na; ++i) {
    const u64 x = a[i];
    u64* row = t + i;
    for (std::size_t j = 0; j < nb; ++j) row[j] += x * b[j];
  }
  carryOut(r, t, na + nb);
}

// r[0, 2n) = a^2 (1 <= n <= kLongestRow): each product of two different words
// once, the sums doubled and the squares of the words added.
void basecaseSquare(u32* r, const u32* a, std::size_t n) {
  // On vectors the product of all pairs is faster than half of them one by one.
  if (vectorKernelsInUse()) return basecase(r, a, n, a, n);
  u64 t[2 * kLongestRow + 1];
  std::memset(t, 0, (2 * n + 1) * sizeof(u64));
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const u64 x = a[i];
    u64* row = t + i;
    for (std::size_t j = i + 1; j < n; ++j) row[j] += x * a[j];
    if (i % kRows == kRows - 1 || i + 2 == n) words::spreadSums(t, 2 * (i + 1 - std::min(i + 1, kRows)), i + n);
  }
  for (std::size_t k = 0; k < 2 * n; ++k) t[k] = 2 * t[k] + (k % 2 == 0 ? u64{a[k / 2]} * a[k / 2] : 0);
  carryOut(r, t, 2 * n);
}

// r[0, n) = x + y + carry; returns the carry out. r may be x or y.
u32 add(u32* r, const u32* x, const u32* y, std::size_t n, u32 carry) {
  for (std::size_t i = 0; i < n; ++i) {
    const u32 s = x[i] + y[i] + carry;
    carry = s >= Base;
    r[i] = carry ? s - Base : s;
  }
  return carry;
}

// r[0, n) = x - y - borrow; returns the borrow out. r may be x or y.
u32 subtract(u32* r, const u32* x, const u32* y, std::size_t n, u32 borrow) {
  for (std::size_t i = 0; i < n; ++i) {
    const u32 t = y[i] + borrow;
    borrow = x[i] < t;
    r[i] = borrow ? x[i] + (Base - t) : x[i] - t;
  }
  return borrow;
}

// Adds a carry of 0 or 1 into r[0, n); returns what is carried beyond.
u32 carryInto(u32* r, std::size_t n, u32 carry) {
  for (std::size_t i = 0; carry != 0 && i < n; ++i) {
    carry = r[i] == Base - 1;
    r[i] = carry ? 0 : r[i] + 1;
  }
  return carry;
}

// Takes a borrow of 0 or 1 from r[0, n); returns what is borrowed beyond.
u32 borrowFrom(u32* r, std::size_t n, u32 borrow) {
  for (std::size_t i = 0; borrow != 0 && i < n; ++i) {
    borrow = r[i] == 0;
    r[i] = borrow ? Base - 1 : r[i] - 1;
  }
  return borrow;
}

// d[0, m) = |high - low| for high of m words and low of h words (h <= m <= h + 1);
// returns whether high < low.
bool difference(u32* d, const u32* high, std::size_t m, const u32* low, std::size_t h) {
  bool below = m == h || high[h] == 0;
  if (below) {
    std::size_t i = h;
    while (i > 0 && high[i - 1] == low[i - 1]) --i;
    below = i > 0 && high[i - 1] < low[i - 1];
  }
  if (below) {
    subtract(d, low, high, h, 0);
    std::fill(d + h, d + m, 0u);
  } else {
    std::copy(high + h, high + m, d + h);
    borrowFrom(d + h, m - h, subtract(d, high, low, h, 0));
  }
  return below;
}

// Adds the middle term z0 + z2 -+ t (z0 = r[0, 2h), z2 = r[2h, 2n), t of 2m
// words, subtracted unless `plus`) into r from word h on, with mid (2m + 1
// words) as room for it.
void addMiddle(u32* r, std::size_t n, std::size_t h, const u32* t, bool plus, u32* mid) {
  const std::size_t m = n - h;
  u32 carry = add(mid, r + 2 * h, r, 2 * h, 0);
  std::copy(r + 4 * h, r + 2 * n, mid + 2 * h);
  mid[2 * m] = carryInto(mid + 2 * h, 2 * (m - h), carry);
  if (plus)
    mid[2 * m] += add(mid, mid, t, 2 * m, 0);
  else
    mid[2 * m] -= subtract(mid, mid, t, 2 * m, 0);
  carryInto(r + h + 2 * m + 1, 2 * n - h - 2 * m - 1, add(r + h, r + h, mid, 2 * m + 1, 0));
}

// The balanced product: r[0, 2n) = a[0, n) * b[0, n), with a = a0 + a1 B^h,
// b = b0 + b1 B^h and a0 b1 + a1 b0 = a0 b0 + a1 b1 - (a1 - a0)(b1 - b0).
void multiply(u32* r, const u32* a, const u32* b, std::size_t n, u32* scratch) {
  if (n <= kKaratsubaBasecase) {
    basecase(r, a, n, b, n);
    return;
  }
  const std::size_t h = n / 2, m = n - h;
  u32* da = scratch;
  u32* db = scratch + m;
  u32* t = scratch + 2 * m + 1;
  u32* next = t + 2 * m;
  const bool plus = difference(da, a + h, m, a, h) != difference(db, b + h, m, b, h);
  multiply(t, da, db, m, next);
  multiply(r, a, b, h, next);
  multiply(r + 2 * h, a + h, b + h, m, next);
  addMiddle(r, n, h, t, plus, scratch);
}

void square(u32* r, const u32* a, std::size_t n, u32* scratch) {
  if (n <= kKaratsubaBasecase) {
    basecaseSquare(r, a, n);
    return;
  }
  const std::size_t h = n / 2, m = n - h;
  u32* t = scratch + 2 * m + 1;
  u32* next = t + 2 * m;
  difference(scratch, a + h, m, a, h);
  square(t, scratch, m, next);
  square(r, a, h, next);
  square(r + 2 * h, a + h, m, next);
  addMiddle(r, n, h, t, false, scratch);
}

// The scratch of multiply() and square() for n words.
std::size_t recursionScratch(std::size_t n) {
  std::size_t words = 0;
  for (; n > kKaratsubaBasecase; n -= n / 2) words += 4 * (n - n / 2) + 1;
  return words;
}

}  // namespace

// A short last piece is itself taken in pieces, and so on: the piece buffers
// of the nested calls add up to less than 8n words.
std::size_t karatsubaScratch(std::size_t n) { return 8 * n + recursionScratch(n); }

void karatsubaMultiply(u32* r, const u32* a, std::size_t na, const u32* b, std::size_t nb, u32* scratch) {
  if (na == nb) return multiply(r, a, b, nb, scratch);
  // Pieces of nb words of a, from the least significant end; the last may be shorter.
  u32* piece = scratch;
  for (std::size_t start = 0; start < na; start += nb) {
    const std::size_t length = std::min(nb, na - start);
    u32* into = start == 0 ? r : piece;
    if (length == nb)
      multiply(into, a + start, b, nb, scratch + 2 * nb);
    else
      karatsubaMultiply(into, b, nb, a + start, length, scratch + 2 * nb);
    if (start == 0) continue;
    // r[start, start + nb) holds the upper words of the pieces before.
    const u32 carry = add(r + start, r + start, piece, nb, 0);
    std::copy(piece + nb, piece + nb + length, r + start + nb);
    carryInto(r + start + nb, length, carry);
  }
}

void karatsubaSquare(u32* r, const u32* a, std::size_t n, u32* scratch) { square(r, a, n, scratch); }

}  // namespace bignum
