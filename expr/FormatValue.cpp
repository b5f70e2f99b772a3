#include "expr/FormatValue.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <sstream>
#include <vector>

#include "bignum/exact.h"
#include "expr/Arithmetic.h"
#include "expr/EvaluationSettings.h"

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

namespace {

// The significant digits of x that are right: all of an exact number's; of a
// computed one, those its words hold, less the last word of one that carries
// a guard word beyond a literal's digits.
long rightDigits(const bignum::bigfloat& x) {
  if (arithmetic::isExact(x)) return LONG_MAX;
  std::uint32_t lead = 0;
  x.words(0, 1, &lead);
  int leadDigits = 0;
  for (std::uint32_t w = lead; w != 0; w /= 10) ++leadDigits;
  const long held = std::min<long>(x.prec(), static_cast<long>(x.size()) * bignum::Basedigits);
  const long guard = x.prec() > arithmetic::literalDigits() ? bignum::Basedigits : 0;
  return std::max(1L, held - (bignum::Basedigits - leadDigits) - guard);
}

}  // namespace

std::string scientific(const bignum::bigfloat& value, long significant) {
  const std::size_t n = static_cast<std::size_t>(std::max(1L, significant));
  // The leading words: enough for the digits kept and the one that rounds them.
  const std::size_t count = std::min(value.size(), n / bignum::Basedigits + 2);
  std::vector<std::uint32_t> words(count);
  value.words(0, count, words.data());
  std::string digits = std::to_string(words[0]);
  for (std::size_t i = 1; i < count; ++i) {
    const std::string word = std::to_string(words[i]);
    digits += std::string(static_cast<std::size_t>(bignum::Basedigits) - word.size(), '0') + word;
  }
  // The leading digit's power of ten.
  std::int64_t exponent =
      bignum::Basedigits * (value.wordExponent() - 1) + static_cast<std::int64_t>(std::to_string(words[0]).size()) - 1;
  if (digits.size() > n) {
    const bool up = digits[n] >= '5';
    digits.resize(n);
    if (up) {
      std::size_t i = n;
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
      } else {
        ++digits[i - 1];
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string text = value.sign() < 0 ? "-" : "";
  text += digits[0];
  if (digits.size() > 1) text.append(1, '.').append(digits, 1);
  return text + (exponent < 0 ? "e-" : "e+") + std::to_string(exponent < 0 ? -exponent : exponent);
}

std::string answerText(const bignum::bigfloat& value, const EvaluationSettings& s) {
  if (value.sign() == 0) return "0";
  if (arithmetic::isExactInteger(value)) {
    std::ostringstream out;  // an integer: every digit, however many
    out.imbue(std::locale::classic());
    out << bignum::pretty << value;
    return out.str();
  }
  const long P = s.workingDigits(), D = s.decimals;
  const double magnitude = bignum::log10Magnitude(value);
  if (magnitude < -static_cast<double>(P - 9)) return "0";
  if (magnitude > static_cast<double>(P - D - 8)) return scientific(value, std::min(P - 8, rightDigits(value)));
  if (s.notation == EvaluationSettings::Notation::Auto && magnitude < -10)
    return scientific(value, std::min(std::max(D, 1L), rightDigits(value)));
  return formatValue(value, static_cast<int>(D));
}
