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
// Up to u binary words both go word by word in machine arithmetic, the leaves
// of a node side by side. The powers stay for the next conversions.
#include "bignum/radix.h"

#include <algorithm>
#include <bit>

#include "bignum/check.h"
#include "bignum/progress.h"

namespace bignum {

namespace {

__extension__ typedef unsigned __int128 u128;

// The units. A balanced split of k_j words multiplies numbers of 1.0703 k_j
// decimal words, whose product of 2.14 k_j words fits a transform of 3 2^m
// words with little to spare when u is 11 times a power of two (with a power
// of two, a third of it would be wasted). The units are the measured best:
// the library's products are slow below a few hundred words, and the word by
// word conversion to binary is faster than that into decimal.
constexpr std::size_t kFromUnit = 176;
constexpr int kToLevels = 3;
constexpr std::size_t kToUnit = kFromUnit << kToLevels;
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

// j with u 2^j < K <= u 2^(j+1), for K > u.
int levelOf(std::size_t unit, std::size_t K) { return static_cast<int>(std::bit_width((K - 1) / unit)) - 1; }
std::size_t toSplit(int j) { return kToUnit << j; }

// The powers the conversions split at: B_i = 2^(32 kFromUnit 2^i) exactly,
// for both directions (the way to binary splits at B_(j+3) = 2^(32 k_j)), and
// for the way to binary C_j = 5^(32 k_j) 10^t_j cut to the precision of the
// quotients at level j, where t_j makes 32 k_j + t_j a multiple of 9, so that
// x / 2^(32 k_j) is x C_j moved down by whole words. They only grow: new
// powers are made aside and taken in at the end, so that a conversion stopped
// by an exception leaves them as they were.
class Powers {
 public:
  // Makes B_0 ... B_top ready.
  void needTwos(int top) {
    while (static_cast<int>(two_.size()) <= top) {
      const std::uint32_t twoTo32[2] = {4, 294967296};
      bigfloat next = two_.empty() ? pow(bigfloat::fromWords(1, 2, INFINITE, twoTo32, 2), unsigned{kFromUnit})
                                   : two_.back() * two_.back();
      two_.push_back(std::move(next));
    }
  }
  // Makes C_0 ... C_top ready for the splits of K > kToUnit words, unless
  // those at hand are good enough.
  void needQuotients(std::size_t K) {
    needTwos(levelOf(kToUnit, K) + kToLevels);
    const int top = levelOf(kToUnit, K);
    // The longest quotient: that of a balanced split below the top, or the
    // top's. The powers of five are taken to three words more: the first is
    // good to all but its last word, and each squaring of a cut power loses
    // at most a bit more. Those of a higher top are as precise below it.
    const long longest = std::max(top > 0 ? quotientWords(toSplit(top - 1)) : 0, quotientWords(K - toSplit(top)));
    if (top < top_ || (top == top_ && longest <= longest_)) return;
    std::vector<bigfloat> scaled;
    std::vector<std::int64_t> shift;
    bigfloat five = pow(bigfloat(5, (longest + 3) * Basedigits), static_cast<unsigned>(32 * kToUnit));
    for (int j = 0; j <= top; ++j) {
      const auto digits = static_cast<std::int64_t>(32 * toSplit(j));
      const auto t = static_cast<int>((Basedigits - digits % Basedigits) % Basedigits);
      int tenToT = 1;
      for (int i = 0; i < t; ++i) tenToT *= 10;
      scaled.push_back(five * bigfloat(tenToT));
      scaled.back().prec(std::min(longest, quotientWords(toSplit(j))) * Basedigits);
      shift.push_back(digits + t);
      if (j < top) five = five * five;
    }
    scaled_.swap(scaled);
    shift_.swap(shift);
    top_ = top;
    longest_ = longest;
  }
  const bigfloat& two(int i) const { return two_[static_cast<std::size_t>(i)]; }
  const bigfloat& scaled(int j) const { return scaled_[static_cast<std::size_t>(j)]; }
  std::int64_t shiftDigits(int j) const { return shift_[static_cast<std::size_t>(j)]; }

