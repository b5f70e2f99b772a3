#include "ui/ResultTexts.h"

#include <algorithm>
#include <array>

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

}  // namespace

std::string radixText(bigfloat value, int base) {
  const Grouping grouping = groupingOf(base);
  const std::string digits = bignum::radixDigits(value.prec(bignum::INFINITE), base == 2 ? 1 : base == 8 ? 3 : 4);
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

std::string degreesText(const bigfloat& radians) {
  const bigfloat& pi = PI;
  const bigfloat degrees = radians / pi * 180;
  const bigfloat rest = bignum::fmod(degrees, bigfloat(360));
  const bigfloat turns = bignum::floor(abs(radians) / pi / 2);
  if (turns.sign() == 0) return formatValue(rest, 40);
  return (radians.sign() < 0 ? "-" : "") + formatValue(turns, 40) + " * 360 + " + formatValue(rest, 40);
}
