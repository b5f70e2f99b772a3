// The series of the exponential summed by binary splitting (internal to the
// library). Measured against Newton's iteration on the logarithm, which exp
// took before, it is faster at every precision (twice at one word, about
// four times at 10^4 digits).
#pragma once

#include <utility>

#include "bignum/bigfloat.h"
#include "bignum/progress.h"

namespace bignum::steps {

// The largest |r| that expSeries takes: beyond it the caller takes out a
// multiple of ln 10^9, as the series would need too many terms.
inline constexpr int kSeriesReach = 48;

// e^r to q digits (every word but the last correct) for an exact r with
// |r| < kSeriesReach, by the bit-burst method: r is cut into pieces of
// doubling digit counts, whose exponentials come from their series summed by
// binary splitting, and they are multiplied. Digits of r below 10^-(q + 18)
// play no part. Polls and reports through `stage`.
bigfloat expSeries(const bigfloat& r, long q, ProgressStage& stage);

// (sin r, cos r) for an exact r with |r| < 1, each within 10^-q of the truth, by
// the same bit-burst method on e^(i r), whose pieces' series carry powers of i.
std::pair<bigfloat, bigfloat> sinCosSeries(const bigfloat& r, long q, ProgressStage& stage);

// Empties the cache of e (see cachedE).
void clearECache();

}  // namespace bignum::steps