 private:
  std::vector<bigfloat> two_, scaled_;
  std::vector<std::int64_t> shift_;
  int top_ = -1;      // of the powers of five
  long longest_ = 0;  // their precision, in words
};

// Conversions up to this many binary words keep their powers for the next
// ones (a number of twenty million digits leaves some 20 MB of them, all but
// the short ones on disk); longer ones make their own and free them.
constexpr std::size_t kCachedWords = std::size_t{1} << 21;

Powers& cachedPowers() {
  static Powers powers;
  return powers;
}

// x cut to its leading `words` words, made of those words only (cutting a
// shared number copies all of it first).
bigfloat leading(const bigfloat& x, long words) {
  const std::size_t n = std::min(x.size(), static_cast<std::size_t>(words));
  if (x.sign() == 0 || (x.prec() != INFINITE && x.wordPrecision() <= words)) return x;
  std::vector<std::uint32_t> buffer(n);
  x.words(0, n, buffer.data());
  return bigfloat::fromWords(x.sign(), x.wordExponent(), words, buffer.data(), n);
}

// The K words of x < 2^(32 K), K <= kToUnit, by Horner's rule on pairs of its
// decimal words in 64-bit limbs, one pass per pair.
class BinaryLeaf {
 public:
  BinaryLeaf(const bigfloat& x, std::size_t K) : K_(K) {
    if (x.sign() == 0) return;
    const std::size_t n = x.size();
    e_ = static_cast<std::size_t>(x.wordExponent());
    BIGNUM_CHECK(e_ <= kDecimal && K <= kToUnit, "radix leaf", "radix");
    x.words(0, n, decimal_);
    std::fill(decimal_ + n, decimal_ + e_, 0U);
    if (e_ % 2 == 1) {
      limbs_[0] = decimal_[0];
      used_ = decimal_[0] != 0 ? 1 : 0;
      next_ = 1;
    }
  }
  std::size_t passes() const { return (e_ - next_) / 2; }
  void pass() { carryFrom(0, take()); }
  // Writes the K words.
  void write(std::uint32_t* out) const {
    std::fill(out, out + K_, 0U);
    BIGNUM_CHECK(2 * used_ <= K_ + 1, "radix leaf", "radix");
    for (std::size_t t = 0; t < used_; ++t) {
      out[2 * t] = static_cast<std::uint32_t>(limbs_[t]);
      if (2 * t + 1 < K_) out[2 * t + 1] = static_cast<std::uint32_t>(limbs_[t] >> 32);
    }
  }
  // A pass of each of a and b, side by side: each limb of one waits on the
  // carry out of the one below, and the other's fill the wait.
  friend void passTogether(BinaryLeaf& a, BinaryLeaf& b) {
    std::uint64_t ca = a.take(), cb = b.take();
    const std::size_t common = std::min(a.used_, b.used_);
    for (std::size_t t = 0; t < common; ++t) {
      const u128 va = static_cast<u128>(a.limbs_[t]) * kLimbBase + ca;
      const u128 vb = static_cast<u128>(b.limbs_[t]) * kLimbBase + cb;
      a.limbs_[t] = static_cast<std::uint64_t>(va);
      b.limbs_[t] = static_cast<std::uint64_t>(vb);
      ca = static_cast<std::uint64_t>(va >> 64);
      cb = static_cast<std::uint64_t>(vb >> 64);
    }
    a.carryFrom(common, ca);
    b.carryFrom(common, cb);
  }

 private:
  static constexpr std::size_t kDecimal = decimalWordsBelow(kToUnit);
  static constexpr std::uint64_t kLimbBase = std::uint64_t{Base} * Base;

  std::uint64_t take() {
    const std::uint64_t pair = std::uint64_t{decimal_[next_]} * Base + decimal_[next_ + 1];
    next_ += 2;
    return pair;
  }
  // The limbs from `first` on times 10^18 plus the carry into them.
  void carryFrom(std::size_t first, std::uint64_t carry) {
    for (std::size_t t = first; t < used_; ++t) {
      const u128 v = static_cast<u128>(limbs_[t]) * kLimbBase + carry;
      limbs_[t] = static_cast<std::uint64_t>(v);
      carry = static_cast<std::uint64_t>(v >> 64);
    }
    if (carry != 0) limbs_[used_++] = carry;
  }

