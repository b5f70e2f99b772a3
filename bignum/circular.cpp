// The circular functions of a real x from the complex exponential of i r,
// r being x reduced by multiples of pi/2, and their inverses from the complex
// logarithm. Both take enough extra digits that small results keep their
// relative precision: near multiples of pi (and of pi/2 for the cosine) the
// reduction is made with as many more digits of pi as cancel. The inverse
// hyperbolic tangent, from the real logarithm, lives here beside them.
#include <algorithm>
#include <cmath>

#include "bignum/atanseries.h"
#include "bignum/complexfn.h"
#include "bignum/expseries.h"
#include "bignum/fastfn.h"
#include "bignum/functions.h"
#include "bignum/functions_steps.h"
#include "bignum/progress.h"

namespace bignum {

using namespace steps;

namespace {

// Digits a number below 1 lies under its precision's reach: -exp, at least 0.
long smallness(const bigfloat& x) { return x.sign() == 0 ? 0 : static_cast<long>(std::max<std::int64_t>(0, -x.exp())); }

struct Reduced {
  bigfloat r;        // x - k pi/2, with the relative precision p needs
  int quadrant = 0;  // k mod 4
};

// x = k pi/2 + r with |r| <= pi/4, r good to p + 9 digits of its own.
Reduced reduce(const bigfloat& x, long p) {
  const long whole = static_cast<long>(std::max<std::int64_t>(0, x.exp()));
  long extra = 2 * Basedigits;
  for (int attempt = 0;; ++attempt) {
    const long q = p + whole + extra;
    const bigfloat halfPi = cachedPi(q) / bigfloat(2);
    const bigfloat wide = withPrecision(x, q);
    const bigfloat k = floor(wide / halfPi + withPrecision(bigfloat("0.5", q), q));
    Reduced result{withPrecision(wide - k * halfPi, q), 0};
    // Digits that cancelled must come from more digits of pi.
    const long lost = smallness(result.r) - smallness(wide);
    if (lost + 2 * Basedigits <= extra || attempt == 3 || result.r.sign() == 0) {
      const bigfloat four(4);
      result.quadrant = static_cast<int>(getdouble(k - four * floor(k / four)));
      result.r.prec(p + kGuard + smallness(result.r));
      return result;
    }
    extra = lost + 3 * Basedigits;
  }
}

// cos r + i sin r for |r| <= pi/4, each good to p digits relative.
bigcomplex unitPoint(const bigfloat& r, long p) {
  const long q = p + kGuard + smallness(r);
  if (r.sign() == 0) return {bigfloat(1), bigfloat()};
  if (q <= kShortCircular) {
    const SinCosPair sc = sinCosShort(r, q);
    return {sc.cos, sc.sin};
  }
  ProgressStage stage("sine and cosine");
  const auto [sine, cosine] = sinCosSeries(withPrecision(r, INFINITE), q, stage);
  return {cosine, sine};
}

struct SinCos {
  bigfloat sin, cos;
};

// Both, as the stage `name`.
SinCos sinCos(const bigfloat& x, const char* name) {
  if (x.sign() == 0) return {bigfloat(), bigfloat(1)};  // zero is exact: so are its sine and cosine
  requireFinite(x);
  const long p = x.prec();
  if (belowSeries(x)) {
    const bigfloat cosine = one(p + kGuard) - withPrecision(x * x, p + kGuard) / bigfloat(2);
    return {cubicSeries(x, -1, 6), withPrecision(cosine, p)};
  }
  ProgressStage stage(name);
  stage.delegate(0, 0.2);
  // Within pi/4 there is nothing to take out.
  const Reduced reduced =
      std::fabs(getdouble(x)) < 0.78 ? Reduced{withPrecision(x, p + kGuard + smallness(x)), 0} : reduce(x, p);
  stage.delegate(0.2, 1);
  const bigcomplex w = unitPoint(reduced.r, p);
  const bigfloat s = w.im, c = w.re;
  switch (reduced.quadrant) {
    case 0:
      return {withPrecision(s, p), withPrecision(c, p)};
    case 1:
      return {withPrecision(c, p), withPrecision(-s, p)};
    case 2:
      return {withPrecision(-s, p), withPrecision(-c, p)};
    default:
      return {withPrecision(-c, p), withPrecision(s, p)};
  }
}

// The angle of (a, b), not both zero, in (-pi, pi] and within 10^-q. Short
// precisions take angleShort (or, where a double cannot estimate the angle,
// Im log(a + i b)); longer ones the inverse tangent's series.
bigfloat angle(const bigfloat& a, const bigfloat& b, long q) {
  if (q <= kShortAngle) {
    if (auto quick = angleShort(a, b, q)) return withPrecision(*quick, q);
    return withPrecision(logWithGuard(bigcomplex{withPrecision(a, q), withPrecision(b, q)}, 0).im, q);
  }
  ProgressStage stage("inverse tangent");
  return withPrecision(angleSeries(a, b, q, stage), q);
}

// 1 + s x (s = +1 or -1) to q digits. The difference between x's stored
// digits and an exact 1 is exact however many leading words cancel, but the
// subtraction counts the cancelled words as lost: its precision is set back to q.
bigfloat oneOffset(const bigfloat& x, int s, long q) {
  return withPrecision(s > 0 ? bigfloat(1) + x : bigfloat(1) - x, q);
}

// sqrt(1 - x^2) for |x| <= 1 at q digits, as sqrt((1 - x)(1 + x)).
bigfloat cofactor(const bigfloat& x, long q) {
  const bigfloat square = withPrecision(oneOffset(x, -1, q) * oneOffset(x, 1, q), q);
  return square.sign() <= 0 ? bigfloat() : sqrt(square);
}

}  // namespace

bool belowSeries(const bigfloat& x) {
  return x.sign() != 0 && x.prec() != INFINITE && -x.exp() >= (x.prec() + kGuard) / 4 + Basedigits;
}

bigfloat cubicSeries(const bigfloat& x, int n, int d) {
  const long p = x.prec();
  const bigfloat w = withPrecision(x, p + kGuard);
  return withPrecision(w * (one(p + kGuard) + w * w * bigfloat(n) / bigfloat(d)), p);
}

bigfloat sin(const bigfloat& x) { return sinCos(x, "sine").sin; }
bigfloat cos(const bigfloat& x) { return sinCos(x, "cosine").cos; }

bigfloat tan(const bigfloat& x) {
  const SinCos sc = sinCos(x, "tangent");
  return sc.sin / sc.cos;
}

bigfloat asin(const bigfloat& x) {
  if (x.sign() == 0) return bigfloat();
  requireFinite(x);
  const long p = x.prec();
  if (belowSeries(x)) return cubicSeries(x, 1, 6);
  const long q = p + kGuard + smallness(x);
  ProgressStage stage("inverse sine");
  const bigfloat c = cofactor(x, q);
  stage.delegate(0.1, 1);
  return withPrecision(angle(c, x, q), p);
}

bigfloat acos(const bigfloat& x) {
  requireFinite(x);
  const long p = x.prec();
  if (belowSeries(x)) return withPrecision(cachedPi(p + kGuard) / bigfloat(2) - asin(x), p);
  ProgressStage stage("inverse cosine");
  bigfloat c = cofactor(x, p + kGuard);
  if (c.sign() == 0) return x.sign() > 0 ? bigfloat() : cachedPi(p);
  // Near x = 1 the angle is small: it needs the digits it lies below 1.
  const long q = p + kGuard + smallness(c);
  if (q > p + kGuard) c = cofactor(x, q);
  stage.delegate(0.1, 1);
  return withPrecision(angle(x, c, q), p);
}

bigfloat atan(const bigfloat& x) {
  if (x.sign() == 0) return bigfloat();
  requireFinite(x);
  const long p = x.prec();
  if (belowSeries(x)) return cubicSeries(x, -1, 3);
  ProgressStage stage("inverse tangent");
  stage.delegate(0, 1);  // all of it to the angle
  return withPrecision(angle(bigfloat(1), x, p + kGuard + smallness(x)), p);
}

bigfloat atanh(const bigfloat& x) {
  if (x.sign() == 0) return bigfloat();
  requireFinite(x);
  BIGNUM_CHECK(compare(x, bigfloat(1), true) < 0, "|x| < 1", "functions");
  const long p = x.prec();
  if (belowSeries(x)) return cubicSeries(x, 1, 3);
  // atanh x = log((1 + x) / (1 - x)) / 2. Near 0 the logarithm is about 2x,
  // small: the ratio needs the digits x lies below 1 more.
  const long q = p + kGuard + smallness(x);
  ProgressStage stage("inverse hyperbolic tangent");
  const bigfloat ratio = withPrecision(oneOffset(x, 1, q) / oneOffset(x, -1, q), q);
  stage.delegate(0.1, 1);
  return withPrecision(half(logWithGuard(ratio, 0)), p);
}

}  // namespace bignum
