// The integer test and the bitwise operators on non-negative integers, which
// work on binary words (see bignum/radix.h, fast at any length); binary,
// octal and hexadecimal literals. Results are exact integers.
// Operands are the caller's to check (non-negative integers); nothing here
// reports an error.
#pragma once

#include <string>

#include "bignum/bigfloat.h"

// Whether x is within half a unit of the (P - 9)th decimal of an integer (the
// 72nd by default; P is the working precision of the settings); if so, x is
// replaced by that integer, at the digits of a literal (an exact integer stays
// as it is).
bool isInteger(bignum::bigfloat& x);
// x >= 0 and an integer by isInteger; x is the caller's copy.
bool isNonNegativeInteger(bignum::bigfloat x);

// The binary digits of a non-negative integer (by isInteger), most
// significant first, without leading zeros ("0" for 0).
std::string toBinaryDigits(const bignum::bigfloat& x);

// |, $ and &: operands are first replaced by the integers isInteger gives.
bignum::bigfloat bitOr(const bignum::bigfloat& x, const bignum::bigfloat& y);
bignum::bigfloat bitXor(const bignum::bigfloat& x, const bignum::bigfloat& y);
bignum::bigfloat bitAnd(const bignum::bigfloat& x, const bignum::bigfloat& y);
// ~x within the width of x's binary digits rounded up to a multiple of 32:
// (2^W - 1) - x, so ~0 = 4294967295.
bignum::bigfloat bitNot(const bignum::bigfloat& x);

// x * 2^y and x / 2^y rounded to the nearest integer (halves up), exactly. A
// negative y shifts the other way. Counts far beyond the operand's size take
// shortcuts: a right shift gives 0 and, while the value limit is on, a left
// shift of a non-zero x by more than 4096 gives the largest number (refused as
// too big by the caller); with the limit off the caller checks the size first.
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
