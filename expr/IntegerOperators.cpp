#include "expr/IntegerOperators.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "bignum/exact.h"
#include "bignum/functions.h"
#include "expr/Arithmetic.h"
#include "expr/FormatValue.h"

using bignum::bigfloat;

namespace {

// The working zero of the digit loops: the text "0" read at a literal's digits.
bigfloat zero() { return bigfloat("0", arithmetic::kLiteralDigits); }

// The value of a binary digit text, most significant digit first.
bigfloat fromBinaryDigits(const std::string& digits) {
  bigfloat v = zero();
  for (char c : digits) {
    v = v * 2;
    if (c == '1') v = v + 1;
  }
  return v;
}

// The integer isInteger gives for x (x itself when it is none).
bigfloat asInteger(bigfloat x) {
  isInteger(x);
  return x;
}

// a and b aligned at their last digits: the longer one's unpartnered leading
// digits, then the overlap combined digit by digit.
template <class Combine>
std::string combineDigits(const std::string& a, const std::string& b, bool keepLeading, Combine combine) {
  const std::string& longer = a.size() >= b.size() ? a : b;
  const std::string& shorter = a.size() >= b.size() ? b : a;
  const std::size_t lead = longer.size() - shorter.size();
  std::string result = keepLeading ? longer.substr(0, lead) : std::string();
  for (std::size_t i = 0; i < shorter.size(); ++i)
    result += combine(longer[lead + i] == '1', shorter[i] == '1') ? '1' : '0';
  return result;
}

// Shift counts up to this many bits are carried out exactly; beyond it a left
// shift of a non-zero number saturates (no result of the language comes near).
constexpr std::int64_t kExactShiftBits = 4096;

// The largest number in range, with x's sign: what the library gives for a
// result too large to hold.
bigfloat saturated(const bigfloat& x) {
  const bigfloat largest("1e999999999999999999999999", arithmetic::kLiteralDigits);
  return x.sign() < 0 ? -largest : largest;
}

// x * factor^n + 1/2, cut toward zero; factor is 2 or 0.5, both exact.
bigfloat scaledAndRounded(const bigfloat& x, const bigfloat& factor, std::int64_t n) {
  return bignum::trunc(x * pow(factor, static_cast<unsigned>(n)) + bigfloat("0.5", arithmetic::kLiteralDigits));
}

// An exact number from a machine integer of any size.
bigfloat exactOf(std::int64_t value) { return bigfloat(std::to_string(value).c_str(), bignum::INFINITE); }

// x * 2^y + 1/2 cut toward zero, with the general power; for counts that are
// not integers (only direct calls give them) or too large to form exactly.
bigfloat scaledByPower(const bigfloat& x, const bigfloat& y) {
  const long digits = arithmetic::kLiteralDigits;
  const bigfloat power = bignum::exp(arithmetic::withLiteralDigits(y) * bignum::log(bigfloat("2.0", digits)));
  return bignum::trunc(x * power + bigfloat("0.5", digits));
}

// The count y as a machine integer when it is an integer of at most `limit`;
// -1 when it is larger, -2 when it is not an integer.
std::int64_t shiftCount(bigfloat y, std::int64_t limit) {
  if (!isInteger(y)) return -2;
  if (y > exactOf(limit)) return -1;
  return static_cast<std::int64_t>(bignum::getdouble(y));
}

}  // namespace

bool isInteger(bigfloat& x) {
  const std::string s = formatValue(x, 72);
  if (s.find('.') != std::string::npos) return false;
  x = bigfloat(s.c_str(), arithmetic::kLiteralDigits);
  return true;
}

bool isNonNegativeInteger(bigfloat x) { return x >= bigfloat(0) && isInteger(x); }

std::string toBinaryDigits(bigfloat x) {
  std::string reversed;
  const bigfloat two(2);
  do {
    if (bignum::fmod(x, two) == 1) {
      reversed += '1';
      x = (x - 1) / two;
    } else {
      reversed += '0';
      x = x / two;
    }
  } while (x > 0);
  return std::string(reversed.rbegin(), reversed.rend());
}

