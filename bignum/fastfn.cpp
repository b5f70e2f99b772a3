// The short paths of the elementary functions (see fastfn.h). Series are
// summed by rectangular splitting: with z = v^m and v^0 .. v^m at hand, a
// block of m terms costs m divisions by a small integer and one full product.
#include "bignum/fastfn.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bignum/atanseries.h"
#include "bignum/exact.h"
#include "bignum/fixed.h"
#include "bignum/functions_steps.h"
#include "bignum/progress.h"

namespace bignum::steps {

using fixed::Fixed;

namespace {

// Words after the point for results within 10^-q, with `lost` digits more for
// the errors that the squarings or doublings multiply and a word for the cuts.
std::size_t wordsFor(long q, double lost) {
  return static_cast<std::size_t>((static_cast<double>(q) + lost + 2) / Basedigits) + 1;
}

// How often the short paths halve (exp) or divide by 3 (sin and cos) their
// argument at q digits: more mean fewer terms of the series but more steps
// back (measured).
unsigned expHalvings(long q) { return static_cast<unsigned>(std::lround(0.6 * std::sqrt(static_cast<double>(q)))); }
unsigned circularTriplings(long q) {
  return static_cast<unsigned>(std::lround(0.4 * std::sqrt(static_cast<double>(q))));
}

// v^0 .. v^m.
std::vector<Fixed> powersOf(const Fixed& v, std::size_t m) {
  std::vector<Fixed> p;
  p.reserve(m + 1);
  p.push_back(fixed::integer(1, v.frac()));
  p.push_back(v);
  for (std::size_t k = 2; k <= m; ++k) p.push_back(k % 2 == 0 ? fixed::square(p[k / 2]) : fixed::mul(p[k - 1], v));
  return p;
}

// The terms a series sum_i a_i v^i needs when |a_i / a_(i-1)| = 1 / ratio(i):
// the first count N whose term lies below 10^-2 of the last word.
template <class Ratio>
std::size_t termCount(double log10v, std::size_t n, Ratio ratio) {
  const double target = -9.0 * static_cast<double>(n) - 2;
  double term = 0;
  for (std::size_t count = 1;; ++count) {
    term += log10v - std::log10(static_cast<double>(ratio(count)));
    if (term < target) return count;
  }
}

// The block length of a rectangular splitting of `terms` terms.
std::size_t blockLength(std::size_t terms) {
  return std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(terms)))));
}

// sum_(i < N) s^i v^i / (ratio(1) ... ratio(i)) with s = -1 (alternate) or +1,
// from P = v^0 .. v^m, as nested products in blocks of m terms:
// H_j = P[0] + s/r(jm + 1) (P[1] + s/r(jm + 2) (... (P[m - 1] + s/r(jm + m) z H_(j+1)))).
// Two levels at a time where the ratios' product fits a word of 32 bits:
// P[t - 1] + s/r_b (P[t] + s G / r_a) = P[t - 1] + s P[t] / r_b + G / (r_a r_b),
// whose two divisions go side by side.
template <class Ratio>
Fixed hyperSum(const std::vector<Fixed>& P, std::size_t N, bool alternate, Ratio ratio) {
  const std::size_t m = P.size() - 1, blocks = (N + m - 1) / m;
  Fixed G = fixed::integer(0, P[0].frac());
  for (std::size_t j = blocks; j-- > 0;) {
    poll(m * P[0].w.size());
    if (j + 1 < blocks) G = fixed::mul(P[m], G);
    for (std::size_t t = m; t-- > 0;) {
      const std::uint64_t ra = ratio(j * m + t + 1), rb = t > 0 ? ratio(j * m + t) : 0;
      if (t == 0 || ra * rb >= (std::uint64_t{1} << 32)) {
        fixed::divSmall(G, static_cast<std::uint32_t>(ra));
        fixed::addTo(G, P[t], alternate);
        continue;
      }
      Fixed next = P[t];
      fixed::divSmallPair(G, static_cast<std::uint32_t>(ra * rb), next, static_cast<std::uint32_t>(rb));
      fixed::addTo(G, next, alternate);
      if (alternate) G.negative = !G.negative;
      fixed::addTo(G, P[--t], false);
    }
  }
  return G;
}

