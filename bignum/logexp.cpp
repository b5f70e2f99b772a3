// The arithmetic-geometric mean, the logarithm through it, the exponential
// (its series is in expseries.cpp), general powers and factorial products.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>

#include "bignum/exact.h"
#include "bignum/expseries.h"
#include "bignum/fastfn.h"
#include "bignum/functions.h"
#include "bignum/functions_steps.h"
#include "bignum/logseries.h"
#include "bignum/progress.h"
#include "bignum/storage.h"

namespace bignum {

using namespace steps;

namespace {

// The digits to which a and b (both positive) surely agree: their difference
// lies below 10^-d of a. Zero when they differ in the leading digit.
std::int64_t agreeingDigits(const bigfloat& a, const bigfloat& b) {
  const bigfloat difference = a - b;
  if (difference.sign() == 0) return std::numeric_limits<std::int64_t>::max() / 4;
  // |a - b| < 10^difference.exp() and a >= 10^(a.exp() - 9).
  return std::max<std::int64_t>(0, a.exp() - Basedigits - difference.exp());
}

constexpr long kLog10Margin = 10 * Basedigits;

struct LogCache {
  bigfloat log10;
  long log10Prec = 0;
  // agm(1, 10^-e) for the precisions asked last. A Newton iteration asks for
  // one per step, about log2(p / 36) of them (19 at 10^7 digits), and asks
  // again on its next call: all of them must stay. Together they hold about
  // twice the words of the longest.
  static constexpr int kScales = 32;
  bigfloat agmOfScale[kScales];
  bigfloat termOfScale[kScales];  // pi / (2 agm(1, 10^-e)), once asked (zero before)
  long agmPrec[kScales] = {};
  int nextScale = 0;
};

LogCache& logCache() {
  static LogCache c;
  return c;
}

// The slot of agm(1, 10^-e) at p digits in the cache, computed if it is not there.
int scaleSlot(long p) {
  LogCache& c = logCache();
  int slot = 0;
  while (slot < LogCache::kScales && c.agmPrec[slot] != p) ++slot;
  if (slot == LogCache::kScales) {
    slot = c.nextScale;
    c.nextScale = (c.nextScale + 1) % LogCache::kScales;
    const bigfloat one = withPrecision(bigfloat(1), p);
    bigfloat s = one;
    s.exp(s.exp() - logScale(p));
    c.agmOfScale[slot] = agm(one, s);
    c.termOfScale[slot] = bigfloat();
    c.agmPrec[slot] = p;
  }
  return slot;
}

// pi / (2 agm(1, 10^-e)) at p digits, kept beside the mean.
bigfloat logScaleTerm(long p) {
  LogCache& c = logCache();
  const int slot = scaleSlot(p);
  if (c.termOfScale[slot].sign() == 0) c.termOfScale[slot] = half(cachedPi(p)) / c.agmOfScale[slot];
  return c.termOfScale[slot];
}

// log x for x > 0 of magnitude near 1 (10^-9 <= x < 10^9 after the split of
// logWithGuard): with s = 10^-e, e = p/2 + 18 digits, log x = pi / (2 A1) -
// pi / (2 A2) where A1 = agm(1, s) and A2 = agm(1, x s). Each mean is
// pi / (2 log(4 / y)) for its y = s or x s to within a factor 1 + O(y^2), and
// y^2 <= 10^18 s^2 lies 18 digits below p. The first term is cached with A1.
// The two means make up most of `stage`.
bigfloat logCore(const bigfloat& x, ProgressStage& stage) {
  BIGNUM_CHECK(x.sign() > 0, "u.sign () > 0", "functions");
  const long p = x.prec();
  stage.delegate(0, 0.45);
  const bigfloat first = logScaleTerm(p);
  bigfloat xs = x;
  xs.exp(xs.exp() - logScale(p));
  stage.delegate(0.45, 0.9);
  const bigfloat A2 = agm(withPrecision(bigfloat(1), p), xs);
  stage.delegate(0.9, 1);
  return first - half(cachedPi(p)) / A2;
}

}  // namespace

namespace steps {

bigfloat cachedLog10(long p) {
  LogCache& c = logCache();
  if (c.log10Prec < p) {
    // A few words more than asked: the callers' guards differ by a few words
    // (the exponential's reduction, the logarithm of a large or small x), and
    // each would otherwise start it over at a precision just above the last.
    const long wide = p + kLog10Margin;
    c.log10 = *smoothLog(bigfloat(10), wide);
    c.log10Prec = wide;
  }
  return withPrecision(c.log10, p);
}

void clearLogCaches() {
  logCache() = LogCache();
  clearECache();
  clearSmoothLogCache();
}

bigfloat logScaleAgm(long p) { return logCache().agmOfScale[scaleSlot(p)]; }

}  // namespace steps

bigfloat agm(const bigfloat& x, const bigfloat& y) {
  if (x.sign() == 0 || y.sign() == 0) return bigfloat();
  const long p = std::min(x.prec(), y.prec());
  BIGNUM_CHECK(p != INFINITE, "x.prec () != INFINITE", "functions");
  // A word beyond the precision takes the roundings of the steps, whose
  // square roots are good to all but their last word.
  const long q = std::max<long>(p, Basedigits) + Basedigits;
  bigfloat a = withPrecision(x, q), b = withPrecision(y, q);
  // Once a and b agree to d digits, with m = (a + b) / 2 and t = (a - b) /
  // (a + b) below 10^-d, the limit is m (1 - t^2 / 4 - 5 t^4 / 64 - ...): m
  // alone is it to 2 d digits, m - (a - b)^2 / (8 (a + b)) to 4 d. So the
  // loop stops once 4 d reaches q, a step earlier than the mean alone would
  // allow, or after the steps that surely bring a and b as close as rounding
  // lets them come.
  const double ratio = std::fabs(log10Magnitude(a) - log10Magnitude(b)) * std::log(10.0);
  const int limit = agmStepLimit(ratio, q);
  // Progress: the steps done out of the most there can be, as each costs the same.
  ProgressStage stage("arithmetic-geometric mean");
  for (int step = 0; step < limit; ++step) {
    const std::int64_t agree = agreeingDigits(a, b);
    if (2 * agree >= q) break;
    if (4 * agree >= q) {
      // The correction is below 10^-2d of m: q - 2 d digits of it (and two
      // words to spare) reach m's last digit.
      const long c = std::max<long>(q - 2 * static_cast<long>(agree), Basedigits) + 2 * Basedigits;
      const bigfloat gap = withPrecision(a - b, c);
      const bigfloat correction = gap * gap / (bigfloat(8) * withPrecision(a + b, c));
      return withPrecision(withPrecision(half(a + b), q) - withPrecision(correction, q), p);
    }
    stage.advance(step / static_cast<double>(limit), static_cast<std::size_t>(q));
    const bigfloat mean = withPrecision(half(a + b), q);
    b = withPrecision(sqrt(a * b), q);
    a = mean;
  }
  return withPrecision(half(a + b), p);
}

namespace steps {

bigfloat logWithGuard(const bigfloat& x, long guard) {
  const long p = x.prec();
  // Near 1 the logarithm is about x - 1, small: it takes the digits it lies
  // below 1 more, from x's exact words.
  const bigfloat offset = offsetFromOne(x);
  if (offset.sign() == 0) return withPrecision(bigfloat(), p);
  if (const auto value = smoothLog(x, p)) return *value;
  const long small = static_cast<long>(std::max<std::int64_t>(0, -offset.exp()));
  bigfloat wide = x;
  wide.prec(p + small + guard);
  const long q = wide.prec();
  // x = m 10^E with 10^-9 <= m < 1: log x = log m + E log 10. Below 10^9
  // the mean takes x itself (the formula holds up to x s = 10^9 s, see
  // logCore), without log 10.
  const std::int64_t E = wide.exp() == Basedigits ? 0 : wide.exp();
  bigfloat m = wide;
  m.exp(wide.exp() - E);
  ProgressStage stage("logarithm");
  std::optional<bigfloat> quick;
  if (q <= kShortLog) quick = logShort(m, q);
  bigfloat result = quick ? *quick : logCore(m, stage);
  if (E != 0) result = result + exactInteger(E) * cachedLog10(q + Basedigits);
  return withPrecision(result, p);
}

}  // namespace steps

bigfloat log(const bigfloat& x) {
  requireFinite(x);
  BIGNUM_CHECK(x.sign() > 0, "u.sign () > 0", "functions");
  return logWithGuard(x, kGuard);
}

namespace {

// e^r for |r| < kSeriesReach, by the short path or the series.
bigfloat expReduced(const bigfloat& r, long q, ProgressStage& stage) {
  return q <= kShortExp ? expShort(r, q) : expSeries(r, q, stage);
}

// An exact integer of int64 range, as an int64.
std::int64_t toInteger(const bigfloat& whole) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << pretty << whole;
  return std::strtoll(text.str().c_str(), nullptr, 10);
}

}  // namespace