  std::size_t K_, e_ = 0, next_ = 0, used_ = 0;
  std::uint32_t decimal_[kDecimal];
  std::uint64_t limbs_[kToUnit / 2 + 1];
};

void leafToBinary(const bigfloat& x, std::size_t K, std::uint32_t* out) {
  BinaryLeaf leaf(x, K);
  while (leaf.passes() > 0) leaf.pass();
  leaf.write(out);
}

// leafToBinary of x into out[0, K) and of y into outY[0, L), side by side.
void leavesToBinary(const bigfloat& x, std::size_t K, std::uint32_t* out, const bigfloat& y, std::size_t L,
                    std::uint32_t* outY) {
  BinaryLeaf a(x, K), b(y, L);
  while (a.passes() > b.passes()) a.pass();
  while (b.passes() > a.passes()) b.pass();
  while (a.passes() > 0) passTogether(a, b);
  a.write(out);
  b.write(outY);
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
  poll(K);
  if (K <= kToUnit) return leafToBinary(x, K, out);
  const int j = levelOf(kToUnit, K);
  const std::size_t k = toSplit(j);
  const long words = quotientWords(K - k);
  bigfloat y = leading(x, words) * leading(powers.scaled(j), words);
  y.exp(y.exp() - powers.shiftDigits(j));
  bigfloat q = floor(y);
  const bigfloat& B = powers.two(j + kToLevels);
  bigfloat r = x - q * B;
  if (r.sign() < 0) {
    --q;
    r += B;
  } else if (compare(r, B, false) >= 0) {
    ++q;
    r -= B;
  }
  BIGNUM_CHECK(r.sign() >= 0 && compare(r, B, false) < 0, "radix remainder", "radix");
  if (j == 0) return leavesToBinary(r, k, out, q, K - k, out + k);
  toBinary(r, k, out, powers);
  toBinary(q, K - k, out + k, powers);
}

// A value made by Horner's rule from at most kFromUnit binary words, most
// significant first: its words in base 10^9, least significant first.
struct DecimalLeaf {
  std::uint32_t words[decimalWordsBelow(kFromUnit)];
  std::size_t used = 0;

