// pi by the Chudnovsky series, summed by binary splitting:
//   pi = 53360 Q sqrt(640320) / T
// over the terms k = 0 .. n, with a(k) = (-1)^k (A + B k),
// p(k) = (2k - 1)(6k - 5)(6k - 1) and q(k) = R k^3 (p(0) = q(0) = 1).
#include <cmath>

#include "bignum/check.h"
#include "bignum/functions.h"
#include "bignum/functions_steps.h"
#include "bignum/progress.h"

namespace bignum {

namespace {

constexpr std::uint64_t A = 13591409, B = 545140134;
constexpr std::uint64_t R = std::uint64_t{101568000} * 107701824;  // 640320^3 / 24

using steps::exactOf;
using steps::Split;
using steps::u128;

Split term(std::uint64_t k) {
  if (k == 0) return Split{bigfloat(1), bigfloat(1), exactOf(A)};
  const u128 p = static_cast<u128>(2 * k - 1) * (6 * k - 5) * (6 * k - 1);
  const u128 q = static_cast<u128>(R) * k * k * k;
  Split s{exactOf(p), exactOf(q), bigfloat()};
  s.T = s.P * exactOf(A + B * k, k % 2 == 0 ? 1 : -1);
  return s;
}

// The progress of a splitting: the work of its parts finished (see
// splittingWork), which makes up `share` of the stage.
struct Tally {
  ProgressStage& stage;
  double total, share, done = 0;
  void finished(std::uint64_t terms) {
    done += static_cast<double>(terms);
    stage.advance(share * done / total, terms);
  }
};

constexpr std::uint64_t kLeaf = 4;  // the longest part summed term by term

// P, Q, T over the terms [first, last).
Split split(std::uint64_t first, std::uint64_t last, Tally& tally) {
  BIGNUM_CHECK(first != last, "N1 != N2", "functions");
  const std::uint64_t middle = (first + last) / 2;
  if (last - first <= kLeaf) {
    Split s = term(first);
    for (std::uint64_t k = first + 1; k < last; ++k) {
      const Split t = term(k);
      s.T = s.T * t.Q + s.P * t.T;
      s.P = s.P * t.P;
      s.Q = s.Q * t.Q;
    }
    tally.finished(last - first);
    return s;
  }
  Split left = split(first, middle, tally);
  const Split right = split(middle, last, tally);
  left.T = left.T * right.Q + left.P * right.T;
  left.P = left.P * right.P;
  left.Q = left.Q * right.Q;
  tally.finished(last - first);
  return left;
}

// The series over the terms [first, last), as `share` of the stage.
Split series(std::uint64_t first, std::uint64_t last, ProgressStage& stage, double share) {
  Tally tally{stage, static_cast<double>(steps::splittingWork(last - first, kLeaf)), share};
  return split(first, last, tally);
}

// The terms needed for p digits: p ln(10) / ln(640320^3 / 1728), rounded.
std::uint64_t termsFor(long p) {
  // A digit count is far below 2^53, so it is exact as a double.
  return static_cast<std::uint64_t>(std::llround(static_cast<double>(p) * std::log(10.0) / 32.65445004177));
}

// pi from the series, the last part of the stage from `from` on: the root
// and the division cost about as much as the top level of the splitting.
bigfloat fromSeries(const Split& s, long p, ProgressStage& stage, double from) {
  const long guarded = p + 2 * Basedigits;
  bigfloat Q = s.Q, T = s.T;
  Q.prec(guarded);
  T.prec(guarded);
  bigfloat root(640320, guarded);
  stage.delegate(from, from + (1 - from) / 3);
  root = sqrt(root);
  const bigfloat numerator = bigfloat(53360) * Q * root;
  stage.delegate(from + (1 - from) / 3, 1);
  bigfloat result = numerator / T;
  result.prec(p);
  return result;
}

constexpr double kSeriesShare = 0.85;  // of the stage, before the root and the division

struct PiCache {
  Split series{bigfloat(1), bigfloat(1), bigfloat()};
  std::uint64_t terms = 0;  // the series holds terms 0 .. terms - 1
  bigfloat value;
  long prec = 0;
};

PiCache& cache() {
  static PiCache c;
  return c;
}

}  // namespace

bigfloat pi(long p) {
  BIGNUM_CHECK(p != INFINITE, "x.prec () != INFINITE", "functions");
  ProgressStage stage("pi");
  return fromSeries(series(0, termsFor(p) + 1, stage, kSeriesShare), p, stage, kSeriesShare);
}

bigfloat cachedPi(long p) {
  BIGNUM_CHECK(p != INFINITE, "x.prec () != INFINITE", "functions");
  PiCache& c = cache();
  if (c.prec < p) {
    // The series continues after the terms already summed. The cache takes
    // the new series and value together at the end, so that a computation
    // stopped by an exception (a full disk, a cancel) leaves it as it was.
    ProgressStage stage("pi");
    const std::uint64_t wanted = std::max(c.terms, termsFor(p) + 1);
    Split grown = c.series;
    if (c.terms == 0) {
      grown = series(0, wanted, stage, kSeriesShare);
    } else if (wanted > c.terms) {
      // The products joining the two series take the last tenth before the root.
      const Split more = series(c.terms, wanted, stage, kSeriesShare - 0.1);
      grown = Split{c.series.P * more.P, c.series.Q * more.Q, c.series.T * more.Q + c.series.P * more.T};
    }
    const bigfloat value = fromSeries(grown, p, stage, kSeriesShare);
    c.series = grown;
    c.terms = wanted;
    c.value = value;
    c.prec = p;
  }
  bigfloat result = c.value;
  result.prec(p);
  return result;
}

std::size_t cachedPiTerms() { return cache().terms; }

void clearFunctionCaches() {
  cache() = PiCache();
  steps::clearLogCaches();
}

}  // namespace bignum
