// Logarithms of small integers by series (internal to the library). Measured
// against the arithmetic-geometric mean with its constants cached, the series
// afresh win at every precision (by a quarter at 27 digits, twice from 500 on).
#pragma once

#include <optional>

#include "bignum/bigfloat.h"

namespace bignum::steps {

// log x to p digits (every word but the last correct) when x's stored value is
// an integer 2^a 3^b 5^c from 2 to 10^18, else nothing. From three series
// atanh(1/m) = sum 1 / ((2k + 1) m^(2k + 1)) for m = 31, 49 and 161, summed by
// binary splitting and kept in a process-wide cache (computed afresh when more
// digits are asked for):
//   log 2 = 14 a + 10 b + 6 c,  log 3 = 22 a + 16 b + 10 c,  log 5 = 32 a + 24 b + 14 c.
std::optional<bigfloat> smoothLog(const bigfloat& x, long p);

// Empties the cache of smoothLog.
void clearSmoothLogCache();

}  // namespace bignum::steps