  // The value times 2^32 plus what the words below `first` carry into it.
  void carryFrom(std::size_t first, std::uint64_t carry) {
    for (std::size_t t = first; t < used; ++t) {
      const std::uint64_t v = (std::uint64_t{words[t]} << 32) + carry;
      carry = v / Base;
      words[t] = static_cast<std::uint32_t>(v - carry * Base);
    }
    for (; carry != 0; carry /= Base) words[used++] = static_cast<std::uint32_t>(carry % Base);
  }
  bigfloat value() {
    std::reverse(words, words + used);
    return bigfloat::fromWords(1, static_cast<std::int64_t>(used), INFINITE, words, used);
  }
};

bigfloat leafFromBinary(const std::uint32_t* words, std::size_t count) {
  DecimalLeaf leaf;
  for (std::size_t i = count; i-- > 0;) leaf.carryFrom(0, words[i]);
  return leaf.value();
}

// One step of Horner's rule for each of the first A leaves, with the word
// `s` places below the top of each run, side by side: each leaf's step waits
// on its divisions, and the others' fill the wait.
template <std::size_t A>
void stepTogether(DecimalLeaf* leaves, const std::uint32_t* const* runs, const std::size_t* counts, std::size_t s) {
  std::uint64_t carry[A];
  std::size_t common = leaves[0].used;
  for (std::size_t c = 0; c < A; ++c) {
    carry[c] = runs[c][counts[c] - 1 - s];
    common = std::min(common, leaves[c].used);
  }
  for (std::size_t t = 0; t < common; ++t) {
    for (std::size_t c = 0; c < A; ++c) {
      const std::uint64_t v = (std::uint64_t{leaves[c].words[t]} << 32) + carry[c];
      carry[c] = v / Base;
      leaves[c].words[t] = static_cast<std::uint32_t>(v - carry[c] * Base);
    }
  }
  for (std::size_t c = 0; c < A; ++c) leaves[c].carryFrom(common, carry[c]);
}

// The values of the runs of at most kFromUnit words of the node of
// count <= 4 kFromUnit words at `words`, least significant first, made side by side.
void leavesFromBinary(const std::uint32_t* words, std::size_t count, bigfloat (&values)[4]) {
  const std::uint32_t* runs[4];
  std::size_t counts[4] = {0, 0, 0, 0}, n = 0;
  for (std::size_t start = 0; start < count; start += kFromUnit, ++n) {
    runs[n] = words + start;
    counts[n] = std::min(kFromUnit, count - start);
  }
  // All start at their top words, so that their lengths in decimal words
  // stay alike; the runs with words left are a leading part of them, as all
  // but the last are whole.
  using Step = void (*)(DecimalLeaf*, const std::uint32_t* const*, const std::size_t*, std::size_t);
  constexpr Step steps[4] = {stepTogether<1>, stepTogether<2>, stepTogether<3>, stepTogether<4>};
  DecimalLeaf leaves[4];
  for (std::size_t s = 0; s < counts[0]; ++s) {
    std::size_t active = 1;
    while (active < n && counts[active] > s) ++active;
    steps[active - 1](leaves, runs, counts, s);
  }
  for (std::size_t c = 0; c < n; ++c) values[c] = leaves[c].value();
}

bigfloat fromBinary(const std::uint32_t* words, std::size_t count, const Powers& powers) {
  while (count > 0 && words[count - 1] == 0) --count;
  poll(count);
  if (count <= kFromUnit) return leafFromBinary(words, count);
  const int j = levelOf(kFromUnit, count);
  if (j <= 1) {
    bigfloat v[4];
    leavesFromBinary(words, count, v);
    const bigfloat& B0 = powers.two(0);
    if (j == 0) return v[1] * B0 + v[0];
    return (v[3] * B0 + v[2]) * powers.two(1) + (v[1] * B0 + v[0]);
  }
  const std::size_t k = kFromUnit << j;
  return fromBinary(words + k, count - k, powers) * powers.two(j) + fromBinary(words, k, powers);
}

// Digits of a binary, octal or hexadecimal text handled between two polls.
constexpr std::size_t kPollDigits = 1 << 16;

void requireRadix(int bits) { BIGNUM_CHECK(bits == 1 || bits == 3 || bits == 4, "bits 1, 3 or 4", "radix"); }

}  // namespace

std::vector<std::uint32_t> binaryWords(const bigfloat& x) {
  BIGNUM_CHECK(x.prec() == INFINITE, "prec == INFINITE", "radix");
  BIGNUM_CHECK(x.sign() >= 0, "x.sign () >= 0", "radix");
  if (x.sign() == 0) return {};
  BIGNUM_CHECK(static_cast<std::int64_t>(x.size()) <= x.wordExponent(), "integer", "radix");
  const std::size_t K = binaryWordsFor(x.wordExponent());
  std::vector<std::uint32_t> words(K);
  if (K <= kToUnit) {
    leafToBinary(x, K, words.data());
  } else if (K <= kCachedWords) {
    cachedPowers().needQuotients(K);
    toBinary(x, K, words.data(), cachedPowers());
  } else {
    Powers powers;
    powers.needQuotients(K);
    toBinary(x, K, words.data(), powers);
  }
  while (!words.empty() && words.back() == 0) words.pop_back();
  return words;
}

bigfloat fromBinaryWords(std::span<const std::uint32_t> words) {
  std::size_t count = words.size();
  while (count > 0 && words[count - 1] == 0) --count;
  if (count <= kFromUnit) return leafFromBinary(words.data(), count);
  if (count <= kCachedWords) {
    cachedPowers().needTwos(levelOf(kFromUnit, count));
    return fromBinary(words.data(), count, cachedPowers());
  }
  Powers powers;
  powers.needTwos(levelOf(kFromUnit, count));
  return fromBinary(words.data(), count, powers);
}

void clearRadixCache() { cachedPowers() = Powers(); }

std::string radixDigits(const bigfloat& x, int bits) {
  requireRadix(bits);
  const std::vector<std::uint32_t> words = binaryWords(x);
  if (words.empty()) return "0";
  const std::size_t length = 32 * (words.size() - 1) + static_cast<std::size_t>(std::bit_width(words.back()));
  const std::size_t count = (length + static_cast<std::size_t>(bits) - 1) / static_cast<std::size_t>(bits);
  const std::uint32_t mask = (1U << bits) - 1;
  std::string digits(count, '0');
  for (std::size_t i = 0; i < count; ++i) {
    if (i % kPollDigits == 0) poll(kPollDigits / 8);
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
    if (i % kPollDigits == 0) poll(kPollDigits / 8);
    const auto v = static_cast<std::uint32_t>(digitValue(static_cast<unsigned char>(digits[count - 1 - i])));
    BIGNUM_CHECK(v < (1U << bits), "radix digit", "radix");
    const std::size_t position = i * static_cast<std::size_t>(bits), w = position / 32, shift = position % 32;
    words[w] |= v << shift;
    if (shift + static_cast<std::size_t>(bits) > 32) words[w + 1] |= v >> (32 - shift);
  }
  return fromBinaryWords(words);
}

}  // namespace bignum
