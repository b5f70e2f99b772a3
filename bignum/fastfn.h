// The elementary functions at short precisions (internal to the library), on
// fixed-point words: the exponential and the sine and cosine from their
// series after halving the argument, then squaring or doubling back; the
// logarithm and the angle of a point from a double's estimate, set right by
// one exponential or one sine and cosine and the series of a tiny remainder.
// Above the precisions below, the general methods (binary splitting, the
// arithmetic-geometric mean) are faster; the crossovers are measured.
#pragma once

#include <optional>

#include "bignum/bigfloat.h"

namespace bignum::steps {

// The longest precisions, in digits, for which the short paths serve.
inline constexpr long kShortExp = 4000;
inline constexpr long kShortCircular = 10000;
inline constexpr long kShortLog = 400;
inline constexpr long kShortAngle = 5000;

// e^r to q digits (every word but the last correct) for an exact r with |r| < 48.
bigfloat expShort(const bigfloat& r, long q);

// sin r and cos r for a finite r with |r| <= pi/4 (the cosine comes from
// sqrt(1 - sin^2 r), positive), each within 10^-q of the truth (so good to q
// digits less as many as it lies below 1).
struct SinCosPair {
  bigfloat sin, cos;
};
SinCosPair sinCosShort(const bigfloat& r, long q);

// The angle of the point (a, b) (not both zero) in (-pi, pi], within 10^-q of
// the truth. Nothing when a double's estimate of it is off by more than
// 10^-3, which only a point beyond the range of doubles can make.
std::optional<bigfloat> angleShort(const bigfloat& a, const bigfloat& b, long q);

// log m for 10^-10 < m < 10^10 of finite precision, within 10^-q of the truth.
// Nothing when a double's estimate of it is off by more than 10^-3.
std::optional<bigfloat> logShort(const bigfloat& m, long q);

}  // namespace bignum::steps
