#include "expr/Arithmetic.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bignum/exact.h"
#include "bignum/functions.h"
#include "expr/Accuracy.h"
#include "expr/IntegerOperators.h"

namespace arithmetic {

using bignum::bigfloat;

namespace {

// a + b or a - b by the rules of add().
bigfloat combine(const bigfloat& a, const bigfloat& b, bool subtract) {
  if (isExact(a) && isExact(b)) return bignum::exactSum(a, b, subtract, kLiteralDigits);
  // Kept exact, the exact operand would make the sum hold every word down to
  // the other's last digit, however far below it lies.
  bigfloat x = a, y = b;
  if (isExact(x)) x.prec(std::max(y.prec(), kLiteralDigits));
  if (isExact(y)) y.prec(std::max(x.prec(), kLiteralDigits));
  return accuracy::summed(subtract ? x - y : x + y, a, b);
}

// Exact remainders are taken while the integer quotient has at most this many
// digits; beyond, the operands get the digits of a literal, and a quotient
// whose integer digits all lie beyond them leaves nothing (zero).
constexpr std::int64_t kExactQuotientDigits = 1000;

// log10 of the integer that x's significant digits make (x exact, not zero):
// 0 for 1, 10 and 0.001, about 2.1 for 1.25.
double log10OfDigits(const bigfloat& x) {
  const long digits = bignum::significantDigits(x);
  const double L = bignum::log10Magnitude(x);
  const double leading = L - std::floor(L);  // log10 of d.ddd, the leading digits
  // One digit: its log exactly, so that powers of 10 always count as short.
  if (digits == 1) return std::log10(std::round(std::pow(10.0, leading)));
  return static_cast<double>(digits - 1) + leading;
}

// 1 / p (p not zero): exact when p is and the reciprocal ends, else at 90 digits.
bigfloat reciprocal(const bigfloat& p) {
  if (isExact(p))
    if (const auto q = bignum::exactQuotient(bigfloat(1), p, kLiteralDigits)) return *q;
  return working(bigfloat(1)) / working(p);
}

// m^k for an exact m > 0: exact while short, else from guard digits and cut.
bigfloat exactPower(const bigfloat& m, unsigned k, bool negative) {
  if (static_cast<double>(k) * log10OfDigits(m) < static_cast<double>(kLiteralDigits + 1)) {
    const bigfloat p = pow(m, k);  // exact: at most about 82 digits
    return negative ? reciprocal(p) : bignum::cutBeyond(p, kLiteralDigits);
  }
  // The exact power would be long: it is taken at 99 digits and cut.
  const bigfloat p = pow(withPrecision(m, kResultDigits + bignum::Basedigits), k);
  return negative ? withPrecision(reciprocal(p), kResultDigits) : withPrecision(p, kLiteralDigits);
}

}  // namespace

bigfloat decimal(const std::string& text) {
  // Leading zeros do not count; zeros count once a digit follows them.
  long digits = 0, zeros = 0;
  bool started = false;
  for (const char c : text) {
    if (c == 'e' || c == 'E') break;
    if (c < '0' || c > '9') continue;  // the point
    if (c == '0') {
      if (started) ++zeros;
      continue;
    }
    started = true;
    digits += zeros + 1;
    zeros = 0;
  }
  return bigfloat(text.c_str(), digits <= kLiteralDigits ? bignum::INFINITE : kLiteralDigits);
}

bigfloat working(const bigfloat& x) {
  if (isExact(x) || (x.prec() >= kLiteralDigits && x.prec() < kResultDigits)) return withPrecision(x, kResultDigits);
  return x;
}

bigfloat add(const bigfloat& a, const bigfloat& b) { return combine(a, b, false); }
bigfloat subtract(const bigfloat& a, const bigfloat& b) { return combine(a, b, true); }

bigfloat multiply(const bigfloat& a, const bigfloat& b) {
  if (isExact(a) && isExact(b)) return bignum::cutBeyond(a * b, kLiteralDigits);
  return accuracy::multiplied(a * b, a, b);
}

bigfloat divide(const bigfloat& a, const bigfloat& b) {
  if (isExact(a) && isExact(b))
    if (const auto q = bignum::exactQuotient(a, b, kLiteralDigits)) return *q;
  return accuracy::multiplied(working(a) / working(b), a, b);
}

bigfloat remainder(const bigfloat& a, const bigfloat& b) {
  if (isExact(a) && isExact(b)) {
    if (a.sign() != 0 && a.exp() - b.exp() > kExactQuotientDigits)
      return bignum::fmod(withPrecision(a, kLiteralDigits), withPrecision(b, kLiteralDigits));
    return bignum::fmod(a, b);
  }
  // The remainder of the stored digits is exact, but the operands' own
  // errors reach it multiplied by the quotient.
  const bigfloat r = bignum::fmod(a, b);
  if (r.sign() == 0 || compare(a, b, true) < 0) return r;
  return accuracy::keepDigitsAbove(
      r, bignum::log10Magnitude(a) + std::max(accuracy::relativeErrorOf(a), accuracy::relativeErrorOf(b)));
}

std::optional<bigfloat> integerExponent(const bigfloat& y) {
  if (isExact(y)) {
    if (bignum::trunc(y) == y) return y;
    return std::nullopt;
  }
  bigfloat n = y;
  if (!isInteger(n)) return std::nullopt;
  return bignum::trunc(n);
}

double powerMagnitude(const bigfloat& x, const bigfloat& y) {
  return bignum::getdouble(y) * accuracy::naturalLog(x) / std::log(10.0);
}

bigfloat integerPower(const bigfloat& x, const bigfloat& n) {
  const bool negative = n.sign() < 0;
  const bigfloat count = abs(n);
  const bool odd = bignum::fmod(count, bigfloat(2)).sign() != 0;
  const bigfloat m = abs(x);
  bigfloat value;
  if (count > bigfloat(std::numeric_limits<unsigned>::max())) {
    // Beyond binary powering's counts: exp(n log m) (only |m| near 1 gets here
    // with an answer the language takes).
    const bigfloat base = isExact(m) ? working(m) : m;
    value = bignum::pow(base, withPrecision(n, base.prec()));
    if (isExact(m) && !negative) value.prec(kLiteralDigits);
  } else {
    const auto k = static_cast<unsigned>(bignum::getdouble(count));
    if (isExact(m)) {
      value = exactPower(m, k, negative);
    } else {
      value = pow(m, k);
      if (negative) value = withPrecision(bigfloat(1), value.prec()) / value;
    }
  }
  // m's own error comes to the power multiplied by n.
  if (count.sign() != 0) value = accuracy::conditioned(value, m, [&] { return bignum::log10Magnitude(count); });
  return x.sign() < 0 && odd ? -value : value;
}

bigfloat generalPower(const bigfloat& x, const bigfloat& y) {
  const bigfloat base = working(x), exponent = working(y);
  const bigfloat value = bignum::pow(base, exponent);
  if (exponent.sign() == 0) return value;
  // The base's error comes to the power multiplied by |y|, the exponent's by |y ln x|.
  const double size = bignum::log10Magnitude(exponent);
  return accuracy::conditioned(accuracy::conditioned(value, x, [&] { return size; }), y,
                               [&] { return size + accuracy::log10OfLn(base); });
}

}  // namespace arithmetic
