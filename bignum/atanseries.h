// The angle of a point at long precisions (internal to the library): the
// inverse tangent's series summed by binary splitting, by the bit-burst
// method. Measured against Newton's step on the sine and cosine, which it
// replaces above the short precisions, it takes about half the time.
#pragma once

#include "bignum/bigfloat.h"
#include "bignum/progress.h"

namespace bignum::steps {

// Turns the point (x, y) by k quarter turns, exactly (the coordinates trade
// places and signs), so that x >= |y|: its angle then lies within pi/4 of 0,
// and the angle before was that plus k pi/2. Returns k, from -2 to 2 (2, not
// -2, for the negative x-axis).
int turnWithinQuarter(bigfloat& x, bigfloat& y);
// angle + k pi/2 at w digits.
bigfloat plusQuarters(const bigfloat& angle, int k, long w);

// The angle of the point (a, b) (not both zero, of precisions q or more) in
// (-pi, pi], within 10^-q of the truth. Polls and reports through `stage`.
bigfloat angleSeries(const bigfloat& a, const bigfloat& b, long q, ProgressStage& stage);

}  // namespace bignum::steps
