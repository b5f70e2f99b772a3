#include "expr/IntegerOperators.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "bignum/exact.h"
#include "bignum/functions.h"
#include "bignum/radix.h"
#include "expr/Arithmetic.h"
#include "expr/EvaluationSettings.h"
#include "expr/FormatValue.h"

using bignum::bigfloat;

namespace {

// The exact integer isInteger gives for x (x's own value when it is none).
bigfloat asInteger(bigfloat x) {
  isInteger(x);
  return x.prec(bignum::INFINITE);
}

// x and y as binary words combined word by word; `keepLonger`: the longer
// operand's words beyond the shorter one's stay (or, xor), else they go (and).
template <class Combine>
bigfloat combineWords(const bigfloat& x, const bigfloat& y, bool keepLonger, Combine combine) {
  std::vector<std::uint32_t> a = bignum::binaryWords(asInteger(x)), b = bignum::binaryWords(asInteger(y));
  if (a.size() < b.size()) std::swap(a, b);
  if (!keepLonger) a.resize(b.size());
  for (std::size_t i = 0; i < b.size(); ++i) a[i] = combine(a[i], b[i]);
  return bignum::fromBinaryWords(a);
}

// Shift counts up to this many bits are carried out exactly while the value
// limit is on; beyond it a left shift of a non-zero number saturates (no
// result within a limit of 10^1000 comes near). With the limit off the caller
// checks the size first and every count is exact.
constexpr std::int64_t kExactShiftBits = 4096;

// The largest number in range, with x's sign: what the library gives for a
// result too large to hold.
bigfloat saturated(const bigfloat& x) {
  const bigfloat largest("1e999999999999999999999999", arithmetic::literalDigits());
  return x.sign() < 0 ? -largest : largest;
}

// An exact number from a machine integer of any size.
bigfloat exactOf(std::int64_t value) { return bigfloat(std::to_string(value).c_str(), bignum::INFINITE); }

// x * 2^y + 1/2 cut toward zero, with the general power; for counts that are
// not integers (only direct calls give them).
bigfloat scaledByPower(const bigfloat& x, const bigfloat& y) {
  const long digits = arithmetic::literalDigits();
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

// x / 2^n rounded to the nearest integer, halves up, for an integer x >= 0.
bigfloat halvedAndRounded(const bigfloat& x, std::int64_t n) {
  if (n == 0) return x;
  const std::vector<std::uint32_t> words = bignum::binaryWords(x);
  const auto whole = static_cast<std::size_t>(n / 32);
  const auto bits = static_cast<unsigned>(n % 32);
  // The bit worth a half of the result's unit rounds it up.
  const std::size_t halfBit = static_cast<std::size_t>(n - 1);
  const bool up = halfBit / 32 < words.size() && ((words[halfBit / 32] >> (halfBit % 32)) & 1) != 0;
  std::vector<std::uint32_t> q;
  for (std::size_t i = whole; i < words.size(); ++i) {
    const std::uint64_t pair = words[i] | (i + 1 < words.size() ? std::uint64_t{words[i + 1]} << 32 : 0);
    q.push_back(static_cast<std::uint32_t>(pair >> bits));
  }
  const bigfloat result = bignum::fromBinaryWords(q);
  return up ? result + 1 : result;
}

}  // namespace

bool isInteger(bigfloat& x) {
  if (arithmetic::isExactInteger(x)) return true;
  const std::string s = formatValue(x, static_cast<int>(evaluation::settings().workingDigits() - 9));
  if (s.find('.') != std::string::npos) return false;
  x = bigfloat(s.c_str(), arithmetic::literalDigits());
  return true;
}

bool isNonNegativeInteger(bigfloat x) { return x >= bigfloat(0) && isInteger(x); }

std::string toBinaryDigits(const bigfloat& x) { return bignum::radixDigits(asInteger(x), 1); }

bigfloat bitOr(const bigfloat& x, const bigfloat& y) {
  return combineWords(x, y, true, [](std::uint32_t a, std::uint32_t b) { return a | b; });
}

bigfloat bitXor(const bigfloat& x, const bigfloat& y) {
  return combineWords(x, y, true, [](std::uint32_t a, std::uint32_t b) { return a ^ b; });
}

bigfloat bitAnd(const bigfloat& x, const bigfloat& y) {
  return combineWords(x, y, false, [](std::uint32_t a, std::uint32_t b) { return a & b; });
}

bigfloat bitNot(const bigfloat& x) {
  // Every bit of the words x takes (one for zero) inverted.
  std::vector<std::uint32_t> words = bignum::binaryWords(asInteger(x));
  if (words.empty()) words.push_back(0);
  for (std::uint32_t& word : words) word = ~word;
  return bignum::fromBinaryWords(words);
}

bigfloat shiftLeft(const bigfloat& x, const bigfloat& y) {
  if (y < 0) return shiftRight(x, -y);
  if (x.sign() == 0) return x;
  const bool exact = arithmetic::unlimited();
  const std::int64_t n = shiftCount(y, exact ? std::numeric_limits<std::int32_t>::max() : kExactShiftBits);
  if (n == -2) return scaledByPower(x, y);
  if (n == -1) return saturated(x);
  return asInteger(x) * pow(bigfloat(2), static_cast<unsigned>(n));
}

bigfloat shiftRight(const bigfloat& x, const bigfloat& y) {
  if (y < 0) return shiftLeft(x, -y);
  if (x.sign() == 0) return x;
  // |x| < 10^exp < 2^(3.33 exp): a count beyond that leaves less than a half.
  const std::int64_t e = std::clamp<std::int64_t>(x.exp(), 0, std::int64_t{1} << 58);
  const std::int64_t bits = e / 3 * 10 + 12;
  const std::int64_t n = shiftCount(y, bits);
  if (n == -1) return bigfloat(0);
  if (n == -2) return scaledByPower(x, -y);
  return halvedAndRounded(asInteger(x), n);
}

namespace {

// The digits of `text` from `first` on in base 2^bits, leading zeros
// skipped, or the largest number when there are so many that the value
// surely exceeds `limit` (see IntegerOperators.h).
bigfloat fromRadixDigits(const std::string& text, std::size_t first, int bits, const bigfloat& limit) {
  const std::size_t lead = std::min(text.find_first_not_of('0', first), text.size());
  const std::size_t count = text.size() - lead;
  // The value is at least radix^(count - 1); a whole decimal digit to spare
  // keeps the double's rounding of both logarithms out of the decision.
  if (count > 1 && limit.sign() > 0 &&
      static_cast<double>(count - 1) * bits * std::log10(2.0) > bignum::log10Magnitude(limit) + 1)
    return saturated(limit);
  return bignum::fromRadixDigits(std::string_view(text).substr(lead), bits);
}

}  // namespace

bigfloat fromBinaryText(const std::string& text, const bigfloat& limit) { return fromRadixDigits(text, 2, 1, limit); }

bigfloat fromOctalText(const std::string& text, const bigfloat& limit) { return fromRadixDigits(text, 1, 3, limit); }

bigfloat fromHexText(const std::string& text, const bigfloat& limit) { return fromRadixDigits(text, 2, 4, limit); }
