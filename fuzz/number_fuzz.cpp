// Arbitrary texts as numbers. The input is one or two texts separated by a
// line feed (each cut to 200 bytes). Each is read at 81 digits; its output,
// plain and in exponent form, must read back as the same number. For two
// numbers of moderate size, sums, products and quotients must undo within
// the precision: (a + b) - b, a * b / b and a / b * b all give a back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "bignum/bigfloat.h"

using bignum::bigfloat;

namespace {

constexpr long kDigits = 81;

std::string textOf(const bigfloat& x, bool plain) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  if (plain) out << bignum::pretty;
  out << x;
  return out.str();
}

void requireReadsBack(const bigfloat& x) {
  if (bigfloat(textOf(x, false).c_str(), kDigits) != x) std::abort();
  // Spelled out only where that stays short.
  if (x.sign() == 0 || (x.exp() < 2000 && x.exp() > -2000))
    if (bigfloat(textOf(x, true).c_str(), kDigits) != x) std::abort();
}

// |got - want| is at most `scale` times 10^-70 (the precision less a word
// and some rounding of each step).
void requireClose(const bigfloat& got, const bigfloat& want, const bigfloat& scale) {
  static const bigfloat tolerance("1e-70", kDigits);
  if (abs(got - want) > abs(scale) * tolerance) std::abort();
}

bool moderate(const bigfloat& x) { return x.sign() == 0 || (x.exp() < 100000 && x.exp() > -100000); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\n');
  const std::string first = input.substr(0, std::min<std::size_t>(split, 200));
  const bigfloat a(first.c_str(), kDigits);
  requireReadsBack(a);
  if (split == std::string::npos) return 0;
  const std::string second = input.substr(split + 1, 200);
  const bigfloat b(second.c_str(), kDigits);
  requireReadsBack(b);
  if (!moderate(a) || !moderate(b)) return 0;
  const bigfloat larger = abs(a) > abs(b) ? a : b;
  requireClose((a + b) - b, a, larger);
  requireClose((a - b) + b, a, larger);
  if (b.sign() != 0) {
    requireClose(a * b / b, a, a);
    requireClose(a / b * b, a, a);
  }
  return 0;
}
