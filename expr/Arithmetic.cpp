#include "expr/Arithmetic.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bignum/exact.h"
#include "bignum/functions.h"
#include "expr/Accuracy.h"
#include "expr/Constants.h"
#include "expr/EvaluationSettings.h"
#include "expr/IntegerOperators.h"

namespace arithmetic {

using bignum::bigfloat;

long literalDigits() {
  const long p = evaluation::settings().workingDigits();
  return (p + bignum::Basedigits - 1) / bignum::Basedigits * bignum::Basedigits;
}

bool unlimited() { return !evaluation::settings().limitExponent; }

bool beyondLimit(const bigfloat& x) {
  if (!unlimited()) return abs(x) > VALUE_LIMIT;
  return x.sign() != 0 && x.wordExponent() >= bignum::MAXEXPONENT;
}

namespace {

// x, an exact result, cut to L digits unless it is an integer and the limit is off.
bigfloat cutUnlessWholeAndUnlimited(const bigfloat& x) {
  return unlimited() && isExactInteger(x) ? x : bignum::cutBeyond(x, literalDigits());
}

// a + b or a - b by the rules of add().
bigfloat combine(const bigfloat& a, const bigfloat& b, bool subtract) {
  if (isExact(a) && isExact(b)) {
    if (unlimited() && isExactInteger(a) && isExactInteger(b)) return subtract ? a - b : a + b;
    return bignum::exactSum(a, b, subtract, literalDigits());
  }
  // Kept exact, the exact operand would make the sum hold every word down to
  // the other's last digit, however far below it lies.
  bigfloat x = a, y = b;
  if (isExact(x)) x.prec(std::max(y.prec(), literalDigits()));
  if (isExact(y)) y.prec(std::max(x.prec(), literalDigits()));
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

// 1 / p (p not zero): exact when p is and the reciprocal ends, else at L + 9 digits.
bigfloat reciprocal(const bigfloat& p) {
  if (isExact(p))
    if (const auto q = bignum::exactQuotient(bigfloat(1), p, literalDigits())) return *q;
  return working(bigfloat(1)) / working(p);
}

// m^k for an exact m > 0: exact while short (or a whole power with the limit
// off), else from guard digits and cut.
bigfloat exactPower(const bigfloat& m, unsigned k, bool negative) {
  const long L = literalDigits();
  if (!negative && unlimited() && isExactInteger(m)) return pow(m, k);
  if (static_cast<double>(k) * log10OfDigits(m) < static_cast<double>(L + 1)) {
    const bigfloat p = pow(m, k);  // exact: at most about L + 1 digits
    return negative ? reciprocal(p) : bignum::cutBeyond(p, L);
  }
  // The exact power would be long: it is taken at L + 18 digits and cut.
  const bigfloat p = pow(withPrecision(m, resultDigits() + bignum::Basedigits), k);
  return negative ? withPrecision(reciprocal(p), resultDigits()) : withPrecision(p, L);
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
  if (digits > literalDigits() && unlimited()) {
    // With the limit off an integer is exact however long.
    const bigfloat exact(text.c_str(), bignum::INFINITE);
    if (isExactInteger(exact)) return exact;
  }
  return bigfloat(text.c_str(), digits <= literalDigits() ? bignum::INFINITE : literalDigits());
}

bigfloat working(const bigfloat& x) {
  if (isExact(x) || (x.prec() >= literalDigits() && x.prec() < resultDigits())) return withPrecision(x, resultDigits());
  return x;
}

bigfloat add(const bigfloat& a, const bigfloat& b) { return combine(a, b, false); }
bigfloat subtract(const bigfloat& a, const bigfloat& b) { return combine(a, b, true); }

bigfloat multiply(const bigfloat& a, const bigfloat& b) {
  if (isExact(a) && isExact(b)) return cutUnlessWholeAndUnlimited(a * b);
  return accuracy::multiplied(a * b, a, b);
}

bigfloat divide(const bigfloat& a, const bigfloat& b) {
  if (isExact(a) && isExact(b)) {
    // With the limit off, a whole quotient of integers is exact at any length.
    const bool whole = unlimited() && isExactInteger(a) && isExactInteger(b) && a.exp() >= b.exp();
    const long digits =
        whole ? std::max<long>(literalDigits(), static_cast<long>(a.exp() - b.exp()) + 9) : literalDigits();
    if (const auto q = bignum::exactQuotient(a, b, digits)) return whole ? *q : bignum::cutBeyond(*q, literalDigits());
  }
  return accuracy::multiplied(working(a) / working(b), a, b);
}

bigfloat remainder(const bigfloat& a, const bigfloat& b) {
  if (isExact(a) && isExact(b)) {
    const bool whole = unlimited() && isExactInteger(a) && isExactInteger(b);
    if (!whole && a.sign() != 0 && a.exp() - b.exp() > kExactQuotientDigits)
      return bignum::fmod(withPrecision(a, literalDigits()), withPrecision(b, literalDigits()));
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
    if (isExact(m) && !negative) value.prec(literalDigits());
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
