// Multiplication: by one word, schoolbook up to 50 words, Karatsuba's method
// for mid-length factors, by transform above; and integer powers.
#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

#include "bignum/bigfloat.h"
#include "bignum/check.h"
#include "bignum/convolution.h"
#include "bignum/karatsuba.h"
#include "bignum/progress.h"
#include "bignum/record.h"
#include "bignum/wordmath.h"

namespace bignum {

using namespace records;

namespace {

using words::divideByBase;

// Longest shorter factor multiplied word by word here (columns of 17 products
// and a carry fit 64 bits); longer ones go to the vector schoolbook inside
// Karatsuba's method (measured: it wins from 20 words).
constexpr std::size_t kSchoolbook = 17;
// Longest shorter factor multiplied by Karatsuba's method (in pieces of its
// length); above, the transform is faster (measured: Karatsuba wins at 3150
// digits, the transform with its one-pass short lengths at 3600).
constexpr std::size_t kKaratsuba = 380;

// Writes result words from the least significant end, in windows; close()
// stores the last one. (A window left open by an exception goes with the record.)
class BackwardWriter {
 public:
  BackwardWriter(numstruct& r, std::size_t end) : r_(r), start_(end), stop_(end) {}
  void close() {
    if (out_ != nullptr) r_.writeback();
    out_ = nullptr;
  }
  void put(std::size_t i, std::uint32_t w) {
    if (i < start_) {
      if (out_ != nullptr) r_.writeback();
      stop_ = start_;
      start_ = stop_ > block_ ? stop_ - block_ : 0;
      out_ = r_.getwritewindow(start_, stop_ - start_);
    }
    out_[i - start_] = w;
  }

