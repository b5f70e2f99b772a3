// The texts of the result view: a non-negative integer in base 2, 8 or 16
// with its digits grouped, and an angle in radians as degrees.
#pragma once

#include <string>

#include "bignum/bigfloat.h"

// `value` (a non-negative integer) in base 2, 8 or 16, digits "0"-"9", "A"-"F",
// grouped from the right: base 2 in nibbles separated by a blank and bytes by
// ", "; base 8 in threes by a blank and every four groups by ", "; base 16 in
// bytes by a blank and every four bytes by ", ". 0 is "0"; 4294967296 in base
// 16 is "1, 00 00 00 00".
std::string radixText(bignum::bigfloat value, int base);

// `radians` as degrees: the degrees below one full turn, preceded by
// "<turns> * 360 + " (with a "-" for a negative value) when it is a turn or
// more; each number with 40 decimals. 7 gives "1 * 360 + 41.07...".
std::string degreesText(const bignum::bigfloat& radians);
