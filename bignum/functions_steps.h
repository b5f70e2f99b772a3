// Pieces shared by the elementary functions (internal to the library).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

#include "bignum/bigfloat.h"
#include "bignum/check.h"

namespace bignum::steps {

// The digits the functions work with beyond the precision asked: a result
// whose leading word holds a single digit would otherwise miss most of a word.
inline constexpr long kGuard = 2 * Basedigits;

// Refuses exact arguments: the functions need a precision to work to.
inline void requireFinite(const bigfloat& x) {
  BIGNUM_CHECK(x.prec() != INFINITE, "x.prec () != INFINITE", "functions");
}

// One at p digits. Added to a tiny number it keeps p digits, where an exact 1
// would make the sum hold every word down to the tiny number's last digit.
inline bigfloat one(long p) {
  bigfloat x(1);
  x.prec(p);
  return x;
}

// x - 1 for x > 0, good for its sign and size. Where x lies within a factor
// 10^9 of 1 the difference is exact, so it is zero only for x = 1 (against a
// 1 of x's precision, a difference in x's last word alone would be cut away).
// Elsewhere it is taken against a 1 of two words: the exact difference with a
// tiny x would hold every word down to x's last digit.
inline bigfloat offsetFromOne(const bigfloat& x) {
  const std::int64_t words = x.wordExponent();
  return words == 0 || words == 1 ? x - bigfloat(1) : x - one(2 * Basedigits);
}

// The precisions of a Newton iteration toward `target` digits, lowest first:
// the target halved down, a word of margin each time, until `start` digits
// (about twice what the start value is good for). Two words is the fixed
// point of the halving, so the list also ends there whatever `start` is.
inline std::vector<long> newtonPrecisions(long target, long start) {
  std::vector<long> precisions;
  for (long p = target; p > start && p > 2 * Basedigits; p = (p / Basedigits / 2 + 1) * Basedigits)
    precisions.insert(precisions.begin(), p);
  precisions.insert(precisions.begin(), start);
  return precisions;
}

// The most steps an arithmetic-geometric mean at q digits needs when its two
// starting values differ by a factor e^L (for complex values, L counts the
// angle between them too). Each step at least halves L until it falls below
// 1, and from there the relative gap at least squares, falling below
// 10^-(q/2 + 18) (where the digits that surely agree reach half of q) within
// log2(2.5 q + 100) steps; two more spare the rounding. The means stop on
// agreeing digits, and this bound ends them also where rounding keeps their
// last word from settling (a working precision of two or three words, whose
// half is no whole number of words, stops no other way).
inline int agmStepLimit(double L, long q) {
  const double phases =
      std::ceil(std::log2(std::max(1.0, L))) + std::ceil(std::log2(2.5 * static_cast<double>(q) + 100));
  return static_cast<int>(std::min(phases, 200.0)) + 2;
}

// log x for x > 0 of finite precision, computed with `guard` digits beyond
// x's precision (and as many more as x lies near 1) and cut to it. The
// functions' own Newton steps, which carry a guard already, ask for none.
bigfloat logWithGuard(const bigfloat& x, long guard);
// log(10) to p digits, from a process-wide cache.
bigfloat cachedLog10(long p);
// agm(1, 10^-e) with e = p / 2 + 18 digits, at p digits: the constant of the
// logarithm's formula, kept for the last few precisions asked.
bigfloat logScaleAgm(long p);
// The scale exponent e of the logarithm's formula at p digits.
inline std::int64_t logScale(long p) { return p / 2 + 18; }
// Empties the caches of log(10), of the logarithm's constant AGM, of e and of
// the logarithms of small integers.
void clearLogCaches();

__extension__ typedef unsigned __int128 u128;

// The sums of a binary splitting over a range of terms: the series part is
// T / Q, with P the product of the terms' numerators where a caller needs it.
struct Split {
  bigfloat P, Q, T;
};

// Cuts each of `values` to `limit` words where it is longer: the parts of a
// binary splitting past the working precision.
inline void cutToWords(std::size_t limit, std::initializer_list<bigfloat*> values) {
  for (bigfloat* v : values)
    if (v->size() > limit) v->prec(static_cast<long>(limit) * Basedigits);
}

// An exact number from an unsigned 128-bit integer, with `sign` (+1 or -1).
inline bigfloat exactOf(u128 value, int sign = 1) {
  std::uint32_t words[5];
  std::size_t count = 0;
  for (u128 v = value; v != 0; v /= Base) ++count;
  u128 v = value;
  for (std::size_t i = count; i-- > 0; v /= Base) words[i] = static_cast<std::uint32_t>(v % Base);
  return bigfloat::fromWords(sign, static_cast<std::int64_t>(count), INFINITE, words, count);
}

// The work of a binary splitting of `length` items (at least one) that halves
// every part longer than `leaf` and sums shorter ones directly: the lengths of
// all its parts added up. Every level of a splitting costs about the same, so
// the lengths of the parts finished, counted against this, follow the time.
inline std::uint64_t splittingWork(std::uint64_t length, std::uint64_t leaf) {
  // W(L) = L up to the leaf, else L + W(floor(L/2)) + W(ceil(L/2)). The halves
  // of L and of L + 1 are k and k + 1 for k = floor(L/2), so the pair
  // (W(L), W(L + 1)) follows from (W(k), W(k + 1)).
  struct Pair {
    std::uint64_t at, next;
  };
  auto pair = [leaf](auto& self, std::uint64_t L) -> Pair {
    if (L < leaf) return {L, L + 1};
    if (L == leaf) return {L, 2 * (L + 1)};
    const Pair k = self(self, L / 2);
    return L % 2 == 0 ? Pair{L + 2 * k.at, L + 1 + k.at + k.next} : Pair{L + k.at + k.next, L + 1 + 2 * k.next};
  };
  return pair(pair, length).at;
}

// An exact integer.
inline bigfloat exactInteger(std::int64_t value) {
  const std::uint64_t magnitude =
      value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  const std::uint32_t words[3] = {static_cast<std::uint32_t>(magnitude / Base / Base),
                                  static_cast<std::uint32_t>(magnitude / Base % Base),
                                  static_cast<std::uint32_t>(magnitude % Base)};
  return bigfloat::fromWords(value < 0 ? -1 : 1, 3, INFINITE, words, 3);
}

// x / 2 as the product with an exact 0.5: cut to x's precision like the
// quotient, but without a division.
inline bigfloat half(const bigfloat& x) {
  static const std::uint32_t kHalf = Base / 2;
  static const bigfloat exactHalf = bigfloat::fromWords(1, 0, INFINITE, &kHalf, 1);
  return x * exactHalf;
}

// The largest positive number at p digits: 1 at the highest word exponent,
// what any result too large for the exponent range becomes.
inline bigfloat largest(long p) {
  bigfloat x(1, p);
  x.exp(std::numeric_limits<std::int64_t>::max());
  return x;
}

// x with its precision set to p digits (cut or widened).
inline bigfloat withPrecision(bigfloat x, long p) {
  x.prec(p);
  return x;
}

}  // namespace bignum::steps
