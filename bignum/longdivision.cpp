// Schoolbook quotient and square root with delayed carries. The remainder is
// kept in signed 64-bit words that a step changes by one product each, with no
// carry between them; a carry pass every few steps keeps them in bounds. Each
// new word is the rounded floating-point quotient of the leading words, so it
// lies within about half a word of zero either way and may be off by one: the
// remainder then stays within half a divisor (and a little) of zero, and the
// next word takes up the difference. The divisor's words are balanced the same
// way (-B/2 .. B/2 after the leading one). At the end the sign of the
// remainder sets the last word right, so the result is exact.
//
// Bounds (B = 10^9): the estimates err by far less than 10^-6, so new words lie
// within 0.500001 B of zero (the quotient's first one within B), and so do the
// divisor's words after the leading one (the root's divisor 2 S is balanced as
// it grows). A step changes a word below the leading one by at most 0.250001
// B^2 (the quotient's first step 0.5 B^2); a carry pass leaves words within 6 B
// of zero. So 14 steps between passes keep them below M = 3.76 10^18. The
// leading word is then at most 0.500001 times the divisor's leading word (below
// 2 B) plus M / B, and folding it into the next (times B) gives at most
// 10^18 + 2 M < 8.6 10^18 < 2^63.
#include "bignum/longdivision.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "bignum/init.h"
#include "bignum/kernels.h"
#include "bignum/progress.h"

namespace bignum {

#if defined(__x86_64__) || defined(__i386__)
// longdivision_avx2.cpp: the loop of subtractMultiple below on vectors.
void subtractMultipleAvx2(std::int64_t* r, const std::int64_t* u, std::size_t n, std::int64_t d);
// spread() below on vectors, each rest up to 10^9 more.
void spreadSignedAvx2(std::int64_t* w, std::size_t first, std::size_t last);
#endif

namespace {

__extension__ typedef unsigned __int128 u128;

constexpr std::int64_t B = Base;
constexpr std::size_t kCarryPeriod = 14;  // steps between carry passes (see the bounds above)

// Zeroed words on the stack when they are few, on the heap otherwise.
template <class T>
class Buffer {
 public:
  explicit Buffer(std::size_t n) : words_(n <= kLocal ? local_ : (heap_.resize(n), heap_.data())) {
    std::fill(words_, words_ + n, T{0});
  }
  T& operator[](std::size_t i) { return words_[i]; }
  T* data() { return words_; }

 private:
  static constexpr std::size_t kLocal = 128;
  T local_[kLocal];
  std::vector<T> heap_;
  T* words_;
};

// r[i] -= d u[i] for i < n, with d and the u[i] within 2^31 of zero; on
// vectors if asked (long rows only: a call costs), which may run up to three
// words past the end, where u must be 0.
inline void subtractMultiple(std::int64_t* r, const std::int64_t* u, std::size_t n, std::int64_t d, bool vectors) {
#if defined(__x86_64__) || defined(__i386__)
  if (vectors && n >= 16) return subtractMultipleAvx2(r, u, n, d);
#endif
  for (std::size_t i = 0; i < n; ++i) r[i] -= d * u[i];
}

// Brings w[k] (within B of zero) to within B / 2, carrying into w[k - 1].
inline void balance(std::int64_t* w, std::size_t k) {
  const std::int64_t up = (w[k] >= B / 2) - (w[k] < -B / 2);
  w[k] -= up * B, w[k - 1] += up;
}

// floor(t / B), leaving t - B floor(t / B) in `rest`; without a branch, by
// an unsigned division of t + 8 10^18 (t is below 2^63 in magnitude).
inline std::int64_t floorDiv(std::int64_t t, std::int64_t& rest) {
  constexpr std::uint64_t kShift = 8000000000;
  const std::uint64_t u = static_cast<std::uint64_t>(t) + kShift * Base;
  const std::uint64_t q = u / Base;
  rest = static_cast<std::int64_t>(u - q * Base);
  return static_cast<std::int64_t>(q) - static_cast<std::int64_t>(kShift);
}

// Brings w[first + 1 .. last] into 0 .. B - 1; the carry goes into w[first].
void carry(std::int64_t* w, std::size_t first, std::size_t last) {
  std::int64_t c = 0;
  for (std::size_t k = last; k > first; --k) c = floorDiv(w[k] + c, w[k]);
  w[first] += c;
}

// Half a carry pass, with no chain from word to word: each of w[first + 1 ..
// last] keeps its rest modulo B (on vectors, up to B more) plus the carry of
// the word below it (so lies within 6 B of zero for the bounds above);
// w[first] takes the last carry.
void spread(std::int64_t* w, std::size_t first, std::size_t last) {
#if defined(__x86_64__) || defined(__i386__)
  if (last >= first + 8 && vectorKernelsInUse()) return spreadSignedAvx2(w, first, last);
#endif
  std::int64_t c = 0;
  for (std::size_t k = last; k > first; --k) {
    std::int64_t rest;
    const std::int64_t high = floorDiv(w[k], rest);
    w[k] = rest + c;
    c = high;
  }
  w[first] += c;
}

// Whether the number of the n words w (any values within the bounds above) is
// below zero: from its leading words when they tell, else from its words carried.
bool isNegative(std::int64_t* w, std::size_t n) {
  const double lead = static_cast<double>(w[0]) + (n > 1 ? static_cast<double>(w[1]) * 1e-9 : 0.0) +
                      (n > 2 ? static_cast<double>(w[2]) * 1e-18 : 0.0);
  if (std::fabs(lead) > 1e-3) return lead < 0;  // the words after the third add below 10^-8
  carry(w, 0, n - 1);
  return w[0] < 0;
}

// Balanced words (each, with a carry of -1 or 0 from below, within B of zero)
// of a number in range into `out`, without division.
void settle(const std::int64_t* w, std::size_t n, std::uint32_t* out) {
  std::int64_t c = 0;
  for (std::size_t k = n; k-- > 0;) {
    const std::int64_t t = w[k] + c;
    c = t >> 63;  // -1 for a negative t
    out[k] = static_cast<std::uint32_t>(t + (c & B));
  }
}

// x rounded to the nearest integer, for |x| < 2^51: added to 1.5 2^52, x is
// rounded to a whole unit and its value appears in the low bits.
inline std::int64_t nearest(double x) {
  constexpr double kMagic = 6755399441055744.0;
  return std::bit_cast<std::int64_t>(x + kMagic) - std::bit_cast<std::int64_t>(kMagic);
}

std::uint64_t isqrt(u128 v) {
  auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<long double>(v)));
  while (static_cast<u128>(r) * r > v) --r;
  while (static_cast<u128>(r + 1) * (r + 1) <= v) ++r;
  return r;
}

}  // namespace

