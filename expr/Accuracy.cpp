#include "expr/Accuracy.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "bignum/exact.h"
#include "expr/Arithmetic.h"

namespace accuracy {

using bignum::bigfloat;

namespace {

constexpr double kNone = -std::numeric_limits<double>::infinity();

// log10 of x's relative error (x with digits, not zero): a unit of its last
// word. A number that carries a guard word may be off in it by more than a
// unit (a product with an exact power of ten shifts the words and seems to
// hold more digits than the factor had): for it, not less than a unit of the
// last of the digits its words hold when the first holds one digit. A number
// that kept fewer words kept only words that are right.
double relativeError(const bigfloat& x) {
  const double unit = static_cast<double>(x.exp() - x.prec()) - bignum::log10Magnitude(x);
  if (x.prec() < arithmetic::resultDigits()) return unit;
  return std::max(unit, static_cast<double>(bignum::Basedigits - 1 - x.prec()));
}

}  // namespace

bool carriesError(const bigfloat& x) {
  return x.prec() != bignum::INFINITE &&
         (x.prec() < arithmetic::literalDigits() || x.prec() >= arithmetic::resultDigits());
}

bigfloat keepDigitsAbove(const bigfloat& f, double reach) {
  if (f.sign() == 0 || f.prec() == bignum::INFINITE || std::isnan(reach) || reach == kNone) return f;
  // The digits from f's top word boundary down to the error.
  const double span = static_cast<double>(f.exp()) - reach;
  const double sure = bignum::log10Magnitude(f) - reach;  // significant digits right
  if (!(span > 0) || sure < 1) return bigfloat();         // the error reaches f's own size
  // Beyond a literal's words, every word but the last right, as for any
  // number. A literal's words pass for its digits, taken as they stand: f
  // keeps them when L - 1 of its significant digits are right. Otherwise only the
  // whole words right, for answers show a short number's last word.
  const double ratio = span / bignum::Basedigits;
  const auto literal = static_cast<double>(arithmetic::literalDigits());
  const double words = span > literal        ? std::ceil(ratio)
                       : sure >= literal - 1 ? literal / bignum::Basedigits
                                             : std::max(1.0, std::floor(ratio));
  const long digits = static_cast<long>(std::min(words * bignum::Basedigits, static_cast<double>(f.prec())));
  const auto keptDigits = static_cast<double>(digits);  // exact: far below 2^53
  if (digits == f.prec() && keptDigits <= span) return f;
  bigfloat kept = f;
  kept.prec(digits);
  if (keptDigits > span && digits < arithmetic::literalDigits()) {
    // Less than a word right: the digits below the error, and one more, are cut.
    const auto shift = static_cast<std::int64_t>(-std::floor(reach)) - 2;  // the last kept digit's unit is 10^-shift
    const bigfloat up(("1e" + std::to_string(shift)).c_str(), bignum::INFINITE);
    const bigfloat down(("1e" + std::to_string(-shift)).c_str(), bignum::INFINITE);
    kept = bignum::trunc(kept * up) * down;
    kept.prec(digits);
  }
  return kept;
}

double relativeErrorOf(const bigfloat& x) { return !carriesError(x) || x.sign() == 0 ? kNone : relativeError(x); }

bigfloat summed(const bigfloat& f, const bigfloat& a, const bigfloat& b) {
  if (f.sign() == 0) return f;
  const auto reach = [](const bigfloat& x) {
    const double error = relativeErrorOf(x);
    return error == kNone ? kNone : bignum::log10Magnitude(x) + error;
  };
  return keepDigitsAbove(f, std::max(reach(a), reach(b)));
}

bigfloat multiplied(const bigfloat& f, const bigfloat& a, const bigfloat& b) {
  const double error = std::max(relativeErrorOf(a), relativeErrorOf(b));
  if (f.sign() == 0 || error == kNone) return f;
  return keepDigitsAbove(f, bignum::log10Magnitude(f) + error);
}

bigfloat conditionedBy(const bigfloat& f, const bigfloat& x, double log10Condition) {
  return keepDigitsAbove(f, bignum::log10Magnitude(f) + log10Condition + relativeError(x));
}

double naturalLog(const bigfloat& x) {
  const double L = bignum::log10Magnitude(x);
  if (std::fabs(L) >= 0.25) return L * std::log(10.0);
  return std::log1p(bignum::getdouble(abs(x) - bigfloat(1)));
}

double log10OfLn(const bigfloat& x) { return std::log10(std::fabs(naturalLog(x))); }

double distanceFromOne(const bigfloat& x) {
  const double d = std::fabs(bignum::getdouble(abs(x) - bigfloat(1)));
  if (!carriesError(x)) return d;
  return std::max(d, std::pow(10.0, relativeError(x)));
}

}  // namespace accuracy
