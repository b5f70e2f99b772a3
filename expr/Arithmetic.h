// The evaluator's rules for the digits of its numbers.
//
// Decimal literals of at most 81 significant digits are exact, and so are
// +, -, * and integer powers of exact numbers while their results hold at
// most 81 significant digits; beyond that a result is cut to 81 digits, as
// the literal of its text would be. Division of exact numbers stays exact
// when the quotient ends within those digits (7 / 8); one that does not end
// (1 / 3), the elementary functions, square roots, non-integer powers and the
// constants PI and E carry 90 digits: a guard word beyond the 81, so that
// every digit an answer shows (at most 73 significant ones) is right.
//
// Nothing here reports an error: domains, messages and the size limit are
// the caller's.
#pragma once

#include <optional>
#include <string>

#include "bignum/bigfloat.h"

namespace arithmetic {

// The significant digits of literals and of results cut for length.
inline constexpr long kLiteralDigits = 81;
// The digits of the results that are not exact (one guard word more).
inline constexpr long kResultDigits = 90;

inline bool isExact(const bignum::bigfloat& x) { return x.prec() == bignum::INFINITE; }

// x at precision p, as bigfloat::prec sets it (a longer mantissa is cut).
inline bignum::bigfloat withPrecision(bignum::bigfloat x, long p) {
  x.prec(p);
  return x;
}

// x with digits, for a computation whose result is not exact: an exact x gets
// the 81 digits of a literal, any other x stays as it is.
inline bignum::bigfloat withLiteralDigits(const bignum::bigfloat& x) {
  return isExact(x) ? withPrecision(x, kLiteralDigits) : x;
}

// The value of a decimal literal's text (digits, an optional point and
// exponent, as the lexer gives it): exact with at most 81 significant
// digits, else cut to 81.
bignum::bigfloat decimal(const std::string& text);

// x ready for a function or a division: an exact x (it has at most 81
// digits) and one with the 81 digits of a literal get 90, their digits taken
// as they stand; fewer digits, left by cancellation, stay as few.
bignum::bigfloat working(const bignum::bigfloat& x);

// a + b, a - b, a * b. Two exact operands give the exact result while it has
// at most 81 significant digits, else that result cut to 81. An exact operand
// meeting one with digits gets that one's precision (at least 81) first.
bignum::bigfloat add(const bignum::bigfloat& a, const bignum::bigfloat& b);
bignum::bigfloat subtract(const bignum::bigfloat& a, const bignum::bigfloat& b);
bignum::bigfloat multiply(const bignum::bigfloat& a, const bignum::bigfloat& b);
// a / b for b != 0: exact for two exact operands whose quotient ends within
// 81 digits, else at the operands' precision, at least 90 digits.
bignum::bigfloat divide(const bignum::bigfloat& a, const bignum::bigfloat& b);
// The remainder of a / b truncated toward zero, with the sign of a (b != 0);
// exact for exact operands. Otherwise the operands' errors, multiplied by the
// quotient, take the words of the remainder they reach.
bignum::bigfloat remainder(const bignum::bigfloat& a, const bignum::bigfloat& b);

// The exact integer y is, when y is exact and whole or passes the integer
// test (within half a unit of the 72nd decimal of one); else nothing.
std::optional<bignum::bigfloat> integerExponent(const bignum::bigfloat& y);
// log10 |x^y| in double arithmetic, good to a few units in its last digits
// (x != 0): what decides, before any powering, that a power is far too large.
double powerMagnitude(const bignum::bigfloat& x, const bignum::bigfloat& y);
// x^n for an exact integer n (x != 0 when n < 0), by binary powering: exact
// for an exact x while the result has at most 81 significant digits, else
// cut to 81 (90 for n < 0, a reciprocal); for x with digits, to x's precision.
bignum::bigfloat integerPower(const bignum::bigfloat& x, const bignum::bigfloat& n);
// x^y = exp(y log x) for x > 0, at the operands' precision, at least 90 digits.
bignum::bigfloat generalPower(const bignum::bigfloat& x, const bignum::bigfloat& y);

}  // namespace arithmetic