// sum_(i < N) (-1)^i v^i / (a i + b), from P = v^0 .. v^m, as sums of m terms
// nested in powers of z: B_j + z (B_(j+1) + z (...)).
Fixed reciprocalSum(const std::vector<Fixed>& P, std::size_t N, std::uint32_t a, std::uint32_t b) {
  const std::size_t m = P.size() - 1, blocks = (N + m - 1) / m;
  Fixed G = fixed::integer(0, P[0].frac());
  for (std::size_t j = blocks; j-- > 0;) {
    poll(m * P[0].w.size());
    if (j + 1 < blocks) G = fixed::mul(P[m], G);
    for (std::size_t t = 0; t < m; ++t) {
      const std::size_t i = j * m + t;
      Fixed term = P[t];
      fixed::divSmall(term, static_cast<std::uint32_t>(a * i + b));
      // G - term as -(term - G), in place.
      fixed::addTo(G, term, i % 2 != 0);
      if (i % 2 != 0) G.negative = !G.negative;
    }
  }
  return G;
}

// e^y for |y| < 3, halving y s times.
Fixed expFixed(Fixed y, unsigned s) {
  fixed::divPow2(y, s);
  const auto identity = [](std::size_t u) { return u; };
  const std::size_t N = termCount(fixed::log10Magnitude(y), y.frac(), identity);
  Fixed S = hyperSum(powersOf(y, blockLength(N)), N, false, identity);
  for (unsigned k = 0; k < s; ++k) S = fixed::square(S);
  return S;
}

// sin y and cos y for |y| <= pi/4 (and a little), dividing y by 3^s and
// tripling back with sin 3a = sin a (3 - 4 sin^2 a): one series and two
// products a step, where doubling would need both series and as many
// products for a smaller step. The cosine is then sqrt(1 - sin^2 y), at
// least 1/sqrt(2), where nothing cancels.
struct FixedSinCos {
  Fixed sin, cos;
};
FixedSinCos sinCosFixed(Fixed y, unsigned s) {
  for (unsigned k = s; k > 0;) {
    const unsigned step = std::min(k, 20U);  // 3^20 < 2^32
    std::uint32_t power = 1;
    for (unsigned i = 0; i < step; ++i) power *= 3;
    fixed::divSmall(y, power);
    k -= step;
  }
  const Fixed v = fixed::square(y);
  const auto sinRatio = [](std::size_t u) { return 2 * u * (2 * u + 1); };
  const std::size_t N = termCount(fixed::log10Magnitude(v), y.frac(), sinRatio);
  Fixed sine = fixed::mul(y, hyperSum(powersOf(v, blockLength(N)), N, true, sinRatio));
  const std::size_t n = y.frac();
  for (unsigned k = 0; k < s; ++k) {
    Fixed factor = fixed::square(sine);
    fixed::mulSmall(factor, 4);
    sine = fixed::mul(sine, fixed::sub(fixed::integer(3, n), factor));
  }
  const Fixed square = fixed::sub(fixed::integer(1, n), fixed::square(sine));
  const long digits = static_cast<long>(n + 1) * Basedigits;
  return {sine, fixed::fromBigfloat(sqrt(fixed::toBigfloat(square, digits)), n)};
}

// u sum_i (-1)^i (u^2)^i / (2 i + 1) = atan u, for |u| < 10^-3.
Fixed atanTiny(const Fixed& u) {
  const Fixed v = fixed::square(u);
  const std::size_t N = termCount(fixed::log10Magnitude(v), u.frac(), [](std::size_t) { return 1; });
  return fixed::mul(u, reciprocalSum(powersOf(v, blockLength(N)), N, 2, 1));
}

// w sum_i (-1)^i w^i / (i + 1) = log(1 + w), for |w| < 10^-3.
Fixed log1pTiny(const Fixed& w) {
  const std::size_t N = termCount(fixed::log10Magnitude(w), w.frac(), [](std::size_t) { return 1; });
  return fixed::mul(w, reciprocalSum(powersOf(w, blockLength(N)), N, 1, 1));
}

// A double as an exact number (a few words, its value to about 17 digits).
bigfloat exactDouble(double v) { return v == 0 ? bigfloat() : withPrecision(bigfloat(v), INFINITE); }

// Whether x lies below 10^-3, as the tiny series need (checked before x is
// made a fixed number, which it could overflow were a double's estimate far off).
bool tiny(const bigfloat& x) { return x.sign() == 0 || log10Magnitude(x) < -3; }

}  // namespace

