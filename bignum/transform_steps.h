// Pieces shared by the memory and disk transforms (internal to the library).
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <new>

#include "bignum/check.h"
#include "bignum/init.h"
#include "bignum/kernels.h"
#include "bignum/modint.h"
#include "bignum/workers.h"

namespace bignum::steps {

// Power-of-two lengths up to this are one radix-2 pass over the whole vector,
// which stays in the processor's caches: no twiddled rows, no gathered columns.
// Their words are those of the two-pass transform (both leave X[k] at the
// bit reversal of k).
inline constexpr std::size_t kDirectLength = 16384;
// Shorter power-of-two transforms run on one thread.
inline constexpr std::size_t kThreadedLength = kDirectLength + 1;
// Threads used by the last row set (for tests).
extern unsigned lastThreads;

// A scratch buffer of words from the heap, freed with its owner; aligned to
// `alignBytes` when asked (private copies of tables for threads).
class Scratch {
 public:
  explicit Scratch(std::size_t words, std::size_t alignBytes = 0)
      : align_(alignBytes),
        words_(static_cast<std::uint32_t*>(
            align_ == 0 ? ::operator new(std::max<std::size_t>(words, 1) * 4)
                        : ::operator new(std::max<std::size_t>(words, 1) * 4, std::align_val_t(align_)))) {}
  ~Scratch() {
    if (align_ == 0)
      ::operator delete(words_);
    else
      ::operator delete(words_, std::align_val_t(align_));
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  std::uint32_t* get() const { return words_; }

 private:
  std::size_t align_;
  std::uint32_t* words_;
};

// A buffer of at least `words` words that lives from one transform to the
// next, so that column blocks are not faulted in afresh for every pass. Only
// one transform runs at a time; the slices of one pass take disjoint parts.
std::uint32_t* sharedScratch(std::size_t words);

inline std::size_t reverseBits(std::size_t i, unsigned bits) {
  std::size_t r = 0;
  for (unsigned b = 0; b < bits; ++b, i >>= 1) r = (r << 1) | (i & 1);
  return r;
}

inline bool isPowerOfTwo(std::size_t N) { return (N & (N - 1)) == 0; }

// Transform lengths are 2^k or 3*2^k, up to MAXTRANSFORMLENGTH words.
inline void checkLength(std::size_t N) {
  BIGNUM_CHECK(N <= MAXTRANSFORMLENGTH, "pn <= MAXTRANSFORMLENGTH", "convolution");
  BIGNUM_CHECK(isPowerOfTwo(N) || (N % 3 == 0 && isPowerOfTwo(N / 3)), "N == 2^k or N == 3*2^k", "transform");
}

// g^e mod m, remembered: the transforms ask for the same few roots and
// factors over and over (a fixed set of values of the three moduli).
std::uint32_t cachedPower(const Montgomery& mg, std::uint32_t g, std::uint64_t e);

// The roots of unity of order n: for the forward and for the inverse direction.
inline std::uint32_t forwardRoot(const Montgomery& mg, std::uint32_t g, std::size_t n) {
  return cachedPower(mg, g, mg.m - 1 - (mg.m - 1) / n);
}
inline std::uint32_t inverseRoot(const Montgomery& mg, std::uint32_t g, std::size_t n) {
  return cachedPower(mg, g, (mg.m - 1) / n);
}

// out[k] = the Montgomery form of r^k for k < count, eight at a time on the
// vector kernels when they are there.
inline void fillPowers(std::uint32_t* out, std::size_t count, std::uint32_t r, const Montgomery& mg,
                       const Kernels& k = activeKernels()) {
  const std::uint32_t ratio = mg.to(r);
  alignas(32) std::uint32_t first[8];
  first[0] = mg.r1;
  for (int j = 1; j < 8; ++j) first[j] = mg.mul(first[j - 1], ratio);
  std::uint32_t step = mg.mul(first[4], first[4]);
  std::fill(out, out + count, mg.r1);  // Montgomery 1: the factors land as they are
  k.scaleRow(out, count, first, step, mg);
}

// Twiddle table of a row of n words for the root r of order n: the Montgomery
// forms of r_h^k at index h + k, r_h = r^(n / 2h).
inline void buildTable(std::uint32_t* table, std::size_t n, std::uint32_t r, const Montgomery& mg) {
  if (n < 2) return;
  std::size_t h = n / 2;
  fillPowers(table + h, h, r, mg);
  for (h /= 2; h >= 1; h /= 2)
    for (std::size_t k = 0; k < h; ++k) table[h + k] = table[2 * h + 2 * k];
}

// The table of buildTable for (the current modulus, r, n), remembered: the
// transforms of one product size ask for the same few tables again and again.
// Valid until the next call on this thread.
const std::uint32_t* cachedTable(const Montgomery& mg, std::uint32_t r, std::size_t n);

// N = R1 * R2 with R1 = 2^floor(k/2): the data as R1 rows of R2 words.
struct Shape {
  std::size_t N, R1, R2;
  unsigned bits1;  // log2(R1)
};

inline Shape shapeOf(std::size_t N) {
  const unsigned k = static_cast<unsigned>(std::countr_zero(N));
  const std::size_t R1 = std::size_t{1} << (k / 2);
  return Shape{N, R1, N / R1, k / 2};
}

// Column transforms of b columns held in a strip of R1 rows, `stride` words
// apart. Unless the strip is contiguous already it is copied into `block`
// (R1 * b words) and back, so that the kernel never walks a power-of-two stride.
inline void transformColumns(std::uint32_t* strip, std::size_t stride, std::size_t b, const Shape& s,
                             std::uint32_t* block, const std::uint32_t* table, bool forward, const Montgomery& mg,
                             const Kernels& k) {
  const bool copy = stride != b;
  if (copy)
    for (std::size_t i = 0; i < s.R1; ++i) std::copy_n(strip + i * stride, b, block + i * b);
  std::uint32_t* words = copy ? block : strip;
  (forward ? k.forwardColumns : k.inverseColumns)(words, s.R1, b, table, mg);
  if (copy)
    for (std::size_t i = 0; i < s.R1; ++i) std::copy_n(block + i * b, b, strip + i * stride);
}

// The twiddle factors of the row pass: row i is multiplied by c w^(rev(i) j),
// rev being the bit reversal over R1. Tables of c w^k (k < 7 R1 + 1) and of
// w^(8 k) (k < R1) give each row its first eight factors and their step.
class RowTwiddles {
 public:
  RowTwiddles(const Shape& s, std::uint32_t w, std::uint32_t c, const Montgomery& mg)
      : scaled_(7 * s.R1 + 1), eighth_(s.R1), reversed_(s.R1) {
    const Kernels& k = activeKernels();
    fillPowers(scaled_.get(), 7 * s.R1 + 1, w, mg, k);
    const std::uint32_t constant[8] = {c, c, c, c, c, c, c, c};
    k.scaleRow(scaled_.get(), 7 * s.R1 + 1, constant, mg.r1, mg);
    fillPowers(eighth_.get(), s.R1, mg.power(w, 8), mg, k);
    for (std::size_t i = 0; i < s.R1; ++i) reversed_.get()[i] = static_cast<std::uint32_t>(reverseBits(i, s.bits1));
  }
  void apply(std::uint32_t* row, std::size_t i, std::size_t n, const Montgomery& mg, const Kernels& k) const {
    const std::size_t e = reversed_.get()[i];
    alignas(32) std::uint32_t first[8];
    for (std::size_t j = 0; j < 8; ++j) first[j] = scaled_.get()[e * j];
    k.scaleRow(row, n, first, eighth_.get()[e], mg);
  }

