// How many of a result's digits its operands' own errors leave right.
//
// A computed number is taken to be off by up to a unit of its last word. A
// function passes that error on multiplied by its condition number,
// |x f'(x) / f(x)| for a relative error: near 1 the logarithm
// magnifies it by 1 / |ln x|, the sine of a large x by |x cot x|, and so on.
// Where the magnified error reaches the digits a result holds, the result
// keeps only the digits above it, so that no answer shows a digit that is
// not right. An exact operand has no error and costs nothing.
#pragma once

#include "bignum/bigfloat.h"

namespace accuracy {

// log10 of x's own relative error: a unit of its last word; for a number
// with a guard word, not less than 10^-(digits - 8), as if its first word held
// one digit. Minus infinity for zero and for x that carries no error (see
// carriesError()).
double relativeErrorOf(const bignum::bigfloat& x);

// f, whose error reaches 10^reach, with the words that keep its digits
// right: beyond the words of a literal (L digits, see expr/Arithmetic.h),
// every word but the last, as for any number; the words of a literal, taken
// as they stand, when L - 1 of f's significant digits are right; otherwise only whole words, for
// answers show a short number's last word (and with less than a word right,
// its digits below the error, and one more, cut toward zero). Zero when the
// error reaches f's own size.
bignum::bigfloat keepDigitsAbove(const bignum::bigfloat& f, double reach);

// Whether x carries an error of its own: a computed number. An exact x has
// none, and neither has one at a literal's precision (L digits: a longer
// literal, a constant, a long exact result cut), whose digits count as they
// stand, as the functions take them.
bool carriesError(const bignum::bigfloat& x);

// f = g(x) where g's condition number at x is 10^log10Condition: f keeps the
// digits above x's relative error multiplied by it. Only for x that carries
// an error and f not zero; conditioned() checks that before it asks for the
// condition number.
bignum::bigfloat conditionedBy(const bignum::bigfloat& f, const bignum::bigfloat& x, double log10Condition);
template <class Condition>
bignum::bigfloat conditioned(const bignum::bigfloat& f, const bignum::bigfloat& x, Condition log10Condition) {
  if (!carriesError(x) || x.sign() == 0 || f.sign() == 0) return f;
  return conditionedBy(f, x, log10Condition());
}

// f = a + b or a - b, and f = a * b or a / b: the operands' own errors (of
// those that carry one) reach f, which keeps the digits above them. Where
// cancellation took leading words, or an operand has fewer digits than its
// words seem to hold, f keeps fewer digits than its words would.
bignum::bigfloat summed(const bignum::bigfloat& f, const bignum::bigfloat& a, const bignum::bigfloat& b);
bignum::bigfloat multiplied(const bignum::bigfloat& f, const bignum::bigfloat& a, const bignum::bigfloat& b);

// ln |x| as a double for x != 0, from x's exact digits near +-1 (where a
// double of x would lose them).
double naturalLog(const bignum::bigfloat& x);
// log10 |ln x| for x > 0 (minus infinity for x = 1).
double log10OfLn(const bignum::bigfloat& x);

// ||x| - 1| as a double from x's exact digits, but at least x's relative
// error: where a condition number grows without bound at +-1, x's error
// bounds how close it can be taken to lie.
double distanceFromOne(const bignum::bigfloat& x);

}  // namespace accuracy
