// Exact arithmetic with a bound on the digits of its results.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "bignum/check.h"
#include "bignum/exact.h"
#include "bignum/record.h"

namespace bignum {

using namespace records;

namespace {

int decimalDigits(std::uint32_t w) {
  int n = 0;
  for (; w != 0; w /= 10) ++n;
  return n;
}

int trailingZeros(std::uint32_t w) {
  int n = 0;
  for (; w != 0 && w % 10 == 0; w /= 10) ++n;
  return n;
}

void requireExact(const bigfloat& x) { BIGNUM_CHECK(x.prec() == INFINITE, "prec == INFINITE", "bigfloat"); }

}  // namespace

long significantDigits(const bigfloat& x) {
  if (x.sign() == 0) return 0;
  const std::size_t size = x.size();
  std::uint32_t first = 0, last = 0;
  x.words(0, 1, &first);
  x.words(size - 1, 1, &last);
  return decimalDigits(first) + static_cast<long>(Basedigits * (size - 1)) - trailingZeros(last) -
         (size == 1 ? Basedigits - decimalDigits(first) : 0);
}

double log10Magnitude(const bigfloat& x) {
  BIGNUM_CHECK(x.sign() != 0, "x.sign ()", "bigfloat");
  std::uint32_t lead[3] = {0, 0, 0};
  x.words(0, std::min<std::size_t>(x.size(), 3), lead);
  const double leading = lead[0] + lead[1] / 1e9 + lead[2] / 1e18;  // 1 <= leading < 10^9
  return static_cast<double>(Basedigits) * static_cast<double>(x.wordExponent() - 1) + std::log10(leading);
}

bigfloat cutBeyond(const bigfloat& x, long digits) {
  if (significantDigits(x) <= digits) return x;
  bigfloat cut = x;
  cut.prec(digits);
  return cut;
}

bigfloat exactSum(const bigfloat& a, const bigfloat& b, bool subtract, long digits) {
  requireExact(a);
  requireExact(b);
  if (a.sign() == 0 || b.sign() == 0) return cutBeyond(subtract ? a - b : a + b, digits);
  // X: the operand with the higher leading word; Y the other.
  const bool aLeads = a.wordExponent() >= b.wordExponent();
  const bigfloat& X = aLeads ? a : b;
  const bigfloat& Y = aLeads ? b : a;
  // K words below X's leading word hold X and the words the cut keeps, with
  // one to spare. When all of Y lies below them, X + Y and X + y (y one word
  // of Y's sign below them) fall between the same two multiples of the
  // lowest of those words, so they are cut alike.
  const std::int64_t K =
      std::max<std::int64_t>(static_cast<std::int64_t>(X.size()), (digits + Basedigits - 1) / Basedigits + 1) + 1;
  if (Y.wordExponent() > X.wordExponent() - K) return cutBeyond(subtract ? a - b : a + b, digits);
  const std::uint32_t one = 1;
  const bigfloat stand = bigfloat::fromWords(Y.sign(), X.wordExponent() - K, INFINITE, &one, 1);
  const bigfloat& sa = aLeads ? a : stand;
  const bigfloat& sb = aLeads ? stand : b;
  const bigfloat sum = subtract ? sa - sb : sa + sb;
  // The true sum holds more digits than any cut keeps, even where this one does not.
  bigfloat cut = sum;
  cut.prec(digits);
  return cut;
}

std::optional<bigfloat> exactQuotient(const bigfloat& a, const bigfloat& b, long digits) {
  requireExact(a);
  requireExact(b);
  BIGNUM_CHECK(b.sign() != 0, "b->sign", "bigfloat");
  if (a.sign() == 0) return bigfloat();
  // The quotient to digits + 18: the divisions by short numbers give its
  // words cut, so a quotient that ends there comes out whole, and it is one
  // exactly when it gives a back.
  const long wide = digits + 2 * Basedigits;
  bigfloat x = a, y = b;
  x.prec(wide);
  y.prec(wide);
  bigfloat q = x / y;
  if (q * b != a) return std::nullopt;
  q.prec(INFINITE);
  return cutBeyond(q, digits);
}

}  // namespace bignum
