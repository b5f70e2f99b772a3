// The built-in functions. Each checks its domain first and throws its
// message; then it computes with the number library at the argument's
// precision, at least L + 9 digits (a guard word beyond a literal's L, 81 by
// default; see expr/Arithmetic.h). Where a
// formula cancels (the hyperbolic functions near zero, acosh near 1), it works
// with extra digits and cuts the result back.
//
// What each domain check keeps from the number library, which stops the
// process on a broken precondition (its assertions) or answers outside its
// domain without a word:
// - every function: `working(x)` gives an exact argument a precision, since
//   the library refuses exact ones ("x.prec () != INFINITE");
// - tan at an odd multiple of pi/2: a cosine of zero divides ("b->sign");
// - asin and acos beyond +-1: no stop, but the answer would be +-pi/2 or 0;
// - acosh below 1: the root of a negative number ("u.sign () > 0");
// - atanh at or beyond +-1: "|x| < 1";
// - ln, lg and log of zero or a negative number: "u.sign () > 0"; log with
//   base 1: a division by log 1 = 0 ("b->sign");
// - sqrt of a negative number: "u.sign () > 0".
#include "bignum/functions.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "bignum/exact.h"
#include "expr/Accuracy.h"
#include "expr/Arithmetic.h"
#include "expr/Constants.h"
#include "expr/Function.h"

using bignum::bigfloat;

namespace {

// The extra digits of the formulas that cancel.
constexpr long kGuard = 18;

using arithmetic::withPrecision;
using arithmetic::working;

// Digits a number below 1 lies under its precision's reach (0 for zero and for |x| >= 1).
long smallness(const bigfloat& x) { return x.sign() == 0 || x.exp() >= 0 ? 0 : static_cast<long>(-x.exp()); }

// Refuses the call with `message` when `condition` holds.
void refuseIf(bool condition, const char* message) {
  if (condition) throw std::string(message);
}

const char* const kUndefinedLogarithm = "Undefined logarithm value !";

// A fresh 0.5 at the digits of a literal.
bigfloat half() { return bigfloat("0.5", arithmetic::literalDigits()); }

// The condition numbers (log10) of the functions that magnify their
// argument's error beyond the guard word, from doubles: f is the result.
// See expr/Accuracy.h.
double lg(const bigfloat& v) { return bignum::log10Magnitude(v); }
// log10 sqrt(1 - s^2) for the double s = f, a sine or cosine.
double lgCofactor(const bigfloat& f) {
  const double s = bignum::getdouble(f);
  return 0.5 * std::log10(std::max(0.0, 1 - s * s));
}
// |x cot x| for the sine, |x tan x| for the cosine.
double sineCondition(const bigfloat& x, const bigfloat& f) { return lg(x) + lgCofactor(f) - lg(f); }
// |x / (sin x cos x)| = |x (1 + t^2) / t| with t = tan x.
double tangentCondition(const bigfloat& x, const bigfloat& t) {
  const double L = lg(t);
  const double lgOnePlusSquare =
      L > 0 ? 2 * L + std::log10(1 + std::pow(10.0, -2 * L)) : std::log10(1 + std::pow(10.0, 2 * L));
  return lg(x) + lgOnePlusSquare - L;
}
// |x / (sqrt(1 - x^2) f)| for asin and acos, |x / ((1 - x^2) f)| for atanh,
// |x / (sqrt(x^2 - 1) f)| for acosh: the distance d of |x| from 1 gives
// 1 - x^2 = d (2 - d) and x^2 - 1 = d (2 + d).
double arcCondition(const bigfloat& x, const bigfloat& f, double power, double sign) {
  const double d = accuracy::distanceFromOne(x);
  return lg(x) - power * std::log10(d * (2 + sign * d)) - lg(f);
}

}  // namespace

// NOLINTNEXTLINE(performance-unnecessary-value-param): the functions take their arguments by value to work on them
bigfloat Function::evaluate(bigfloat, bigfloat) { throw OneArgumentOnly{}; }

