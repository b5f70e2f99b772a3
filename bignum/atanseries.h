// The angle of a point at long precisions (internal to the library): the
// inverse tangent's series summed by binary splitting, by the bit-burst
// method. Measured against Newton's step on the sine and cosine, which it
// replaces above the short precisions, it takes about half the time.
#pragma once

#include "bignum/bigfloat.h"
#include "bignum/progress.h"

namespace bignum::steps {

// The angle of the point (a, b) (not both zero, of precisions q or more) in
// (-pi, pi], within 10^-q of the truth. Polls and reports through `stage`.
bigfloat angleSeries(const bigfloat& a, const bigfloat& b, long q, ProgressStage& stage);

}  // namespace bignum::steps
