// Radix conversion by divide and conquer on powers B_j = 2^(32 k_j), where
// k_j = u 2^j words for a unit u of each direction.
//
// To binary: an integer x below 2^(32 K) splits at k = k_j words, the one
// with k < K <= 2k, into q = floor(x / B_j) and r = x - q B_j, and the words
// of r and q are found in turn. As 1 / B_j = 5^(32 k) / 10^(32 k), the
// quotient is x times a cut power of five, shifted by whole words: a product
// of half the length, no division, good to +-1, which the exact remainder then
// sets right.
//
// From binary: the value of the high half times B_j plus that of the low half.
//
// Up to u binary words both go word by word in machine arithmetic.
#include "bignum/radix.h"

#include <algorithm>
#include <bit>

#include "bignum/check.h"

namespace bignum {

namespace {

__extension__ typedef unsigned __int128 u128;

// The units. A balanced split of k_j words multiplies numbers of 1.0703 k_j
// decimal words, whose product of 2.14 k_j words fits a transform of 3 2^m
// words with little to spare when u is 11 times a power of two (with a power
// of two, a third of it would be wasted). The units are the measured best:
// the library's products are slow below a few hundred words, and the word by
// word conversion to binary is faster than that into decimal.
constexpr std::size_t kToUnit = 1408;
constexpr std::size_t kFromUnit = 176;
// Decimal words of an integer below 2^(32 u), with room to spare.
constexpr std::size_t decimalWordsBelow(std::size_t u) { return u * 107 / 100 + 3; }

// Binary words enough for an integer of `decimalWords` decimal words:
// 10^(9 n) < 2^(29.897353 n).
std::size_t binaryWordsFor(std::int64_t decimalWords) {
  const auto bits = static_cast<std::uint64_t>(decimalWords) * 29897353 / 1000000 + 1;
  return static_cast<std::size_t>(bits / 32 + 1);
}

// Decimal words enough for an integer below 2^(32 h): 32 log10(2) / 9 < 1.07034
// words each, with a word for the partial leading one and two to spare.
long quotientWords(std::size_t h) { return static_cast<long>(h * 107034 / 100000 + 3); }

// The powers one conversion uses, for splits of K > u words: B_j exactly and,
// for the way to binary (with `quotients`), C_j = 5^(32 k_j) 10^t_j cut to the
// precision of the quotients at that level, where t_j makes 32 k_j + t_j a
// multiple of 9, so that x / B_j is x C_j moved down by whole words.
class Powers {
 public:
  Powers(std::size_t unit, std::size_t K, bool quotients) : unit_(unit) {
    const int top = levelOf(K);
    // The longest quotient: that of a balanced split below the top, or the
    // top's. The powers of five are taken to three words more: the first is
    // good to all but its last word, and each squaring of a cut power loses
    // at most a bit more.
    const long longest = std::max(top > 0 ? quotientWords(split(top - 1)) : 0, quotientWords(K - split(top)));
    const std::uint32_t twoTo32[2] = {4, 294967296};
    bigfloat B = pow(bigfloat::fromWords(1, 2, INFINITE, twoTo32, 2), static_cast<unsigned>(unit));
    bigfloat five;
    if (quotients) five = pow(bigfloat(5, (longest + 3) * Basedigits), static_cast<unsigned>(32 * unit));
    for (int j = 0; j <= top; ++j) {
      two_.push_back(B);
      if (j < top) B = B * B;
      if (!quotients) continue;
      const auto digits = static_cast<std::int64_t>(32 * split(j));
      const auto t = static_cast<int>((Basedigits - digits % Basedigits) % Basedigits);
      int tenToT = 1;
      for (int i = 0; i < t; ++i) tenToT *= 10;
      // Cut to what a split at this level needs, so that cutting it further copies no more.
      scaled_.push_back(five * bigfloat(tenToT));
      scaled_.back().prec(std::min(longest, quotientWords(split(j))) * Basedigits);
      shift_.push_back(digits + t);
      if (j < top) five = five * five;
    }
  }
  // j with k_j < K <= k_(j+1), for K > u.
  int levelOf(std::size_t K) const { return static_cast<int>(std::bit_width((K - 1) / unit_)) - 1; }
  std::size_t split(int j) const { return unit_ << j; }
  const bigfloat& two(int j) const { return two_[static_cast<std::size_t>(j)]; }
  const bigfloat& scaled(int j) const { return scaled_[static_cast<std::size_t>(j)]; }
  std::int64_t shiftDigits(int j) const { return shift_[static_cast<std::size_t>(j)]; }