bigfloat exp(const bigfloat& x) {
  if (x.sign() == 0) return bigfloat(1);
  requireFinite(x);
  const long p = x.prec(), q = p + kGuard;
  if (x == bigfloat(1)) return cachedE(p);
  ProgressStage stage("exponential");
  const bigfloat exact = withPrecision(x, INFINITE);
  if (compare(x, bigfloat(kSeriesReach), true) < 0) return withPrecision(expReduced(exact, q, stage), p);
  // e^x = e^(x - k ln 10^9) 10^(9 k), the first factor's argument in [0, ln 10^9).
  // Beyond the exponent range: the largest number, or zero, as for any result out of range.
  const double k = std::floor(getdouble(x) / std::log(1e9));
  if (k >= static_cast<double>(MAXEXPONENT)) return largest(p);
  if (k <= -static_cast<double>(MAXEXPONENT)) return bigfloat();
  // ln 10^9 with k's digits more, so that k ln 10^9 is good to 10^-(q + 18).
  // A double holds x only to its leading 16 digits, so k comes from x's own.
  const long lead = static_cast<long>(x.exp()) + 2 * Basedigits;
  const bigfloat lnWord = cachedLog10(lead + q) * bigfloat(Basedigits);
  const bigfloat whole = floor(withPrecision(x, lead) / withPrecision(lnWord, lead));
  bigfloat y = expReduced(exact - whole * lnWord, q, stage);
  y.exp(y.exp() + toInteger(whole) * Basedigits);  // below the exponent range: zero
  return y.sign() == 0 ? y : withPrecision(y, p);
}