bigfloat expShort(const bigfloat& r, long q) {
  // e^r = e^(r - k ln 10) 10^k with r - k ln 10 in [0, ln 10).
  long k = static_cast<long>(std::floor(getdouble(r) / std::log(10.0)));
  bigfloat reduced = r;
  if (k != 0) {
    const bigfloat ln10 = cachedLog10(q + 2 * Basedigits);
    reduced = r - exactInteger(k) * ln10;
    if (reduced.sign() < 0) {
      --k;
      reduced = reduced + ln10;
    }
  }
  const unsigned s = expHalvings(q);
  const std::size_t n = wordsFor(q, 0.302 * s);
  bigfloat result = fixed::toBigfloat(expFixed(fixed::fromBigfloat(reduced, n), s), q + Basedigits);
  // 10^k = 10^(9 a + b) with 0 <= b < 9: a whole words, b digits by an exact factor.
  const long words = k >= 0 ? k / Basedigits : -((-k + Basedigits - 1) / Basedigits);
  const long digits = k - words * Basedigits;
  if (digits != 0) result = result * exactInteger(static_cast<std::int64_t>(std::pow(10.0, digits)));
  result.exp(result.exp() + words * Basedigits);
  return result;
}

SinCosPair sinCosShort(const bigfloat& r, long q) {
  const unsigned s = circularTriplings(q);
  const FixedSinCos f = sinCosFixed(fixed::fromBigfloat(r, wordsFor(q, 0.478 * s)), s);
  return {fixed::toBigfloatAbsolute(f.sin), fixed::toBigfloatAbsolute(f.cos)};
}

std::optional<bigfloat> angleShort(const bigfloat& a, const bigfloat& b, long q) {
  // Scaled by a power of 10^9 so that the larger of |a| and |b| lies in
  // [10^-9, 1): the angle stays, and both fit the fixed point.
  const std::int64_t top = a.sign() == 0   ? b.wordExponent()
                           : b.sign() == 0 ? a.wordExponent()
                                           : std::max(a.wordExponent(), b.wordExponent());
  bigfloat x = a, y = b;
  if (x.sign() != 0) x.exp(x.exp() - top * Basedigits);
  if (y.sign() != 0) y.exp(y.exp() - top * Basedigits);
  // Quarter turns leave the angle within pi/4 of 0.
  const int quarters = turnWithinQuarter(x, y);
  // theta0, a double's angle taken as exact; with (s, c) its sine and cosine,
  // tan(angle - theta0) = (y c - x s) / (x c + y s), tiny.
  const bigfloat theta0 = exactDouble(std::atan2(getdouble(y), getdouble(x)));
  const unsigned triplings = circularTriplings(q);
  const std::size_t n = wordsFor(q + 2 * Basedigits, 0.478 * triplings);
  const FixedSinCos sc = sinCosFixed(fixed::fromBigfloat(theta0, n), triplings);
  const Fixed X = fixed::fromBigfloat(x, n), Y = fixed::fromBigfloat(y, n);
  const Fixed across = fixed::sub(fixed::mul(Y, sc.cos), fixed::mul(X, sc.sin));
  const Fixed along = fixed::add(fixed::mul(X, sc.cos), fixed::mul(Y, sc.sin));
  bigfloat angle = theta0;
  if (!across.isZero()) {
    if (along.negative || along.isZero()) return std::nullopt;
    const bigfloat ratio = fixed::toBigfloatAbsolute(across) / fixed::toBigfloat(along, q + 3 * Basedigits);
    if (!tiny(ratio)) return std::nullopt;
    angle =
        withPrecision(theta0, q + 2 * Basedigits) + fixed::toBigfloatAbsolute(atanTiny(fixed::fromBigfloat(ratio, n)));
  }
  return withPrecision(plusQuarters(angle, quarters, q + 2 * Basedigits), q + Basedigits);
}

std::optional<bigfloat> logShort(const bigfloat& m, long q) {
  // log m = y0 + log(m e^-y0), y0 a double's logarithm taken as exact.
  const bigfloat y0 = exactDouble(std::log(getdouble(m)));
  const std::size_t n = wordsFor(q, 0);
  bigfloat scaled = m;
  if (y0.sign() != 0) scaled = m * expShort(-y0, q);
  const bigfloat w = scaled - bigfloat(1);
  if (!tiny(w)) return std::nullopt;
  return withPrecision(y0 + fixed::toBigfloatAbsolute(log1pTiny(fixed::fromBigfloat(w, n))), q + Basedigits);
}

}  // namespace bignum::steps