 private:
  std::size_t unit_;
  std::vector<bigfloat> two_, scaled_;
  std::vector<std::int64_t> shift_;
};

// The K words of x < 2^(32 K), K <= kToUnit, by Horner's rule on pairs of its
// decimal words in 64-bit limbs.
void leafToBinary(const bigfloat& x, std::size_t K, std::uint32_t* out) {
  std::fill(out, out + K, 0U);
  if (x.sign() == 0) return;
  constexpr std::size_t kDecimal = decimalWordsBelow(kToUnit);
  const std::size_t n = x.size();
  const auto e = static_cast<std::size_t>(x.wordExponent());
  BIGNUM_CHECK(e <= kDecimal && K <= kToUnit, "radix leaf", "radix");
  std::uint32_t decimal[kDecimal];
  x.words(0, n, decimal);
  std::fill(decimal + n, decimal + e, 0U);
  std::uint64_t limbs[kToUnit / 2 + 1];
  std::size_t used = 0, i = 0;
  if (e % 2 == 1) {
    limbs[0] = decimal[0];
    used = decimal[0] != 0 ? 1 : 0;
    i = 1;
  }
  for (; i < e; i += 2) {
    std::uint64_t carry = std::uint64_t{decimal[i]} * Base + decimal[i + 1];
    for (std::size_t t = 0; t < used; ++t) {
      const u128 v = static_cast<u128>(limbs[t]) * (std::uint64_t{Base} * Base) + carry;
      limbs[t] = static_cast<std::uint64_t>(v);
      carry = static_cast<std::uint64_t>(v >> 64);
    }
    if (carry != 0) limbs[used++] = carry;
  }
  BIGNUM_CHECK(2 * used <= K + 1, "radix leaf", "radix");
  for (std::size_t t = 0; t < used; ++t) {
    out[2 * t] = static_cast<std::uint32_t>(limbs[t]);
    if (2 * t + 1 < K) out[2 * t + 1] = static_cast<std::uint32_t>(limbs[t] >> 32);
  }
}

// The K words of x < 2^(32 K) into out[0, K).
void toBinary(const bigfloat& x, std::size_t K, std::uint32_t* out, const Powers& powers) {
  if (x.sign() == 0) {
    std::fill(out, out + K, 0U);
    return;
  }
  const std::size_t needed = std::min(K, binaryWordsFor(x.wordExponent()));
  std::fill(out + needed, out + K, 0U);
  K = needed;
  if (K <= kToUnit) return leafToBinary(x, K, out);
  const int j = powers.levelOf(K);
  const std::size_t k = powers.split(j);
  const long digits = quotientWords(K - k) * Basedigits;
  bigfloat xc = x, c = powers.scaled(j);
  xc.prec(digits);
  c.prec(digits);
  bigfloat y = xc * c;
  y.exp(y.exp() - powers.shiftDigits(j));
  bigfloat q = floor(y);
  const bigfloat& B = powers.two(j);
  bigfloat r = x - q * B;
  if (r.sign() < 0) {
    --q;
    r += B;
  } else if (compare(r, B, false) >= 0) {
    ++q;
    r -= B;
  }
  BIGNUM_CHECK(r.sign() >= 0 && compare(r, B, false) < 0, "radix remainder", "radix");
  toBinary(r, k, out, powers);
  toBinary(q, K - k, out + k, powers);
}

// The value of count <= kFromUnit binary words, by Horner's rule in base 10^9.
bigfloat leafFromBinary(const std::uint32_t* words, std::size_t count) {
  std::uint32_t decimal[decimalWordsBelow(kFromUnit)];  // least significant first
  std::size_t used = 0;
  for (std::size_t i = count; i-- > 0;) {
    std::uint64_t carry = words[i];
    for (std::size_t t = 0; t < used; ++t) {
      const std::uint64_t v = (std::uint64_t{decimal[t]} << 32) + carry;
      carry = v / Base;
      decimal[t] = static_cast<std::uint32_t>(v - carry * Base);
    }
    for (; carry != 0; carry /= Base) decimal[used++] = static_cast<std::uint32_t>(carry % Base);
  }
  std::reverse(decimal, decimal + used);
  return bigfloat::fromWords(1, static_cast<std::int64_t>(used), INFINITE, decimal, used);
}

bigfloat fromBinary(const std::uint32_t* words, std::size_t count, const Powers& powers) {
  while (count > 0 && words[count - 1] == 0) --count;
  if (count <= kFromUnit) return leafFromBinary(words, count);
  const int j = powers.levelOf(count);
  const std::size_t k = powers.split(j);
  return fromBinary(words + k, count - k, powers) * powers.two(j) + fromBinary(words, k, powers);
}

void requireRadix(int bits) { BIGNUM_CHECK(bits == 1 || bits == 3 || bits == 4, "bits 1, 3 or 4", "radix"); }

}  // namespace

std::vector<std::uint32_t> binaryWords(const bigfloat& x) {
  BIGNUM_CHECK(x.prec() == INFINITE, "prec == INFINITE", "radix");
  BIGNUM_CHECK(x.sign() >= 0, "x.sign () >= 0", "radix");
  if (x.sign() == 0) return {};
  BIGNUM_CHECK(static_cast<std::int64_t>(x.size()) <= x.wordExponent(), "integer", "radix");
  const std::size_t K = binaryWordsFor(x.wordExponent());
  std::vector<std::uint32_t> words(K);
  if (K <= kToUnit)
    leafToBinary(x, K, words.data());
  else
    toBinary(x, K, words.data(), Powers(kToUnit, K, true));
  while (!words.empty() && words.back() == 0) words.pop_back();
  return words;
}

bigfloat fromBinaryWords(std::span<const std::uint32_t> words) {
  std::size_t count = words.size();
  while (count > 0 && words[count - 1] == 0) --count;
  if (count <= kFromUnit) return leafFromBinary(words.data(), count);
  return fromBinary(words.data(), count, Powers(kFromUnit, count, false));
}

std::string radixDigits(const bigfloat& x, int bits) {
  requireRadix(bits);
  const std::vector<std::uint32_t> words = binaryWords(x);
  if (words.empty()) return "0";
  const std::size_t length = 32 * (words.size() - 1) + static_cast<std::size_t>(std::bit_width(words.back()));
  const std::size_t count = (length + static_cast<std::size_t>(bits) - 1) / static_cast<std::size_t>(bits);
  const std::uint32_t mask = (1U << bits) - 1;
  std::string digits(count, '0');
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t position = i * static_cast<std::size_t>(bits), w = position / 32, shift = position % 32;
    std::uint64_t v = words[w] >> shift;
    if (shift + static_cast<std::size_t>(bits) > 32 && w + 1 < words.size())
      v |= std::uint64_t{words[w + 1]} << (32 - shift);
    digits[count - 1 - i] = digitChars[v & mask];
  }
  return digits;
}

bigfloat fromRadixDigits(std::string_view digits, int bits) {
  requireRadix(bits);
  const std::size_t count = digits.size();
  std::vector<std::uint32_t> words((count * static_cast<std::size_t>(bits) + 31) / 32, 0U);
  for (std::size_t i = 0; i < count; ++i) {
    const auto v = static_cast<std::uint32_t>(digitValue(static_cast<unsigned char>(digits[count - 1 - i])));
    BIGNUM_CHECK(v < (1U << bits), "radix digit", "radix");
    const std::size_t position = i * static_cast<std::size_t>(bits), w = position / 32, shift = position % 32;
    words[w] |= v << shift;
    if (shift + static_cast<std::size_t>(bits) > 32) words[w + 1] |= v >> (32 - shift);
  }
  return fromBinaryWords(words);
}

}  // namespace bignum