namespace {

// A decimal exponent L with |log x| < 10^L for x > 0 other than 1, and
// |log x| >= 10^(L - 11): within 10^-9 of 1 from the exact x - 1, else from
// doubles, whose error lies far below |log x| there.
std::int64_t logMagnitude(const bigfloat& x, const bigfloat& offset) {
  // |log x| <= |d| / (1 - |d|) for d = x - 1, and |d| < 10^offset.exp().
  if (offset.exp() <= -Basedigits) return offset.exp() + 1;
  bigfloat m = x;
  m.exp(0);  // x = m 10^E with 10^-9 <= m < 1
  const long double estimate =
      std::log(static_cast<long double>(getdouble(m))) + static_cast<long double>(x.exp()) * std::log(10.0L);
  return static_cast<std::int64_t>(std::floor(std::log10(std::fabs(estimate)))) + 2;
}

// Digits of y log x beyond which e^(y log x) lies out of the exponent range
// (whose logarithm stays below about 6e18) even when |y log x| is 10^20 below
// the bound that logMagnitude and y's exponent give.
constexpr std::int64_t kOutOfRange = 45;

}  // namespace

bigfloat pow(const bigfloat& x, const bigfloat& y) {
  const long p = std::min(x.prec(), y.prec());
  BIGNUM_CHECK(p != INFINITE, "x.prec () != INFINITE", "functions");
  BIGNUM_CHECK(x.sign() > 0, "u.sign () > 0", "functions");
  const bigfloat offset = offsetFromOne(x);
  if (y.sign() == 0 || offset.sign() == 0) return bigfloat(1);
  // e^z is as good as the absolute error of z = y log x: log x needs the
  // digits of |z| beyond p, which a bound on |y| 10^L gives.
  const std::int64_t size = y.exp() + logMagnitude(x, offset);
  const long q = p + kGuard + static_cast<long>(std::clamp<std::int64_t>(size, 0, kOutOfRange));
  // Digits of x past q count only near 1, where log x is about x - 1 and
  // needs x's digits down to q below its own leading one.
  bigfloat base = x;
  const long near = static_cast<long>(std::max<std::int64_t>(0, -offset.exp()));
  base.prec(x.prec() > q ? std::min<long>(x.prec(), q + near) : q);
  ProgressStage stage("power");
  cachedLog10(q);
  stage.delegate(0, 0.5);
  const bigfloat logBase = logWithGuard(base, kGuard);
  const bigfloat z = withPrecision(withPrecision(y, q) * withPrecision(logBase, q), q);
  stage.delegate(0.5, 1);
  return withPrecision(exp(z), p);
}

namespace {

// The progress of a factorial product: the work of its parts finished (see splittingWork).
struct Tally {
  explicit Tally(double work) : total(work) {}
  ProgressStage stage{"factorial"};
  double total, done = 0;
  void finished(unsigned factors) {
    done += factors;
    stage.advance(done / total, factors);
  }
};

// m (m + 1) ... n for m <= n, halving the range.
bigfloat product(unsigned m, unsigned n, Tally& tally) {
  bigfloat result;
  if (n == 0) {
    result = bigfloat(1);
  } else if (m == n) {
    result = bigfloat(m);
  } else {
    const unsigned h = m + (n - m) / 2;
    result = floor(product(m, h, tally) * product(h + 1, n, tally));
  }
  tally.finished(n - m + 1);
  return result;
}

}  // namespace

bigfloat factorialProduct(unsigned m, unsigned n) {
  if (m > n) std::swap(m, n);
  if (n == 0) return bigfloat(1);
  if (m == n) return bigfloat(m);
  Tally tally(static_cast<double>(splittingWork(std::uint64_t{n} - m + 1, 1)));
  return product(m, n, tally);
}

}  // namespace bignum