 private:
  numstruct& r_;
  std::size_t block_ = limits().Blocksize;
  std::size_t start_, stop_;
  std::uint32_t* out_ = nullptr;
};

// The words of a record's first `count` words, in memory.
std::vector<std::uint32_t> leadingWords(numstruct& r, std::size_t count) {
  std::vector<std::uint32_t> words(count);
  forWindows(r, 0, count, limits().Blocksize, [&](const std::uint32_t* w, std::size_t position, std::size_t n) {
    std::memcpy(words.data() + position, w, n * 4);
  });
  return words;
}

// Records with the product's leading carry word in front: the words of `r`
// moved one place down behind a new leading word.
bigfloat withLeadingWord(Record r, std::uint32_t lead, std::size_t keep) {
  Record grown = newRecord(keep, r->sign, r->exp + 1, r->prec);
  grown->getwritewindow(0, 1)[0] = lead;
  grown->writeback();
  if (keep > 1) copyWords(*grown, 1, *r, 0, keep - 1);
  r.reset();
  return finish(std::move(grown));
}

// a times the one word of b.
bigfloat mulshort(numstruct& a, numstruct& b) {
  BIGNUM_CHECK(b.size() == 1, "b->size == 1", "bigfloat");
  const std::uint32_t m = b.getreadwindow(0, 1)[0];
  b.clearreadwindow();
  const long prec = minPrecision(a.prec, b.prec);
  const std::size_t size = prec == INFINITE ? a.size() : std::min(a.size(), static_cast<std::size_t>(prec));
  bool underflow = false;
  const std::int64_t exp = clampExponent(a.exp + b.exp - 1, underflow);
  if (underflow) return bigfloat();
  Record r = newRecord(size, a.sign * b.sign, exp, prec);
  if (m == 1) {
    copyWords(*r, 0, a, 0, size);
    return finish(std::move(r));
  }
  std::uint64_t carry = 0;
  {
    BackwardWriter out(*r, size);
    WindowGuard guard(a);
    std::vector<std::uint32_t> block;
    const std::size_t step = limits().Blocksize;
    for (std::size_t stop = size; stop > 0;) {
      const std::size_t start = stop > step ? stop - step : 0;
      poll(stop - start);
      const std::uint32_t* w = a.getreadwindow(start, stop - start);
      for (std::size_t i = stop; i-- > start;) {
        std::uint32_t word;
        carry = divideByBase(std::uint64_t{w[i - start]} * m + carry, word);
        out.put(i, word);
      }
      a.clearreadwindow();
      stop = start;
    }
    out.close();
  }
  if (carry == 0) return finish(std::move(r));
  const std::size_t keep = prec == INFINITE || size < static_cast<std::size_t>(prec) ? size + 1 : size;
  return withLeadingWord(std::move(r), static_cast<std::uint32_t>(carry), keep);
}

// Schoolbook product of the first words of a and all of b (b at most
// kSchoolbook words, so a column of products and a carry fits 64 bits): a
// window of accumulators, one per column that the words of b reach, slides
// over a from its least significant end; columns leaving it are final.
bigfloat schoolbook(numstruct& a, numstruct& b) {
  const long prec = minPrecision(a.prec, b.prec);
  const std::size_t na = prec == INFINITE ? a.size() : std::min(a.size(), static_cast<std::size_t>(prec));
  const std::size_t nb = b.size();
  bool underflow = false;
  const std::int64_t exp = clampExponent(a.exp + b.exp - 1, underflow);
  if (underflow) return bigfloat();
  const std::size_t size = na + nb - 1;
  Record r = newRecord(size, a.sign * b.sign, exp, prec);

  const std::uint32_t* am = a.memoryData();
  const std::uint32_t* bm = b.memoryData();
  std::uint32_t* rm = r->memoryData();
  if (am != nullptr && bm != nullptr && rm != nullptr) {
    // All in memory: column by column from the least significant end. One
    // poll: even a factor of a million words takes some tens of milliseconds.
    poll(na * nb);
    std::uint64_t carry = 0;
    for (std::size_t k = size; k-- > 0;) {
      std::uint64_t column = carry;
      const std::size_t first = k + 1 > nb ? k + 1 - nb : 0, last = std::min(k, na - 1);
      for (std::size_t i = first; i <= last; ++i) column += std::uint64_t{am[i]} * bm[k - i];
      std::uint32_t word;
      carry = divideByBase(column, word);
      rm[k] = word;
    }
    if (carry == 0) return finish(std::move(r));
    return withLeadingWord(std::move(r), static_cast<std::uint32_t>(carry), size + 1);
  }

  const std::vector<std::uint32_t> B = leadingWords(b, nb);

  // window[k % nb] accumulates column k (0 is the most significant) for k in [i, i + nb).
  std::uint64_t window[kSchoolbook] = {};
  std::uint64_t carry = 0;
  {
    BackwardWriter out(*r, size);
    WindowGuard guard(a);
    const std::size_t step = limits().Blocksize;
    for (std::size_t stop = na; stop > 0;) {
      const std::size_t start = stop > step ? stop - step : 0;
      poll((stop - start) * nb);
      const std::uint32_t* w = a.getreadwindow(start, stop - start);
      for (std::size_t i = stop; i-- > start;) {
        const std::uint64_t x = w[i - start];
        // Column i + j lives in slot (i + j) mod nb: a run from `slot`, then one from 0.
        const std::size_t slot = i % nb, wrap = nb - slot;
        for (std::size_t j = 0; j < wrap; ++j) window[slot + j] += x * B[j];
        for (std::size_t j = wrap; j < nb; ++j) window[slot + j - nb] += x * B[j];
        // Column i + nb - 1 gets nothing more.
        std::uint64_t& last = window[slot == 0 ? nb - 1 : slot - 1];
        std::uint32_t word;
        carry = divideByBase(last + carry, word);
        out.put(i + nb - 1, word);
        last = 0;
      }
      a.clearreadwindow();
      stop = start;
    }
    for (std::size_t k = nb - 1; k-- > 0;) {
      std::uint32_t word;
      carry = divideByBase(window[k % nb] + carry, word);
      out.put(k, word);
    }
    out.close();
  }
  if (carry == 0) return finish(std::move(r));
  // A leading carry word: everything moves down by one; the result is cut to the precision anyway.
  return withLeadingWord(std::move(r), static_cast<std::uint32_t>(carry), size + 1);
}

bigfloat multransform(numstruct& a, numstruct& b) {
  const long p = minPrecision(a.prec, b.prec);
  const std::size_t la = p == INFINITE ? a.size() : std::min(a.size(), static_cast<std::size_t>(p));
  const std::size_t lb = p == INFINITE ? b.size() : std::min(b.size(), static_cast<std::size_t>(p));
  const std::size_t r =
      p == INFINITE ? a.size() + b.size() : std::min(static_cast<std::size_t>(p), a.size() + b.size());
  const std::size_t N = rnd23up(la + lb);
  const std::size_t S = std::min(N, r + 2);
  ConvolutionResult product = &a == &b ? selfConvolution(a, S, la, N) : convolution(a, b, S, la, lb, N);
  bool underflow = false;
  const std::int64_t exp = clampExponent(a.exp + b.exp + product.carry - 1, underflow);
  if (underflow) return bigfloat();
  Record result = newRecord(0, a.sign * b.sign, exp, p, MEMORY);
  result->takeStorage(*product.words);
  if (result->size() > r) result->relocate(DEFAULT, r);
  return finish(std::move(result));
}

// Karatsuba's product of the first la words of a and the first lb of b (la >=
// lb), exact and then cut to the precision. a is taken in pieces of lb words
// from its least significant end, so that only b, a piece and its product are
// held in memory however long a is; the result is written in windows.
bigfloat mulkaratsuba(numstruct& a, numstruct& b, std::size_t la, std::size_t lb) {
  const long prec = minPrecision(a.prec, b.prec);
  const std::size_t total = la + lb;
  // The words kept: those of the precision and one more for a leading zero word.
  const std::size_t kept = prec == INFINITE ? total : std::min(total, static_cast<std::size_t>(prec) + 1);
  Record r = newRecord(kept, a.sign * b.sign, 0, prec);
  // One allocation for b, a piece, their product, the words carried and the scratch.
  const auto memory = std::make_unique_for_overwrite<std::uint32_t[]>(5 * lb + karatsubaScratch(lb));
  std::uint32_t* const factor = memory.get();
  std::uint32_t* const piece = factor + lb;
  std::uint32_t* const product = piece + lb;
  std::uint32_t* const carried = product + 2 * lb;
  std::uint32_t* const scratch = carried + lb;
  std::fill(carried, carried + lb, 0u);
  readWords(b, 0, lb, factor);
  std::reverse(factor, factor + lb);
  {
    BackwardWriter out(*r, kept);
    WindowGuard guard(a);
    for (std::size_t stop = la; stop > 0;) {
      const std::size_t start = stop > lb ? stop - lb : 0, length = stop - start;
      poll(length * lb);
      if (&a == &b) {
        karatsubaSquare(product, factor, lb, scratch);
      } else {
        const std::uint32_t* w = a.getreadwindow(start, length);
        std::reverse_copy(w, w + length, piece);
        a.clearreadwindow();
        karatsubaMultiply(product, factor, lb, piece, length, scratch);
      }
      // The upper words of the pieces before are added to the lower words of this one.
      std::uint32_t carry = 0;
      for (std::size_t j = 0; j < lb || (carry != 0 && j < length + lb); ++j) {
        const std::uint32_t s = product[j] + (j < lb ? carried[j] : 0) + carry;
        carry = s >= Base;
        product[j] = carry ? s - Base : s;
      }
      for (std::size_t j = 0; j < length; ++j)
        if (stop + lb - 1 - j < kept) out.put(stop + lb - 1 - j, product[j]);
      std::copy(product + length, product + length + lb, carried);
      stop = start;
    }
    for (std::size_t j = 0; j < lb; ++j)
      if (lb - 1 - j < kept) out.put(lb - 1 - j, carried[j]);
    out.close();
  }
  const bool lead = carried[lb - 1] != 0;
  bool underflow = false;
  r->exp = clampExponent(a.exp + b.exp - (lead ? 0 : 1), underflow);
  if (underflow) return bigfloat();
  if (lead) return finish(std::move(r));
  // A zero leading word: the words move up by one.
  const std::size_t keep = kept - 1;
  if (std::uint32_t* words = r->memoryData()) {
    std::memmove(words, words + 1, keep * 4);
    r->resize(keep);
    return finish(std::move(r));
  }
  Record shifted = newRecord(keep, r->sign, r->exp, prec);
  copyWords(*shifted, 0, *r, 1, keep);
  r.reset();
  return finish(std::move(shifted));
}

}  // namespace

bigfloat operator*(const bigfloat& x, const bigfloat& y) {
  if (x.sign() == 0 || y.sign() == 0) return bigfloat();
  numstruct& a = *x.record();
  numstruct& b = *y.record();
  const std::size_t sa = a.size(), sb = b.size();
  if (sa < 2) return mulshort(b, a);
  if (sb < 2) return mulshort(a, b);
  if (sa <= kSchoolbook && sa <= sb) return schoolbook(b, a);
  if (sb <= kSchoolbook) return schoolbook(a, b);
  // Both factors as long as the product uses them.
  const long p = minPrecision(a.prec, b.prec);
  const std::size_t la = p == INFINITE ? sa : std::min(sa, static_cast<std::size_t>(p));
  const std::size_t lb = p == INFINITE ? sb : std::min(sb, static_cast<std::size_t>(p));
  if (std::min(la, lb) > kKaratsuba) return multransform(a, b);
  return la >= lb ? mulkaratsuba(a, b, la, lb) : mulkaratsuba(b, a, lb, la);
}

namespace {

// The digits binary powering to the n-th power works with beyond x's: each
// product is cut to the precision, and the cuts add up to about 2n units of
// the last word; two words more keep the result's last-but-one word whole
// when its leading word holds fewer digits than x's.
long powerGuard(unsigned n) {
  long digits = 2 * Basedigits;
  for (unsigned long m = 2ul * n; m != 0; m /= 10) ++digits;
  return digits;
}

}  // namespace

bigfloat pow(const bigfloat& x, unsigned n) {
  if (n == 0) return bigfloat(1);
  // One product (n = 2) is already good to its last word.
  const long p = x.prec();
  const bool guarded = p != INFINITE && n > 2;
  bigfloat base = x;
  if (guarded) base.prec(p + powerGuard(n));
  // Trailing zero bits of n are squarings at the end.
  unsigned zeros = 0;
  for (; (n & 1) == 0; n >>= 1) ++zeros;
  // The squarings done, out of those of the bits of n.
  ProgressStage stage("power");
  const double squarings = std::bit_width(n >> 1) + zeros;
  double done = 0;
  bigfloat result = base;
  for (n >>= 1; n != 0; n >>= 1) {
    stage.advance(done++ / squarings);
    base = base * base;
    if (n & 1) result = result * base;
  }
  for (; zeros > 0; --zeros) {
    stage.advance(done++ / squarings);
    result = result * result;
  }
  if (guarded) result.prec(p);
  return result;
}

bigfloat pow(const bigfloat& x, int n) {
  if (n >= 0) return pow(x, static_cast<unsigned>(n));
  const auto m = static_cast<unsigned>(-(static_cast<long>(n)));
  if (x.prec() == INFINITE) {
    const bigfloat power = pow(x, m);
    return invroot(power, 1, power.prec());
  }
  // The reciprocal's leading word may hold more digits than the power's:
  // both are taken two words wider and cut back.
  const long p = x.prec();
  bigfloat wide = x;
  wide.prec(p + 2 * Basedigits);
  bigfloat result = invroot(pow(wide, m), 1, p + 2 * Basedigits);
  result.prec(p);
  return result;
}

}  // namespace bignum