bigfloat bitOr(const bigfloat& x, const bigfloat& y) {
  return fromBinaryDigits(combineDigits(toBinaryDigits(asInteger(x)), toBinaryDigits(asInteger(y)), true,
                                        [](bool a, bool b) { return a || b; }));
}

bigfloat bitXor(const bigfloat& x, const bigfloat& y) {
  return fromBinaryDigits(combineDigits(toBinaryDigits(asInteger(x)), toBinaryDigits(asInteger(y)), true,
                                        [](bool a, bool b) { return a != b; }));
}

bigfloat bitAnd(const bigfloat& x, const bigfloat& y) {
  return fromBinaryDigits(combineDigits(toBinaryDigits(asInteger(x)), toBinaryDigits(asInteger(y)), false,
                                        [](bool a, bool b) { return a && b; }));
}

bigfloat bitNot(const bigfloat& x) {
  const std::string digits = toBinaryDigits(asInteger(x));
  const std::size_t n = digits.size(), width = (n + 31) / 32 * 32;
  // W - n one-digits, then the complement of each digit.
  bigfloat v = pow(bigfloat(2), static_cast<unsigned>(width - n)) - 1;
  for (char c : digits) {
    v = v * 2;
    if (c == '0') v = v + 1;
  }
  return v;
}

bigfloat shiftLeft(const bigfloat& x, const bigfloat& y) {
  if (y < 0) return shiftRight(x, -y);
  if (x.sign() == 0) return x;
  const std::int64_t n = shiftCount(y, kExactShiftBits);
  if (n == -2) return scaledByPower(x, y);
  if (n == -1) return saturated(x);
  return scaledAndRounded(x, bigfloat(2), n);
}

bigfloat shiftRight(const bigfloat& x, const bigfloat& y) {
  if (y < 0) return shiftLeft(x, -y);
  if (x.sign() == 0) return x;
  // |x| < 10^exp < 2^(3.33 exp): a count beyond that leaves less than a half.
  const std::int64_t e = std::clamp<std::int64_t>(x.exp(), 0, std::int64_t{1} << 58);
  const std::int64_t bits = e / 3 * 10 + 12;
  const std::int64_t n = shiftCount(y, bits);
  if (n == -1) return bigfloat(0);
  if (n == -2 || n > kExactShiftBits) return scaledByPower(x, -y);
  return scaledAndRounded(x, bigfloat("0.5", bignum::INFINITE), n);
}

namespace {

// The value of a digit character of a binary, octal or hexadecimal text.
int digitValue(char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c - 'A' + 10; }

// The digits of `text` from `first` on in the given radix, leading zeros
// skipped, or the largest number when there are so many that the value
// surely exceeds `limit` (see IntegerOperators.h).
bigfloat fromRadixDigits(const std::string& text, std::size_t first, int radix, const bigfloat& limit) {
  const std::size_t lead = std::min(text.find_first_not_of('0', first), text.size());
  const std::size_t count = text.size() - lead;
  // The value is at least radix^(count - 1); a whole decimal digit to spare
  // keeps the double's rounding of both logarithms out of the decision.
  if (count > 1 && limit.sign() > 0 &&
      static_cast<double>(count - 1) * std::log10(static_cast<double>(radix)) > bignum::log10Magnitude(limit) + 1)
    return saturated(limit);
  bigfloat v = zero();
  for (std::size_t i = lead; i < text.size(); ++i) v = v * radix + digitValue(text[i]);
  return v;
}

}  // namespace

bigfloat fromBinaryText(const std::string& text, const bigfloat& limit) { return fromRadixDigits(text, 2, 2, limit); }

bigfloat fromOctalText(const std::string& text, const bigfloat& limit) { return fromRadixDigits(text, 1, 8, limit); }

bigfloat fromHexText(const std::string& text, const bigfloat& limit) { return fromRadixDigits(text, 2, 16, limit); }
