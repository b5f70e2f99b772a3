// The angle of a point at long precisions by the bit-burst method on the
// series of the inverse tangent (see atanseries.h).
//
// With z = y / x, |z| <= 1 after quarter turns, and t0 a double's angle taken
// as exact, tan(angle - t0) = (z cos t0 - sin t0) / (cos t0 + z sin t0) = u
// lies below about 10^-15; sin t0 and cos t0 come from the series of e^(i t0),
// cheap for a number of a few words. Then, piece by piece: c is u cut to
// twice as many places as u lies below 1, atan(c) comes from its series
// summed by binary splitting (c has few digits, so the series' numbers stay
// short), and u becomes (u - c) / (1 + u c) = tan(atan u - atan c), which lies
// below the places of c. Once u lies below the precision, angle = t0 + the
// atan(c) + u.
#include "bignum/atanseries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "bignum/exact.h"
#include "bignum/expseries.h"
#include "bignum/functions.h"
#include "bignum/functions_steps.h"

namespace bignum::steps {

namespace {

// Over the terms [first, last) of sum_k p^k / (2k + 1), with p = -c^2: the
// part is p^first T / B with B = prod (2k + 1), P = p^(last - first), and two
// neighbouring parts join as T = T1 B2 + P1 B1 T2, B = B1 B2, P = P1 P2. Each
// is cut to `limit` words: the terms fall fast enough (|p| < 10^-20) for no
// sum to cancel.
struct AtanSplit {
  bigfloat P, B, T;
};

AtanSplit atanSplit(std::uint64_t first, std::uint64_t last, const bigfloat& p, bool wantP, std::size_t limit) {
  AtanSplit s;
  if (last - first == 1) {
    s = AtanSplit{p, exactInteger(static_cast<std::int64_t>(2 * first + 1)), bigfloat(1)};
  } else {
    poll(last - first);
    const std::uint64_t middle = first + (last - first) / 2;
    const AtanSplit left = atanSplit(first, middle, p, true, limit);
    const AtanSplit right = atanSplit(middle, last, p, wantP, limit);
    s.T = left.T * right.B + left.P * left.B * right.T;
    s.B = left.B * right.B;
    if (wantP) s.P = left.P * right.P;
  }
  cutToWords(limit, {&s.P, &s.B, &s.T});
  return s;
}

// atan c for an exact c with |c| < 10^-10, within 10^-(w - 9) relative.
bigfloat atanOfPiece(const bigfloat& c, long w) {
  const bigfloat p = -(c * c);
  // Terms until |p|^k lies below the precision.
  const double perTerm = -log10Magnitude(p);
  const auto terms = static_cast<std::uint64_t>(std::ceil(static_cast<double>(w + Basedigits) / perTerm)) + 1;
  const AtanSplit s = atanSplit(0, terms, p, false, static_cast<std::size_t>(w / Basedigits + 3));
  return withPrecision(c * withPrecision(s.T, w) / withPrecision(s.B, w), w);
}

// x cut after `places` decimal places (toward zero), as an exact number.
bigfloat cutToPlaces(const bigfloat& x, long places) {
  const bigfloat scale(("1e" + std::to_string(places)).c_str(), INFINITE);
  const bigfloat unit(("1e-" + std::to_string(places)).c_str(), INFINITE);
  return trunc(x * scale) * unit;
}

}  // namespace

int turnWithinQuarter(bigfloat& x, bigfloat& y) {
  int k = 0;
  if (compare(y, x, true) > 0) {
    k = y.sign() > 0 ? 1 : -1;
    const bigfloat turned = k > 0 ? y : -y;
    y = k > 0 ? -x : x;
    x = turned;
  } else if (x.sign() < 0) {
    k = y.sign() >= 0 ? 2 : -2;
    x = -x;
    y = -y;
  }
  return k;
}

bigfloat plusQuarters(const bigfloat& angle, int k, long w) {
  return k == 0 ? angle : withPrecision(angle, w) + exactInteger(k) * half(cachedPi(w));
}

bigfloat angleSeries(const bigfloat& a, const bigfloat& b, long q, ProgressStage& stage) {
  const long w = q + 2 * Basedigits;
  // Quarter turns leave x >= |y|, so that z = y / x lies in [-1, 1].
  bigfloat x = withPrecision(a, w), y = withPrecision(b, w);
  const int quarters = turnWithinQuarter(x, y);
  const bigfloat z = withPrecision(y / x, w);
  const double estimate = std::atan(getdouble(z));
  const bigfloat t0 = estimate == 0 ? bigfloat() : withPrecision(bigfloat(estimate), INFINITE);
  bigfloat angle = t0, u = z;
  // Progress: the sine and cosine take about a third, the pieces (about
  // log2 of the precision over 16 of them) the rest.
  constexpr double kSinCosShare = 0.3;
  if (t0.sign() != 0) {
    stage.delegate(0, kSinCosShare);
    ProgressStage sinCos("sine and cosine");
    const auto [s, c] = sinCosSeries(t0, w, sinCos);
    u = withPrecision((z * c - s) / (c + z * s), w);
  }
  const double pieces = std::max(1.0, std::log2(static_cast<double>(w) / 16));
  // Pieces until atan u = u - u^3 / 3 + ... is u to the precision.
  for (int round = 0; u.sign() != 0 && 3 * log10Magnitude(u) > -static_cast<double>(w + Basedigits) && round < 64;
       ++round) {
    const long below = static_cast<long>(std::max(1.0, -log10Magnitude(u)));
    const bigfloat c = cutToPlaces(u, 2 * below + 1);
    if (c.sign() == 0) break;
    angle = withPrecision(angle, w) + atanOfPiece(c, w);
    u = withPrecision((u - c) / (bigfloat(1) + u * c), w);
    stage.advance(std::min(1.0, kSinCosShare + (1 - kSinCosShare) * (round + 1) / pieces));
  }
  angle = withPrecision(angle, w) + u;
  return withPrecision(plusQuarters(angle, quarters, w), q + Basedigits);
}

}  // namespace bignum::steps
