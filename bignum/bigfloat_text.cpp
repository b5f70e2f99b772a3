// Numbers to and from text. Nothing here looks at a locale: digits, signs,
// points and exponents are bytes of their own.
#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>

#include "bignum/bigfloat.h"
#include "bignum/record.h"

namespace bignum {

using namespace records;

namespace {

bool prettyFlag = false;  // one flag for the whole process

// Beyond nine times the exponent range, and far from overflowing.
constexpr std::int64_t kSaturated = std::int64_t{1} << 62;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
// The value of a digit character as a word digit; anything else counts as 0.
std::uint32_t digitOf(char c) { return isDigit(c) ? static_cast<std::uint32_t>(c - '0') : 0; }

// The exponent after 'e': optional blanks, an optional sign, decimal digits.
// Not a number: 0. Too large: saturated far beyond the exponent range.
std::int64_t readExponent(const char* p) {
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  int sign = 1;
  if (*p == '+' || *p == '-') sign = *p++ == '-' ? -1 : 1;
  std::int64_t value = 0;
  for (; isDigit(*p); ++p) value = value >= kSaturated / 10 ? kSaturated : value * 10 + (*p - '0');
  return sign * value;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

bigfloat::bigfloat(const char* text, long prec, int location) : rec_(zeroRecord()) {
  if (text == nullptr) return;
  const char* p = text;
  int sign = 1;
  for (; *p == '-' || *p == '+' || *p == ' '; ++p)
    if (*p == '-') sign = -sign;
  const char* integer = p;
  while (*p != '\0' && *p != '.' && *p != 'e' && *p != 'E') ++p;
  const std::size_t integerDigits = static_cast<std::size_t>(p - integer);
  const char* fraction = p;
  std::size_t fractionDigits = 0;
  if (*p == '.') {
    fraction = ++p;
    while (*p != '\0' && *p != 'e' && *p != 'E') ++p;
    fractionDigits = static_cast<std::size_t>(p - fraction);
  }
  const std::int64_t exponent = (*p == 'e' || *p == 'E') ? readExponent(p + 1) : 0;

  // The digits in one sequence: the integer part, then the fraction.
  const std::size_t total = integerDigits + fractionDigits;
  auto digitAt = [&](std::size_t i) { return digitOf(i < integerDigits ? integer[i] : fraction[i - integerDigits]); };
  std::size_t first = 0;
  while (first < total && digitAt(first) == 0) ++first;
  if (first == total) return;  // no non-zero digit: zero
  std::size_t last = total - 1;
  while (digitAt(last) == 0) --last;

  // The number is 0.d1d2... * 10^D; word boundaries fall on multiples of nine places.
  const std::int64_t D = std::clamp<std::int64_t>(
      exponent + static_cast<std::int64_t>(integerDigits) - static_cast<std::int64_t>(first), -kSaturated, kSaturated);
  const std::int64_t wordExponent = -floorDiv(-D, Basedigits);                                      // ceil(D / 9)
  if (wordExponent < -MAXEXPONENT) return;                                                          // too small: zero
  const std::size_t leadingDigits = static_cast<std::size_t>(D - Basedigits * (wordExponent - 1));  // 1..9
  const std::size_t significant = last - first + 1;
  const std::size_t available =
      1 + (significant > leadingDigits ? (significant - leadingDigits + Basedigits - 1) / Basedigits : 0);
  const long wordPrec =
      prec == DEFAULT ? static_cast<long>(std::min<std::size_t>(available, INFINITE - 1)) : wordsOf(prec);
  const std::size_t count = wordPrec == INFINITE ? available : std::min(available, static_cast<std::size_t>(wordPrec));

  Record r = newRecord(count, sign, std::min(wordExponent, MAXEXPONENT), wordPrec, location);
  std::size_t next = first;  // the next digit to take
  const std::size_t block = limits().Blocksize;
  for (std::size_t done = 0; done < count;) {
    const std::size_t n = std::min(block, count - done);
    std::uint32_t* w = r->getwritewindow(done, n);
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t digits = done + i == 0 ? leadingDigits : Basedigits;
      std::uint32_t word = 0;
      for (std::size_t d = 0; d < digits; ++d, ++next) word = word * 10 + (next <= last ? digitAt(next) : 0);
      w[i] = word;
    }
    r->writeback();
    done += n;
  }
  *this = finish(std::move(r));
}

std::ostream& pretty(std::ostream& out) {
  prettyFlag = true;
  return out;
}

namespace {

// Writes a word as exactly nine digits, or without leading zeros.
char* putWord(char* to, std::uint32_t word, bool allDigits) {
  char digits[9];
  for (int i = 8; i >= 0; --i, word /= 10) digits[i] = digitChars[word % 10];
  int start = 0;
  if (!allDigits)
    while (start < 8 && digits[start] == '0') ++start;
  std::memcpy(to, digits + start, static_cast<std::size_t>(9 - start));
  return to + (9 - start);
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const bigfloat& x) {
  numstruct* r = x.record();
  BIGNUM_CHECK(r != nullptr, "d.rec", "bigfloat");
  const bool positional = prettyFlag;
  prettyFlag = false;
  if (r->sign == 0) return out << '0';
  if (r->sign < 0) out << '-';

  const std::size_t count = r->prec == INFINITE ? r->size() : std::min(r->size(), static_cast<std::size_t>(r->prec));
  const std::int64_t exp = r->exp;
  std::string text;
  if (!positional) {
    text = "0.";
  } else if (exp <= 0) {
    out << "0.";
    for (std::int64_t i = 0; i < -exp; ++i) out << "000000000";
  }
  const std::size_t block = limits().Maxblocksize;
  forWindows(*r, 0, count, block, [&](const std::uint32_t* words, std::size_t position, std::size_t n) {
    text.resize(text.size() + 10 * n);
    char* to = text.data() + text.size() - 10 * n;
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t index = position + i;
      if (positional && exp >= 1 && static_cast<std::int64_t>(index) == exp) *to++ = '.';
      to = putWord(to, words[i], !(positional && exp >= 1 && index == 0));
    }
    text.resize(static_cast<std::size_t>(to - text.data()));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    text.clear();
  });
  if (!positional) {
    // The exponent, written digit by digit so that no locale can group it.
    char digits[24];
    int n = 0;
    std::int64_t e = exp * Basedigits;
    const bool negative = e < 0;
    std::uint64_t magnitude =
        negative ? std::uint64_t{0} - static_cast<std::uint64_t>(e) : static_cast<std::uint64_t>(e);
    do {
      digits[n++] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude > 0);
    out << 'e';
    if (negative) out << '-';
    while (n > 0) out << digits[--n];
  } else if (exp >= 1 && static_cast<std::int64_t>(count) < exp) {
    for (std::int64_t i = static_cast<std::int64_t>(count); i < exp; ++i) out << "000000000";
  }
  return out;
}

}  // namespace bignum