void divideWords(const std::uint32_t* a, std::size_t na, const std::uint32_t* v, std::size_t n, std::uint32_t* q,
                 std::size_t count) {
  na = std::min(na, count + n - 1);
  // W: a zero word, the dividend, zeros; at step j the remainder is W[j .. j + n].
  // In registers: its leading word folded into the next, t = W[j] B + W[j + 1],
  // and W[j + 2 .. j + 4] (W's copies are stale), so that a step waits on no
  // memory. U: the divisor's words, balanced, with zeros after its end.
  Buffer<std::int64_t> W(count + n + 6), U(n + 7), Q(count);
  for (std::size_t k = 0; k < na; ++k) W[k + 1] = a[k];
  for (std::size_t i = 0; i < n; ++i) U[i] = v[i];
  for (std::size_t i = n - 1; i > 0; --i) balance(U.data(), i);
  const double inverse =
      1.0 / (static_cast<double>(U[0]) + static_cast<double>(U[1]) * 1e-9 + static_cast<double>(U[2]) * 1e-18);
  const double inverse1 = inverse * 1e-9, inverse2 = inverse * 1e-18;
  const std::int64_t u0 = U[0], u1 = U[1], u2 = U[2], u3 = U[3];
  // The next t is (t - d u0) B + W[j + 2] - d u1: t B + W[j + 2] - d (u0 B + u1)
  // in arithmetic modulo 2^64, as the result fits.
  const auto lead = static_cast<std::uint64_t>(u0 * B + u1);
  // When 0.a < 0.v the first word is 0: its step is left out.
  std::size_t first = 0;
  for (std::size_t k = 0; k < std::max(na, n) && first == 0; ++k) {
    const std::int64_t x = k < na ? a[k] : 0, y = k < n ? v[k] : 0;
    if (x != y) first = x < y ? 1 : 2;
  }
  first = first == 1 && count > 1 ? 1 : 0;
  std::int64_t t = W[first] * B + W[first + 1], s2 = W[first + 2], s3 = W[first + 3], s4 = W[first + 4];
  std::size_t untilCarry = kCarryPeriod;
  const bool vectors = vectorKernelsInUse();
  for (std::size_t j = first; j < count; ++j) {
    if (j % 256 == 255) poll(256 * n);
    const std::int64_t d = nearest(static_cast<double>(t) * inverse +
                                   (static_cast<double>(s2) * inverse1 + static_cast<double>(s3) * inverse2));
    Q[j] = d;
    std::int64_t* R = W.data() + j;
    if (n > 4) subtractMultiple(R + 5, U.data() + 4, n - 4, d, vectors);
    const std::int64_t w1 = t - d * u0, w2 = s2 - d * u1, w3 = s3 - d * u2, w4 = s4 - d * u3;
    t = static_cast<std::int64_t>(static_cast<std::uint64_t>(t) * B + static_cast<std::uint64_t>(s2) -
                                  static_cast<std::uint64_t>(d) * lead);
    s2 = w3, s3 = w4, s4 = R[5];
    if (--untilCarry == 0 || j + 1 == count) {
      R[0] = 0;
      R[1] = w1, R[2] = w2, R[3] = w3, R[4] = w4;
      if (j + 1 < count) {
        spread(R, 1, n);
        t = R[1] * B + R[2], s2 = R[3], s3 = R[4], s4 = R[5];
        untilCarry = kCarryPeriod;
      }
    }
  }
  // The remainder, W[count .. count + n), lies within 0.500001 V of zero: the
  // last word is one too large when it is below zero, right otherwise.
  if (isNegative(W.data() + count, n)) --Q[count - 1];
  settle(Q.data(), count, q);
}

