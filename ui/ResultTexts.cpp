#include "ui/ResultTexts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "bignum/radix.h"
#include "expr/Constants.h"
#include "expr/FormatValue.h"

using bignum::bigfloat;

namespace {

struct Grouping {
  int cycle;                  // separators repeat every `cycle` characters
  std::array<int, 3> blanks;  // a blank after these counts (-1: none)
  int comma;                  // ", " after this count
};

Grouping groupingOf(int base) {
  switch (base) {
    case 2:
      return {11, {4, -1, -1}, 9};
    case 8:
      return {17, {3, 7, 11}, 15};
    default:
      return {13, {2, 5, 8}, 11};
  }
}

int bitsPerDigit(int base) { return base == 2 ? 1 : base == 8 ? 3 : 4; }

// `digits` of `base` with the separators of its grouping.
std::string grouped(const std::string& digits, int base) {
  const Grouping grouping = groupingOf(base);
  std::string reversed;  // built from the right end
  int n = 0;
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
    reversed += *digit;
    ++n;
    const int r = n % grouping.cycle;
    if (std::find(grouping.blanks.begin(), grouping.blanks.end(), r) != grouping.blanks.end()) {
      reversed += ' ';
      n += 1;
    } else if (r == grouping.comma) {
      reversed += " ,";
      n += 2;
    }
  }
  std::string text(reversed.rbegin(), reversed.rend());
  if (!text.empty() && text.front() == ' ') text.erase(0, 1);
  if (text.rfind(", ", 0) == 0) text.erase(0, 2);
  return text;
}

}  // namespace

std::string radixText(bigfloat value, int base) {
  return grouped(bignum::radixDigits(value.prec(bignum::INFINITE), bitsPerDigit(base)), base);
}

std::optional<std::string> integerRadixText(const bigfloat& value, int base, int width) {
  if (value.sign() >= 0) return radixText(value, base);
  // The pattern is the complement of |value| - 1 within the width.
  bigfloat magnitude = bignum::abs(value);
  magnitude.prec(bignum::INFINITE);
  bigfloat below = magnitude - 1;
  const std::vector<std::uint32_t> low = bignum::binaryWords(below.prec(bignum::INFINITE));
  const std::size_t length =
      low.empty() ? 0 : 32 * (low.size() - 1) + static_cast<std::size_t>(std::bit_width(low.back()));
  const std::size_t smallest = (length + 1 + 7) / 8 * 8;  // with the sign bit
  const std::size_t bits = width == 0 ? smallest : static_cast<std::size_t>(width);
  if (smallest > bits) return std::nullopt;
  std::vector<std::uint32_t> words((bits + 31) / 32, ~0U);
  for (std::size_t i = 0; i < low.size(); ++i) words[i] = ~low[i];
  if (bits % 32 != 0) words.back() &= (1U << (bits % 32)) - 1;
  const auto per = static_cast<std::size_t>(bitsPerDigit(base));
  std::string digits = bignum::radixDigits(bignum::fromBinaryWords(words), bitsPerDigit(base));
  const std::size_t count = (bits + per - 1) / per;
  if (digits.size() < count) digits.insert(0, count - digits.size(), '0');
  return grouped(digits, base);
}

std::string degreesText(const bigfloat& radians) {
  const bigfloat& pi = PI;
  const bigfloat degrees = radians / pi * 180;
  const bigfloat rest = bignum::fmod(degrees, bigfloat(360));
  const bigfloat turns = bignum::floor(abs(radians) / pi / 2);
  if (turns.sign() == 0) return formatValue(rest, 40);
  std::string text = radians.sign() < 0 ? "-" : "";
  text += formatValue(turns, 40);
  return text + " * 360 + " + formatValue(rest, 40);
}
