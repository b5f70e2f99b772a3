// The complex layer: arithmetic, roots, the arithmetic-geometric mean, the
// logarithm through it and the exponential by Newton's iteration.
#include "bignum/complexfn.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "bignum/check.h"
#include "bignum/exact.h"
#include "bignum/functions.h"
#include "bignum/functions_steps.h"
#include "bignum/progress.h"

namespace bignum {

using namespace steps;

namespace {

constexpr const char* kComplex = "complexfn";

// The digit exponent of the larger part (either may be zero, not both).
std::int64_t magnitude(const bigcomplex& z) {
  if (z.re.sign() == 0) return z.im.exp();
  if (z.im.sign() == 0) return z.re.exp();
  return std::max(z.re.exp(), z.im.exp());
}

bool isZero(const bigcomplex& z) { return z.re.sign() == 0 && z.im.sign() == 0; }

// log10 of the larger part's magnitude (z not zero).
double log10Size(const bigcomplex& z) {
  if (z.re.sign() == 0) return log10Magnitude(z.im);
  if (z.im.sign() == 0) return log10Magnitude(z.re);
  return std::max(log10Magnitude(z.re), log10Magnitude(z.im));
}

bigcomplex half(const bigcomplex& z) { return {steps::half(z.re), steps::half(z.im)}; }

// A double-accurate start value as a complex of 18-digit parts, scaled by 10^(9 k).
bigcomplex fromDouble(std::complex<double> v, std::int64_t k) {
  bigcomplex z{bigfloat(v.real()), bigfloat(v.imag())};  // all the digits a double carries
  z.re.exp(z.re.exp() + k * Basedigits);
  z.im.exp(z.im.exp() + k * Basedigits);
  return z;
}

// The leading value of z as a double complex and the exponent in words it was scaled by.
std::complex<double> leading(const bigcomplex& z, std::int64_t& words) {
  words = magnitude(z) / Basedigits;
  bigfloat re = z.re, im = z.im;
  re.exp(re.exp() - words * Basedigits);
  im.exp(im.exp() - words * Basedigits);
  return {getdouble(re), getdouble(im)};
}

}  // namespace

long prec(const bigcomplex& z) {
  const long pr = z.re.prec(), pi = z.im.prec();
  if (pr == INFINITE && pi == INFINITE) return INFINITE;
  if (z.re.sign() == 0) return pi;
  if (z.im.sign() == 0) return pr;
  const bool reLarger = z.re.exp() >= z.im.exp();
  const long larger = reLarger ? pr : pi, smaller = reLarger ? pi : pr;
  if (smaller == INFINITE) return larger;
  const std::int64_t raised = smaller + std::abs(z.re.exp() - z.im.exp());
  return static_cast<long>(std::min<std::int64_t>(larger, std::min<std::int64_t>(raised, INFINITE - 1)));
}

bigcomplex withPrecision(const bigcomplex& z, long p) {
  return {steps::withPrecision(z.re, p), steps::withPrecision(z.im, p)};
}

bigcomplex operator+(const bigcomplex& a, const bigcomplex& b) { return {a.re + b.re, a.im + b.im}; }
bigcomplex operator-(const bigcomplex& a, const bigcomplex& b) { return {a.re - b.re, a.im - b.im}; }
bigcomplex operator*(const bigcomplex& a, const bigcomplex& b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
bigcomplex operator*(const bigcomplex& a, const bigfloat& b) { return {a.re * b, a.im * b}; }
bigcomplex operator*(const bigfloat& a, const bigcomplex& b) { return {a * b.re, a * b.im}; }
bigcomplex operator/(const bigcomplex& a, const bigcomplex& b) {
  const bigfloat norm = b.re * b.re + b.im * b.im;
  return {(a.re * b.re + a.im * b.im) / norm, (a.im * b.re - a.re * b.im) / norm};
}
bigcomplex operator/(const bigcomplex& a, const bigfloat& b) { return {a.re / b, a.im / b}; }
bigcomplex operator/(const bigfloat& a, const bigcomplex& b) { return bigcomplex{a, bigfloat()} / b; }

bigcomplex invroot(const bigcomplex& u, unsigned n, long p) {
  BIGNUM_CHECK(!isZero(u), "u.re.sign () || u.im.sign ()", kComplex);
  if (n == 0) return {bigfloat(1), bigfloat()};
  std::int64_t words = 0;
  const std::complex<double> v = leading(u, words);
  // u = v 10^(9 words): u^(-1/n) = v^(-1/n) 10^(-9 words / n), the fraction of
  // the exponent that n does not divide going into the double.
  const auto sn = static_cast<std::int64_t>(n);
  const std::int64_t q = words >= 0 ? words / sn : -((-words + sn - 1) / sn);
  const std::complex<double> start =
      std::pow(v * std::pow(1e9, static_cast<double>(words - q * sn)), -1.0 / static_cast<double>(n));
  bigcomplex x = fromDouble(start, -q);
  const bigfloat N(n);
  const bigcomplex wide = withPrecision(u, std::max(prec(u), p + kGuard));
  for (long q2 : newtonPrecisions(p + kGuard, 4 * Basedigits)) {
    poll(static_cast<std::size_t>(q2));
    x = withPrecision(x, q2);
    bigcomplex power = x;
    for (unsigned i = 1; i < n; ++i) power = power * x;
    const bigcomplex t = bigcomplex{withPrecision(bigfloat(1), q2), bigfloat()} - withPrecision(wide, q2) * power;
    x = x + x * t / N;
  }
  return withPrecision(x, p);
}

bigcomplex sqrt(const bigcomplex& z) {
  if (isZero(z)) return z;
  const long p = prec(z);
  if (z.im.sign() == 0 && z.re.sign() > 0) return {sqrt(z.re), bigfloat()};
  // From the modulus r: with t = sqrt((r + |re|) / 2), the root is (t, im / 2t)
  // for re >= 0 and (|im| / 2t, sign(im) t) otherwise; no digits cancel, so
  // a word beyond the precision covers the roundings.
  const long q = p + Basedigits;
  const bigcomplex w = withPrecision(z, q);
  const bigfloat r = bignum::sqrt(w.re * w.re + w.im * w.im);
  const bigfloat t = bignum::sqrt(half(r + abs(w.re)));
  const bigfloat other = half(abs(w.im) / t);
  bigcomplex root;
  if (w.re.sign() >= 0)
    root = {t, w.im.sign() < 0 ? -other : other};
  else
    root = {other, w.im.sign() < 0 ? -t : t};
  return withPrecision(root, p);
}

bigcomplex agm(const bigcomplex& x, const bigcomplex& y) {
  if (isZero(x) || isZero(y)) return {bigfloat(), bigfloat()};
  const long p = std::min(prec(x), prec(y));
  BIGNUM_CHECK(p != INFINITE, "x.prec () != INFINITE", kComplex);
  // A word beyond the precision takes the roundings of the steps.
  const long q = std::max<long>(p, Basedigits) + Basedigits;
  bigcomplex a = withPrecision(x, q), b = withPrecision(y, q);
  // The ratio of the moduli (the larger parts, within a factor sqrt 2) and the angle between them.
  const double ratio = std::fabs(log10Size(a) - log10Size(b)) * std::log(10.0) + std::log(2.0) + std::numbers::pi;
  const int limit = agmStepLimit(ratio, q);
  ProgressStage stage("arithmetic-geometric mean");
  for (int step = 0; step < limit; ++step) {
    stage.advance(step / static_cast<double>(limit), static_cast<std::size_t>(q));
    // a and b agree to d digits: |a - b| < 10^magnitude(d), |a| >= 10^(magnitude(a) - 9).
    // Their mean is then the limit to about 2 d digits. Where rounding keeps
    // their last word from settling, the step limit ends the loop.
    const bigcomplex d = a - b;
    if (isZero(d) || 2 * (magnitude(a) - Basedigits - magnitude(d)) >= q) break;
    const bigcomplex mean = withPrecision(half(a + b), q);
    bigcomplex root = withPrecision(sqrt(a * b), q);
    // Of the two roots, the one nearer the mean: Re(conj(mean) root) >= 0.
    if ((mean.re * root.re + mean.im * root.im).sign() < 0) root = {-root.re, -root.im};
    a = mean;
    b = root;
  }
  return withPrecision(half(a + b), p);
}

namespace steps {

bigcomplex logWithGuard(const bigcomplex& z, long guard) {
  const long p = prec(z);
  const long q = p + guard;
  ProgressStage stage("logarithm");
  // z = m 10^E with the larger part of m below 1: log z = log m + E log 10.
  const std::int64_t E = magnitude(z);
  bigcomplex m = withPrecision(z, q);
  m.re.exp(m.re.exp() - E);
  m.im.exp(m.im.exp() - E);
  // log m = pi (A2 - A1) / (2 A1 A2) with A1 = agm(1, s), A2 = agm(1, m s), s = 10^-e.
  stage.delegate(0, 0.3);
  const bigfloat A1 = logScaleAgm(q);
  const std::int64_t e = logScale(q);
  m.re.exp(m.re.exp() - e);
  m.im.exp(m.im.exp() - e);
  stage.delegate(0.3, 0.9);
  const bigcomplex A2 = agm(bigcomplex{steps::withPrecision(bigfloat(1), q), bigfloat()}, m);
  stage.delegate(0.9, 1);
  bigcomplex result = cachedPi(q) * (A2 - bigcomplex{A1, bigfloat()}) / (bigfloat(2) * A1 * A2);
  if (E != 0) result.re = result.re + exactInteger(E) * cachedLog10(q + Basedigits);
  return withPrecision(result, p);
}

}  // namespace steps

bigcomplex log(const bigcomplex& z) {
  BIGNUM_CHECK(!isZero(z), "z.re.sign () || z.im.sign ()", kComplex);
  BIGNUM_CHECK(prec(z) != INFINITE, "x.prec () != INFINITE", kComplex);
  return logWithGuard(z, kGuard);
}

bigcomplex steps::expWithGuard(const bigcomplex& z, long guard) {
  const long p = prec(z);
  ProgressStage stage("exponential");
  // The imaginary part, modulo 2 pi, into [-pi, pi].
  bigcomplex w = withPrecision(z, p);
  if (w.im.sign() != 0) {
    const bigfloat pi = cachedPi(p + kGuard), twoPi = bigfloat(2) * pi;
    bigfloat y = fmod(w.im, twoPi);
    if (y > pi) y = y - twoPi;
    if (y < -pi) y = y + twoPi;
    w.im = steps::withPrecision(y, p);
  }
  // The start: e^re (cos im + i sin im) in doubles, with 10^(9 k) split off e^re.
  const double re = getdouble(w.re), im = getdouble(w.im);
  const double lnBase = std::log(1e9);
  const double k = std::floor(re / lnBase);
  // Beyond the exponent range: the direction at the largest magnitude, or zero.
  if (k >= static_cast<double>(MAXEXPONENT)) return largest(p) * fromDouble({std::cos(im), std::sin(im)}, 0);
  if (k <= -static_cast<double>(MAXEXPONENT)) return {bigfloat(), bigfloat()};
  const double scale = std::exp(re - k * lnBase);
  bigcomplex y = fromDouble({scale * std::cos(im), scale * std::sin(im)}, static_cast<std::int64_t>(k));
  // Newton on the logarithm: y <- y + y (w - log y). Where w lies next to
  // +-pi i, y may lie across the logarithm's branch cut from e^w: w - log y
  // is then off by 2 pi i and is taken back.
  // Progress: the digits reached out of those wanted, the logarithm of each
  // step taking the step's part.
  const auto target = static_cast<double>(p + guard);
  double reached = 0;
  for (long q : newtonPrecisions(p + guard, 4 * Basedigits)) {
    stage.delegate(reached, static_cast<double>(q) / target);
    reached = static_cast<double>(q) / target;
    y = withPrecision(y, q + kGuard);
    bigcomplex step = withPrecision(w, q + kGuard) - logWithGuard(y, 0);
    const bigfloat pi = cachedPi(q + kGuard);
    if (abs(step.im) > pi) step.im = step.im.sign() > 0 ? step.im - bigfloat(2) * pi : step.im + bigfloat(2) * pi;
    y = withPrecision(y + y * step, q);
  }
  return withPrecision(y, p);
}

bigcomplex exp(const bigcomplex& z) {
  if (isZero(z)) return {bigfloat(1), bigfloat()};
  BIGNUM_CHECK(prec(z) != INFINITE, "x.prec () != INFINITE", kComplex);
  return expWithGuard(z, kGuard);
}

}  // namespace bignum
