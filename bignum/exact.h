// Arithmetic on exact numbers (INFINITE precision) that stays exact while the
// result is short, and is cut, as text read at a given precision would be,
// when it is not; without ever forming a long exact result only to cut it.
#pragma once

#include <optional>

#include "bignum/bigfloat.h"

namespace bignum {

// The significant decimal digits x holds: from its first non-zero digit to its
// last non-zero digit (0 for zero). 1.25e300 holds 3.
long significantDigits(const bigfloat& x);

// log10 |x| to about the accuracy of a double, for any exponent; x must not be
// zero ("x.sign ()").
double log10Magnitude(const bigfloat& x);

// x unchanged when it holds at most `digits` significant digits; otherwise x
// with the precision `digits` (whole words), its words beyond it cut: what the
// text of x read at `digits` digits gives.
bigfloat cutBeyond(const bigfloat& x, long digits);

// a + b (or a - b with `subtract`) of two exact numbers ("prec == INFINITE"),
// through cutBeyond(exact result, digits). An operand lying far below the
// other's last word is replaced by one word that stands for it there, so the
// work follows the operands' sizes, not the distance between them.
bigfloat exactSum(const bigfloat& a, const bigfloat& b, bool subtract, long digits);

// a / b of two exact numbers ("prec == INFINITE", b not zero ("b->sign")) when
// the quotient ends within `digits` + 18 significant digits: that quotient
// through cutBeyond. Nothing when it does not end there (1 / 3).
std::optional<bigfloat> exactQuotient(const bigfloat& a, const bigfloat& b, long digits);

}  // namespace bignum