void sqrtWords(const std::uint32_t* x, std::size_t nx, std::uint32_t* s, std::size_t count) {
  nx = std::min(nx, 2 * count);
  // W: the words of X; after step j the remainder X - S^2 of its first 2 j + 2
  // words ends at W[2 j + 1]. S: the root's words, balanced; D: 2 S, balanced.
  Buffer<std::int64_t> W(2 * count + 4), S(count), D(count + 3);
  for (std::size_t k = 0; k < nx; ++k) W[k] = x[k];
  if (count == 1) {
    s[0] = static_cast<std::uint32_t>(isqrt(u128{static_cast<std::uint64_t>(W[0] * B + W[1])}));
    return;
  }
  // The leading two words exactly, from the leading four.
  const u128 top = u128{static_cast<std::uint64_t>(W[0] * B + W[1])} * static_cast<std::uint64_t>(B * B) +
                   static_cast<std::uint64_t>(W[2] * B + W[3]);
  // r^2 + rest with rest in (-r, r]: the next word is balanced too.
  std::uint64_t r = isqrt(top);
  auto rest = static_cast<std::int64_t>(top - static_cast<u128>(r) * r);  // at most 2 r
  if (rest > static_cast<std::int64_t>(r)) rest -= static_cast<std::int64_t>(2 * r + 1), ++r;
  S[0] = static_cast<std::int64_t>(r / B);
  S[1] = static_cast<std::int64_t>(r % B);
  if (S[1] >= B / 2) S[1] -= B, ++S[0];
  D[0] = 2 * S[0], D[1] = 2 * S[1];
  balance(D.data(), 1);
  W[0] = W[1] = 0;
  W[2] = rest / B;
  W[3] = rest % B;
  // Step j: the next word d from the remainder with two more words of X, less
  // d (2 S B + d): d 2 S[i] from W[j + 1 + i], d^2 from W[2 j + 1]. With three
  // words of D known (from j = 3 on) the divisor of the estimates stays.
  double inverse = 0;
  const bool vectors = vectorKernelsInUse();
  for (std::size_t j = 2; j < count; ++j) {
    if (j % 256 == 0) poll(256 * j);
    std::int64_t* R = W.data() + j;
    R[1] += R[0] * B;  // the leading word folded into the next
    R[0] = 0;
    const double head =
        static_cast<double>(R[1]) + (static_cast<double>(R[2]) * 1e-9 + static_cast<double>(R[3]) * 1e-18);
    double estimate;
    if (j == 2) {  // d itself weighs in the third place of the divisor
      const double divisor = static_cast<double>(D[0]) + static_cast<double>(D[1]) * 1e-9;
      estimate = head / (divisor + head / divisor * 1e-18);
    } else {
      if (j == 3)
        inverse =
            1.0 / (static_cast<double>(D[0]) + static_cast<double>(D[1]) * 1e-9 + static_cast<double>(D[2]) * 1e-18);
      estimate = head * inverse;
    }
    const std::int64_t d = nearest(estimate);
    subtractMultiple(R + 1, D.data(), j, d, vectors);
    R[j + 1] -= d * d;
    S[j] = d;
    D[j] = 2 * d;
    balance(D.data(), j);
    if (j % kCarryPeriod == kCarryPeriod - 1) spread(R, 1, j + 1);
  }
  // The remainder, W[count .. 2 count) (the word before is 0), lies within
  // 0.500001 (2 S) of zero: the last word is one too large when it is below
  // zero, right otherwise.
  if (isNegative(W.data() + count, count)) --S[count - 1];
  settle(S.data(), count, s);
}

}  // namespace bignum
