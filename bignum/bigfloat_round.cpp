// Integer rounding, the remainder and conversion to double.
#include <algorithm>
#include <cmath>

#include "bignum/bigfloat.h"
#include "bignum/record.h"

namespace bignum {

using namespace records;

namespace {

// The integer part: zero or exponent <= 0 gives zero; else the first
// min(size, exponent) words with the same sign and exponent, exact.
bigfloat absfloor(const bigfloat& x) {
  numstruct& r = *x.record();
  if (r.sign == 0 || r.exp <= 0) return bigfloat();
  const std::size_t count = std::min(r.size(), static_cast<std::size_t>(std::min<std::int64_t>(r.exp, INFINITE)));
  Record result = newRecord(count, r.sign, r.exp, INFINITE);
  copyWords(*result, 0, r, 0, count);
  return finish(std::move(result));
}

// The integer away from zero: the integer part, plus one in its last word when
// a fraction is present; an exponent <= 0 gives sign * 1.
bigfloat absceil(const bigfloat& x) {
  numstruct& r = *x.record();
  if (r.sign == 0) return bigfloat();
  if (r.exp <= 0) return bigfloat(r.sign);
  const bigfloat whole = absfloor(x);
  if (static_cast<std::int64_t>(r.size()) <= r.exp) return whole;
  // 1 in the last integer word: exponent words, a word 1 at the end.
  const auto position = static_cast<std::size_t>(r.exp) - 1;
  const std::uint32_t one = 1;
  const bigfloat unit = bigfloat::fromWords(r.sign, r.exp - static_cast<std::int64_t>(position), INFINITE, &one, 1);
  return whole + unit;
}

}  // namespace

bigfloat floor(const bigfloat& x) { return x.sign() < 0 ? absceil(x) : absfloor(x); }
bigfloat ceil(const bigfloat& x) { return x.sign() < 0 ? absfloor(x) : absceil(x); }
bigfloat trunc(const bigfloat& x) { return absfloor(x); }

bigfloat fmod(const bigfloat& a, const bigfloat& b) {
  if (a.sign() == 0) return bigfloat();
  const long prec = std::min(a.prec(), b.prec());
  bigfloat x = abs(a), y = abs(b);
  if (compare(x, y, false) < 0) return bigfloat(a).prec(prec);
  const std::int64_t digits = x.exp() - y.exp();
  if (digits >= x.prec()) return bigfloat();  // every integer digit of the quotient is lost
  const long working = static_cast<long>(digits + 3 * Basedigits);
  bigfloat xw = x, yw = y;
  xw.prec(working);
  yw.prec(working);
  const bigfloat t = absfloor(xw / yw);  // the quotient, or one off either way
  // x - t y on the stored digits, exactly: as exact numbers, the product
  // keeps every word and the difference counts no cancelled word as lost.
  x.prec(INFINITE);
  y.prec(INFINITE);
  bigfloat r = x - t * y;
  if (compare(r, y, false) >= 0)
    r = r - y;
  else if (r.sign() < 0)
    r = r + y;
  r.prec(prec);
  return a.sign() < 0 ? -r : r;
}

double getdouble(const bigfloat& x) {
  numstruct& r = *x.record();
  if (r.sign == 0) return 0.0;
  const std::size_t count = std::min<std::size_t>(r.size(), 3);
  std::uint32_t words[3];
  x.words(0, count, words);
  // In long double, whose range is far wider: the scale of a number near the
  // ends of the double range neither overflows nor underflows on its own.
  long double f = 0;
  for (std::size_t i = count; i-- > 0;) f = (f + words[i]) / 1e9L;
  const std::int64_t e = std::clamp<std::int64_t>(r.exp, -600, 600);
  const long double scale = std::pow(1e9L, static_cast<long double>(e));
  return static_cast<double>(r.sign * f * scale);
}

}  // namespace bignum