namespace builtin {

bigfloat Deg::evaluate(bigfloat x) { return working(x) / 180 * PI; }

bigfloat Sin::evaluate(bigfloat x) {
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const bigfloat f = bignum::sin(x);
  return accuracy::conditioned(f, given, [&] { return sineCondition(x, f); });
}

bigfloat Cos::evaluate(bigfloat x) {
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const bigfloat f = bignum::cos(x);
  return accuracy::conditioned(f, given, [&] { return sineCondition(x, f); });
}

bigfloat Tan::evaluate(bigfloat x) {
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  // The remainder modulo 2 pi has x's sign: both signs of pi/2 and 3pi/2 are refused.
  const bigfloat& pi = PI;
  const bigfloat r = bignum::fmod(x, 2 * pi);
  const bigfloat halfPi = pi / 2, threeHalvesPi = 3 * pi / 2;
  const char* const message = "Undefined tangent value !";
  refuseIf(abs(r - halfPi) < TOLERANCE || abs(r + halfPi) < TOLERANCE, message);
  refuseIf(abs(r - threeHalvesPi) < TOLERANCE || abs(r + threeHalvesPi) < TOLERANCE, message);
  const bigfloat f = bignum::tan(x);
  return accuracy::conditioned(f, given, [&] { return tangentCondition(x, f); });
}

bigfloat Asin::evaluate(bigfloat x) {
  refuseIf(abs(x) > 1, "Undefined arcsine value !");
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const bigfloat f = bignum::asin(x);
  return accuracy::conditioned(f, given, [&] { return arcCondition(x, f, 0.5, -1); });
}

bigfloat Acos::evaluate(bigfloat x) {
  refuseIf(abs(x) > 1, "Undefined arccos value !");
  // Zero is exact and cannot take digits; its arc cosine is pi/2 at the digits of a literal.
  if (x.sign() == 0) return PI.get() / 2;
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const bigfloat f = bignum::acos(x);
  return accuracy::conditioned(f, given, [&] { return arcCondition(x, f, 0.5, -1); });
}

bigfloat Atan::evaluate(bigfloat x) { return bignum::atan(working(x)); }

// The hyperbolic sine and cosine from e^|x| >= 1: e^-|x| is then its
// reciprocal, which may underflow to zero but never divides by it.
bigfloat SinH::evaluate(bigfloat x) {
  x = working(x);
  if (x.sign() < 0) return -evaluate(-x);
  const long p = x.prec();
  if (bignum::belowSeries(x)) return bignum::cubicSeries(x, 1, 6);
  const bigfloat ex = bignum::exp(withPrecision(x, p + kGuard + smallness(x)));
  return withPrecision((ex - 1 / ex) / 2, p);
}

bigfloat CosH::evaluate(bigfloat x) {
  x = working(x);
  const long p = x.prec();
  const bigfloat ex = bignum::exp(withPrecision(abs(x), p + kGuard));
  return withPrecision((ex + 1 / ex) / 2, p);
}

bigfloat TanH::evaluate(bigfloat x) {
  x = working(x);
  const long p = x.prec();
  if (bignum::belowSeries(x)) return bignum::cubicSeries(x, -1, 3);
  // (1 - t) / (1 + t) with t = e^(-2|x|): no overflow for large |x|.
  const bigfloat t = bignum::exp(-2 * withPrecision(abs(x), p + kGuard + smallness(x)));
  // A one with t's digits: an exact one would make 1 - t hold every word down
  // to t's last, and t lies a billion digits below 1 for |x| near 1e9.
  const bigfloat one = withPrecision(bigfloat(1), t.prec());
  const bigfloat magnitude = (one - t) / (one + t);
  return withPrecision(x.sign() < 0 ? -magnitude : magnitude, p);
}

bigfloat AsinH::evaluate(bigfloat x) {
  x = working(x);
  // Odd: a large negative argument would cancel x + sqrt(x^2 + 1) to nothing.
  if (x.sign() < 0) return -evaluate(-x);
  if (x.sign() == 0) return x;
  const long p = x.prec();
  if (bignum::belowSeries(x)) return bignum::cubicSeries(x, -1, 6);
  const bigfloat w = withPrecision(x, p + kGuard + smallness(x));
  return withPrecision(bignum::log(w + bignum::sqrt(pow(w, 2u) + 1)), p);
}

bigfloat AcosH::evaluate(bigfloat x) {
  refuseIf(x < 1, "Undefined  arccos hyperbolic value !");
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const long p = x.prec();
  // sqrt(x^2 - 1) as sqrt((x - 1)(x + 1)): x - 1 is exact, and near 1 the
  // result is small and takes the digits it lies below 1.
  const bigfloat offset = x - 1;
  const bigfloat w = withPrecision(x, p + kGuard + smallness(offset));
  const bigfloat f = withPrecision(bignum::log(w + bignum::sqrt((w - 1) * (w + 1))), p);
  return accuracy::conditioned(f, given, [&] { return arcCondition(x, f, 0.5, 1); });
}

bigfloat AtanH::evaluate(bigfloat x) {
  refuseIf(x <= -1 || x >= 1, "Undefined arctangent hyperbolic value !");
  if (x.sign() == 0) return x;
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const bigfloat f = bignum::atanh(x);
  return accuracy::conditioned(f, given, [&] { return arcCondition(x, f, 1, -1); });
}

bigfloat Exp::evaluate(bigfloat x) {
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const bigfloat f = bignum::exp(x);
  return accuracy::conditioned(f, given, [&] { return lg(x); });
}

bigfloat Ln::evaluate(bigfloat x) {
  refuseIf(x < TOLERANCE, kUndefinedLogarithm);
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const bigfloat f = bignum::log(x);
  // Near 1 the logarithm magnifies x's error by 1 / |ln x|.
  return accuracy::conditioned(f, given, [&] { return -lg(f); });
}

bigfloat Lg::evaluate(bigfloat x) {
  refuseIf(x < TOLERANCE, kUndefinedLogarithm);
  const bigfloat given = x;  // its own error, before it takes digits
  x = working(x);
  const bigfloat ln = bignum::log(x);
  return accuracy::conditioned(ln / bignum::log(working(bigfloat(10))), given, [&] { return -lg(ln); });
}

bigfloat Log::evaluate(bigfloat a, bigfloat b) {
  refuseIf(b < TOLERANCE, kUndefinedLogarithm);
  refuseIf(a < TOLERANCE, kUndefinedLogarithm);
  refuseIf(abs(a - 1) < TOLERANCE, kUndefinedLogarithm);
  const bigfloat lnB = bignum::log(working(b)), lnA = bignum::log(working(a));
  if (lnB.sign() == 0) return lnB;
  return accuracy::conditioned(accuracy::conditioned(lnB / lnA, b, [&] { return -lg(lnB); }), a,
                               [&] { return -lg(lnA); });
}

bigfloat Log::evaluate(bigfloat) { throw TwoArgumentsOnly{}; }

bigfloat Sqrt::evaluate(bigfloat x) {
  refuseIf(x < 0, "Undefined square root value !");
  return bignum::sqrt(working(x));
}

bigfloat Abs::evaluate(bigfloat x) { return abs(x); }

// Halves away from zero.
bigfloat Round::evaluate(bigfloat x) { return x >= 0 ? bignum::floor(x + half()) : bignum::ceil(x - half()); }

bigfloat Floor::evaluate(bigfloat x) { return bignum::floor(x); }

// Toward zero.
bigfloat Fix::evaluate(bigfloat x) { return x >= 0 ? bignum::floor(x) : bignum::ceil(x); }

bigfloat Ceil::evaluate(bigfloat x) { return bignum::ceil(x); }

}  // namespace builtin
