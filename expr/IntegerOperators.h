// The integer test and the bitwise operators on non-negative integers, which
// work on binary digit texts; binary, octal and hexadecimal literals.
// Operands are the caller's to check (non-negative integers); nothing here
// reports an error.
#pragma once

#include <string>

#include "bignum/bigfloat.h"

// Whether x is within half a unit of the 72nd decimal of an integer; if so, x
// is replaced by that integer (at 81 digits).
bool isInteger(bignum::bigfloat& x);
// x >= 0 and an integer by isInteger; x is the caller's copy.
bool isNonNegativeInteger(bignum::bigfloat x);

// The binary digits of an exact non-negative integer, most significant first,
// without leading zeros ("0" for 0).
std::string toBinaryDigits(bignum::bigfloat x);

// |, $ and &: operands are first replaced by the integers isInteger gives.
bignum::bigfloat bitOr(const bignum::bigfloat& x, const bignum::bigfloat& y);
bignum::bigfloat bitXor(const bignum::bigfloat& x, const bignum::bigfloat& y);
bignum::bigfloat bitAnd(const bignum::bigfloat& x, const bignum::bigfloat& y);
// ~x within the width of x's binary digits rounded up to a multiple of 32:
// (2^W - 1) - x, so ~0 = 4294967295.
bignum::bigfloat bitNot(const bignum::bigfloat& x);

// x * 2^y and x / 2^y rounded to the nearest integer (halves up), with the
// power of two formed exactly. A negative y shifts the other way. Counts far
// beyond the operand's size take shortcuts: a left shift of a non-zero x gives
// a number whose magnitude is at least 2^y (refused as too big by the caller
// once y exceeds 110), a right shift gives 0.
bignum::bigfloat shiftLeft(const bignum::bigfloat& x, const bignum::bigfloat& y);
bignum::bigfloat shiftRight(const bignum::bigfloat& x, const bignum::bigfloat& y);

// Literal texts as the lexer gives them: "0b101" (or 0B), "017", "0xff" (or
// 0X), as exact integers. Leading zeros cost nothing. A literal whose
// significant digits alone put it above `limit` (the radix to the power of
// one less than their count exceeds it, by a margin no rounding reaches) is
// not converted at all: it gives the largest number, which the caller's size
// check refuses as it would the value; literals nearer the limit are
// converted and left to that check.
bignum::bigfloat fromBinaryText(const std::string& text, const bignum::bigfloat& limit);
bignum::bigfloat fromOctalText(const std::string& text, const bignum::bigfloat& limit);
bignum::bigfloat fromHexText(const std::string& text, const bignum::bigfloat& limit);
