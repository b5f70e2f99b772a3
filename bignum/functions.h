// Elementary functions of bigfloat numbers: pi, e, the arithmetic-geometric mean,
// logarithm, exponential, general power, factorial products and the circular
// functions and their inverses, and the inverse hyperbolic tangent.
//
// Arguments other than zero need a finite precision (exact numbers are
// refused with the assertion "x.prec () != INFINITE", source "functions"); the
// result has the argument's precision (the smaller one for two arguments) and
// every word but the last is correct. Zero, always exact, gives exact results
// (exp(0) = cos(0) = 1, sin(0) = 0, ...). Domains are the caller's to check: a logarithm of a
// number that is not positive stops the process ("u.sign () > 0").
// Not thread-safe: pi, e and logarithms are kept in process-wide caches, which a
// computation stopped by an exception (Cancelled, ResourceError) leaves valid.
#pragma once

#include <cstddef>

#include "bignum/bigfloat.h"

namespace bignum {

// pi to p digits, computed afresh by the Chudnovsky series.
bigfloat pi(long p);
// pi to p digits from the process-wide cache, whose series is extended (not
// started over) when more digits are asked for.
bigfloat cachedPi(long p);
// How many terms of the series the cache holds (0 before its first use).
std::size_t cachedPiTerms();
// e to p digits (finite), computed afresh from sum 1/k! by binary splitting.
bigfloat e(long p);
// e to p digits from the process-wide cache, whose series is extended (not
// started over) when more digits are asked for.
bigfloat cachedE(long p);
// Empties the caches of pi, e and the logarithms, for tests.
void clearFunctionCaches();

// Whether x (of finite precision) lies so far below 1 that x^4 is below its
// precision: an odd function whose series starts x + c x^3 is then that to
// every digit, and the general ways, which take as many extra digits as x lies
// below 1, are not needed (at 81 digits: |x| below about 1e-34).
bool belowSeries(const bigfloat& x);
// x + (n / d) x^3 at x's precision, for x that is belowSeries.
bigfloat cubicSeries(const bigfloat& x, int n, int d);

// The arithmetic-geometric mean of a and b >= 0 (zero when either is zero).
bigfloat agm(const bigfloat& a, const bigfloat& b);

// Natural logarithm of x > 0: by the arithmetic-geometric mean, and for the
// integers 2^a 3^b 5^c up to 10^18 (2, 3, 10, ...) from series kept in a cache.
bigfloat log(const bigfloat& x);
// e^x; exp(0) is an exact 1 and exp(1) is cachedE. By its series (bit-burst
// method), after taking out a multiple of ln 10^9 where |x| >= 48.
bigfloat exp(const bigfloat& x);
// x^y = exp(y log x) for x > 0, at the smaller of the two precisions: y log x
// is taken with as many more digits as it has before the point (no more than
// where the power leaves the exponent range), so a large exponent costs no
// word of the result. x = 1 or y = 0 give an exact 1.
bigfloat pow(const bigfloat& x, const bigfloat& y);

// m (m + 1) ... n exactly (the bounds in either order); (m, 0) is 1.
bigfloat factorialProduct(unsigned m, unsigned n);

bigfloat sin(const bigfloat& x);
bigfloat cos(const bigfloat& x);
// tan(x) = sin(x) / cos(x); a cosine that is zero within the precision stops
// the process as a division by zero ("b->sign").
bigfloat tan(const bigfloat& x);
// For -1 <= x <= 1. Near +-1, where 1 - x^2 cancels, the exact difference of
// x's stored digits from 1 carries the result.
bigfloat asin(const bigfloat& x);
bigfloat acos(const bigfloat& x);
bigfloat atan(const bigfloat& x);
// The inverse hyperbolic tangent, for -1 < x < 1 (|x| >= 1 stops the process:
// "|x| < 1"); zero gives an exact zero. Correct to all but the last word also
// near +-1 (from the exact 1 - x and 1 + x) and near 0.
bigfloat atanh(const bigfloat& x);

}  // namespace bignum
