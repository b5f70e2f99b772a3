// The texts of the result view: an integer in base 2, 8 or 16 with its
// digits grouped (a negative one in two's complement), and an angle in
// radians as degrees.
#pragma once

#include <optional>
#include <string>

#include "bignum/bigfloat.h"

// `value` (a non-negative integer) in base 2, 8 or 16, digits "0"-"9", "A"-"F",
// grouped from the right: base 2 in nibbles separated by a blank and bytes by
// ", "; base 8 in threes by a blank and every four groups by ", "; base 16 in
// bytes by a blank and every four bytes by ", ". 0 is "0"; 4294967296 in base
// 16 is "1, 00 00 00 00".
// Any length: the digits come from the value's binary words (bignum/radix.h).
std::string radixText(bignum::bigfloat value, int base);

// `value` (an integer of either sign, as isInteger leaves it) in base 2, 8 or
// 16, grouped as radixText. A non-negative value is radixText's and `width` is
// not looked at. A negative value is written as its two's complement in
// `width` bits (a positive multiple of 8, or 0 for the smallest multiple of 8
// that holds it) with every digit of the width: `width` binary digits,
// width / 4 hexadecimal ones and ceil(width / 3) octal ones, the top octal
// digit holding the bits left over (-1 in 8 bits is "377", in 16 "177 777").
// Returns nothing for a negative value that does not fit (below
// -2^(width - 1)).
std::optional<std::string> integerRadixText(const bignum::bigfloat& value, int base, int width);

// `radians` as degrees: the degrees below one full turn, preceded by
// "<turns> * 360 + " (with a "-" for a negative value) when it is a turn or
// more; each number with 40 decimals. 7 gives "1 * 360 + 41.07...".
std::string degreesText(const bignum::bigfloat& radians);