 private:
  Scratch scaled_, eighth_, reversed_;
};

// Row i of the row pass, forward: its twiddles (with the factor 2^32), then the row transform.
inline void forwardRowOf(std::uint32_t* row, std::size_t i, const Shape& s, const RowTwiddles& twiddles,
                         const std::uint32_t* table, const Montgomery& mg, const Kernels& k) {
  twiddles.apply(row, i, s.R2, mg, k);
  if (s.R2 > 1) k.forwardRow(row, s.R2, table, mg);
}

// Row i of the row pass, inverse: the row transform, then its twiddles (with the scale).
inline void inverseRowOf(std::uint32_t* row, std::size_t i, const Shape& s, const RowTwiddles& twiddles,
                         const std::uint32_t* table, const Montgomery& mg, const Kernels& k) {
  if (s.R2 > 1) k.inverseRow(row, s.R2, table, mg);
  twiddles.apply(row, i, s.R2, mg, k);
}

// The Montgomery form of 1 / (2^32 N f): the factor the inverse row pass applies.
inline std::uint32_t inverseScale(const Montgomery& mg, std::size_t N, std::size_t f) {
  return cachedPower(mg, static_cast<std::uint32_t>(N * f % mg.m), mg.m - 2);
}

// The radix-3 constants for the root x of order N = 3M: -3/2 and 1/2 + x^M, in Montgomery form.
struct Radix3 {
  std::uint32_t c1, c2;
};
inline Radix3 radix3Constants(const Montgomery& mg, std::uint32_t x, std::size_t M) {
  const std::uint32_t half = mg.power(2, mg.m - 2);
  const std::uint32_t c1 = static_cast<std::uint32_t>(static_cast<std::uint64_t>(mg.m - 3) * half % mg.m);
  std::uint32_t c2 = half + mg.power(x, M);
  if (c2 >= mg.m) c2 -= mg.m;
  return Radix3{mg.to(c1), mg.to(c2)};
}

// Runs fn(begin, end, table, block) over `count` items: on this thread alone,
// or split into slices over up to NProcessors threads, each with a private copy
// of the table aligned to the cache line. Each slice gets its own block of
// `blockWords` scratch words. The calling thread does the last slice; each
// worker first takes on the caller's modulus.
template <class Fn>
void runSlices(std::size_t count, bool threaded, const std::uint32_t* table, std::size_t tableWords,
               std::size_t blockWords, Fn&& fn) {
  const Limits& l = limits();
  const std::size_t threads = threaded ? std::min<std::size_t>(l.NProcessors, count) : 1;
  lastThreads = static_cast<unsigned>(std::max<std::size_t>(threads, 1));
  const std::size_t blockStride = (blockWords + 15) / 16 * 16;
  std::uint32_t* blocks = blockWords > 0 ? sharedScratch(blockStride * threads) : nullptr;
  if (threads <= 1) {
    fn(std::size_t{0}, count, table, blocks);
    return;
  }
  const std::size_t stride = (tableWords + l.Burst - 1) / l.Burst * l.Burst;
  Scratch copies(stride * threads, std::max<std::size_t>(l.Burst * 4, 64));
  for (std::size_t t = 0; t < threads; ++t) std::copy(table, table + tableWords, copies.get() + t * stride);

  const std::uint32_t modulus = getmodulus();
  runOnWorkers(threads, [&](std::size_t t) {
    setmodulus(modulus);
    fn(t * count / threads, (t + 1) * count / threads, copies.get() + t * stride,
       blocks == nullptr ? nullptr : blocks + t * blockStride);
  });
}

}  // namespace bignum::steps
