// The evaluator's rules for the digits of its numbers. L, the digits of a
// literal, is the working precision P of the settings in force rounded up to
// whole words (81 by default).
//
// Decimal literals of at most L significant digits are exact, and so are
// +, -, * and integer powers of exact numbers while their results hold at
// most L significant digits; beyond that a result is cut to L digits, as the
// literal of its text would be. With the value limit off, integer results of
// exact numbers are never cut. Division of exact numbers stays exact when the
// quotient ends within those digits (7 / 8), or is an integer and the limit
// is off; one that does not end (1 / 3), the elementary functions, square
// roots, non-integer powers and the constants PI and E carry L + 9 digits: a
// guard word beyond L, so that every digit an answer shows (at most P - 8
// significant ones) is right.
//
// Nothing here reports an error: domains, messages and the size limit are
// the caller's.
#pragma once

#include <optional>
#include <string>

#include "bignum/bigfloat.h"
#include "bignum/init.h"

namespace arithmetic {

// L: the significant digits of literals and of results cut for length.
long literalDigits();
// The digits of the results that are not exact: L and one guard word more.
inline long resultDigits() { return literalDigits() + bignum::Basedigits; }
// Whether the value limit is off, so that integer results stay exact at any size.
bool unlimited();

inline bool isExact(const bignum::bigfloat& x) { return x.prec() == bignum::INFINITE; }
// Whether x is an exact integer: no word of its mantissa lies below the point
// (a mantissa never ends in a zero word).
inline bool isExactInteger(const bignum::bigfloat& x) {
  return isExact(x) && (x.sign() == 0 || x.wordExponent() >= static_cast<std::int64_t>(x.size()));
}

// Whether |x| lies above the value limit in force or, with the limit off,
// beyond the number library's range (where its results saturate).
bool beyondLimit(const bignum::bigfloat& x);

// x at precision p, as bigfloat::prec sets it (a longer mantissa is cut).
inline bignum::bigfloat withPrecision(bignum::bigfloat x, long p) {
  x.prec(p);
  return x;
}

// x with digits, for a computation whose result is not exact: an exact x gets
// the L digits of a literal, any other x stays as it is.
inline bignum::bigfloat withLiteralDigits(const bignum::bigfloat& x) {
  return isExact(x) ? withPrecision(x, literalDigits()) : x;
}

// The value of a decimal literal's text (digits, an optional point and
// exponent, as the lexer gives it): exact with at most L significant
// digits, or an integer when the limit is off; else cut to L.
bignum::bigfloat decimal(const std::string& text);

// x ready for a function or a division: an exact x and one with the L
// digits of a literal get L + 9, their digits taken as they stand (a longer
// exact x is cut); fewer digits, left by cancellation, stay as few.
bignum::bigfloat working(const bignum::bigfloat& x);

// a + b, a - b, a * b. Two exact operands give the exact result while it has
// at most L significant digits (or is an integer and the limit is off), else
// that result cut to L. An exact operand meeting one with digits gets that
// one's precision (at least L) first.
bignum::bigfloat add(const bignum::bigfloat& a, const bignum::bigfloat& b);
bignum::bigfloat subtract(const bignum::bigfloat& a, const bignum::bigfloat& b);
bignum::bigfloat multiply(const bignum::bigfloat& a, const bignum::bigfloat& b);
// a / b for b != 0: exact for two exact operands whose quotient ends within
// L digits (or, with the limit off, is an integer), else at the operands'
// precision, at least L + 9 digits.
bignum::bigfloat divide(const bignum::bigfloat& a, const bignum::bigfloat& b);
// The remainder of a / b truncated toward zero, with the sign of a (b != 0);
// exact for exact operands. Otherwise the operands' errors, multiplied by the
// quotient, take the words of the remainder they reach.
bignum::bigfloat remainder(const bignum::bigfloat& a, const bignum::bigfloat& b);

// The exact integer y is, when y is exact and whole or passes the integer
// test (see isInteger); else nothing.
std::optional<bignum::bigfloat> integerExponent(const bignum::bigfloat& y);
// log10 |x^y| in double arithmetic, good to a few units in its last digits
// (x != 0): what decides, before any powering, that a power is far too large.
double powerMagnitude(const bignum::bigfloat& x, const bignum::bigfloat& y);
// x^n for an exact integer n (x != 0 when n < 0), by binary powering: exact
// for an exact x while the result has at most L significant digits or, with
// the limit off, is an integer; else cut to L (L + 9 for n < 0, a
// reciprocal); for x with digits, to x's precision.
bignum::bigfloat integerPower(const bignum::bigfloat& x, const bignum::bigfloat& n);
// x^y = exp(y log x) for x > 0, at the operands' precision, at least L + 9 digits.
bignum::bigfloat generalPower(const bignum::bigfloat& x, const bignum::bigfloat& y);

}  // namespace arithmetic
