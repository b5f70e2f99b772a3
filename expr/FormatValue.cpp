#include "expr/FormatValue.h"

#include <cstdint>
#include <sstream>

namespace {

// Positional text is written for numbers of up to this many digits before or
// after the point; a larger or smaller number (none that the language lets
// through, but a loaded file may hold one) keeps the library's exponent notation
// rather than spelling out a billion zeros.
constexpr std::int64_t kMaxPositionalDigits = 1000000;

}  // namespace

std::string formatValue(const bignum::bigfloat& value, int digits) {
  const std::int64_t wanted = digits < 0 ? 0 : digits;
  // |value| < 10^exp: below half a unit of the last decimal it rounds to 0,
  // however many zeros its positional text would start with.
  if (value.sign() != 0 && value.exp() < -wanted) return "0";
  if (value.exp() > kMaxPositionalDigits) return plainText(value);
  std::string s = plainText(value);
  const auto point = s.find('.');
  if (point == std::string::npos) return s;
  const std::size_t p = point, n = s.size(), d = static_cast<std::size_t>(wanted);
  if (n - p - 1 > d) {
    std::size_t keep = p + d + 1;  // the text up to the last kept decimal
    if (s[p + d + 1] >= '5') {
      // Add one at the last kept decimal; a carry out of the first digit adds a leading 1.
      for (std::size_t i = p + d + 1; i-- > 0;) {
        if (s[i] == '.' || s[i] == '-') continue;
        if (++s[i] <= '9') break;
        s[i] = '0';
        if (i == 0 || (i == 1 && s[0] == '-')) {
          s.insert(i, 1, '1');
          ++keep;  // everything after it moved one place on
          break;
        }
      }
    }
    s.resize(keep);
  }
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string plainText(const bignum::bigfloat& value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  if (value.exp() > kMaxPositionalDigits || value.exp() < -kMaxPositionalDigits)
    out << value;
  else
    out << bignum::pretty << value;
  return out.str();
}
