#include "bignum/transform.h"

#include <array>
#include <cstdlib>
#include <new>
#include <vector>

#include "bignum/progress.h"
#include "bignum/transform_steps.h"

namespace bignum {

namespace steps {

unsigned lastThreads = 1;

std::uint32_t* sharedScratch(std::size_t words) {
  static std::uint32_t* buffer = nullptr;  // kept until the process ends
  static std::size_t size = 0;
  if (words > size) {
    // The old buffer stays when no larger one can be had.
    const std::size_t grown = std::max(words, 2 * size);
    auto* fresh = static_cast<std::uint32_t*>(std::aligned_alloc(64, (grown * 4 + 63) / 64 * 64));
    if (fresh == nullptr) throw std::bad_alloc();
    std::free(buffer);
    buffer = fresh;
    size = grown;
  }
  return buffer;
}

std::uint32_t cachedPower(const Montgomery& mg, std::uint32_t g, std::uint64_t e) {
  struct Entry {
    std::uint32_t m, g;
    std::uint64_t e;
    std::uint32_t value;
  };
  static Entry entries[512];  // direct-mapped; a miss is only a power computed
  const std::size_t slot = (mg.m * 31u + g * 7u + static_cast<std::size_t>(e * 0x9E3779B97F4A7C15ull >> 40)) % 512;
  Entry& entry = entries[slot];
  if (entry.m != mg.m || entry.g != g || entry.e != e) entry = Entry{mg.m, g, e, mg.power(g, e)};
  return entry.value;
}

const std::uint32_t* cachedTable(const Montgomery& mg, std::uint32_t r, std::size_t n) {
  struct Entry {
    std::uint32_t m = 0, r = 0;
    std::size_t n = 0;
    std::vector<std::uint32_t> words;
  };
  // A transform uses at most two tables and a product three moduli: twelve
  // entries hold a forward and an inverse product's worth, at most 768 KiB
  // (at the longest one-pass length).
  thread_local std::array<Entry, 12> entries;
  thread_local std::size_t next = 0;
  for (Entry& e : entries)
    if (e.m == mg.m && e.r == r && e.n == n) return e.words.data();
  Entry& e = entries[next];
  next = (next + 1) % entries.size();
  e.words.assign(std::max<std::size_t>(n, 1), 0);
  e.m = 0;  // not valid until built
  buildTable(e.words.data(), n, r, mg);
  e.m = mg.m;
  e.r = r;
  e.n = n;
  return e.words.data();
}

}  // namespace steps

using namespace steps;

namespace {

// How many columns the memory column pass takes at a time: a block of about
// 256 KiB, at least one vector wide, and narrow enough to give every thread a strip.
std::size_t columnGroup(const Shape& s, bool threaded) {
  std::size_t b = std::min(s.R2, std::clamp<std::size_t>(65536 / s.R1, 8, 64));
  if (threaded) b = std::min(b, std::max<std::size_t>(std::bit_floor(s.R2 / limits().NProcessors), 8));
  return b;
}

// The column pass: strips of columns, split over the threads.
void columnPass(std::uint32_t* data, const Shape& s, std::uint32_t root, bool threaded, bool forward,
                const Montgomery& mg, const Kernels& k) {
  if (s.R1 < 2) return;
  const std::uint32_t* table = cachedTable(mg, root, s.R1);
  const std::size_t b = columnGroup(s, threaded);
  runSlices(s.R2 / b, threaded, table, s.R1, b * s.R1,
            [&](std::size_t begin, std::size_t end, const std::uint32_t* t, std::uint32_t* block) {
              for (std::size_t group = begin; group < end; ++group)
                transformColumns(data + group * b, s.R2, b, s, block, t, forward, mg, k);
            });
}

// The row pass: each(row, i, table) for every row, split over the threads.
template <class Each>
void rowPass(std::uint32_t* data, const Shape& s, std::uint32_t root, bool threaded, const Montgomery& mg,
             Each&& each) {
  const std::uint32_t* table = cachedTable(mg, root, s.R2);
  runSlices(s.R1, threaded, table, s.R2, 0,
            [&](std::size_t begin, std::size_t end, const std::uint32_t* t, std::uint32_t*) {
              for (std::size_t i = begin; i < end; ++i) each(data + i * s.R2, i, t);
            });
}

bool threadedLength(std::size_t N) { return N >= kThreadedLength && limits().NProcessors >= 2; }

// The radix-3 step over the three thirds of N = 3M words, in column ranges
// split over the threads like the rows of a third.
void radix3Pass(std::uint32_t* data, std::size_t M, std::uint32_t x, bool forward, const Montgomery& mg,
                const Kernels& k) {
  const Radix3 c = radix3Constants(mg, x, M);
  constexpr std::size_t kColumns = 4096;
  const std::size_t ranges = (M + kColumns - 1) / kColumns;
  runSlices(ranges, threadedLength(M), nullptr, 0, 0,
            [&](std::size_t begin, std::size_t end, const std::uint32_t*, std::uint32_t*) {
              const std::size_t first = begin * kColumns, last = std::min(end * kColumns, M);
              (forward ? k.radix3 : k.inverseRadix3)(data, M, first, last, c.c1, c.c2, mg.to(mg.power(x, first)),
                                                     mg.to(x), mg);
            });
}

// All N words times the Montgomery form c.
void scaleAll(std::uint32_t* data, std::size_t N, std::uint32_t c, const Montgomery& mg, const Kernels& k) {
  const std::uint32_t factors[8] = {c, c, c, c, c, c, c, c};
  k.scaleRow(data, N, factors, mg.r1, mg);
}

// The forward transform of a power-of-two length, with the factor 2^32 or without.
void forwardPow2(std::uint32_t* data, std::size_t N, std::uint32_t g, bool scaled, const Montgomery& mg,
                 const Kernels& k) {
  if (N <= kDirectLength) {
    lastThreads = 1;
    k.forwardRow(data, N, cachedTable(mg, forwardRoot(mg, g, N), N), mg);
    if (scaled) scaleAll(data, N, mg.r2, mg, k);
    return;
  }
  const Shape s = shapeOf(N);
  const std::uint32_t w = forwardRoot(mg, g, N);
  columnPass(data, s, forwardRoot(mg, g, s.R1), threadedLength(N), true, mg, k);
  poll(N);  // between the passes, on the calling thread: the workers never throw
  const RowTwiddles twiddles(s, w, scaled ? mg.r2 : mg.r1, mg);
  rowPass(
      data, s, forwardRoot(mg, g, s.R2), threadedLength(N), mg,
      [&](std::uint32_t* row, std::size_t i, const std::uint32_t* t) { forwardRowOf(row, i, s, twiddles, t, mg, k); });
}

// The inverse transform of a power-of-two length, whose words are multiplied by
// the Montgomery form c (the scale; see inverseScale).
void inversePow2(std::uint32_t* data, std::size_t N, std::uint32_t g, std::uint32_t c, const Montgomery& mg,
                 const Kernels& k) {
  if (N <= kDirectLength) {
    lastThreads = 1;
    k.inverseRow(data, N, cachedTable(mg, inverseRoot(mg, g, N), N), mg);
    scaleAll(data, N, c, mg, k);
    return;
  }
  const Shape s = shapeOf(N);
  const std::uint32_t v = inverseRoot(mg, g, N);
  const RowTwiddles twiddles(s, v, c, mg);
  rowPass(
      data, s, inverseRoot(mg, g, s.R2), threadedLength(N), mg,
      [&](std::uint32_t* row, std::size_t i, const std::uint32_t* t) { inverseRowOf(row, i, s, twiddles, t, mg, k); });
  poll(N);
  columnPass(data, s, inverseRoot(mg, g, s.R1), threadedLength(N), false, mg, k);
}

}  // namespace

unsigned lastRowThreads() { return lastThreads; }

void forwardTransform(std::uint32_t* data, std::uint32_t root, std::size_t N, Scaling scaling) {
  if (N < 2) return;
  checkLength(N);
  poll(N);
  const Montgomery mg = Montgomery::of(getmodulus());
  const Kernels& k = activeKernels();
  const bool scaled = scaling == Scaling::standard;
  if (isPowerOfTwo(N)) {
    forwardPow2(data, N, root, scaled, mg, k);
    return;
  }
  const std::size_t M = N / 3;
  radix3Pass(data, M, forwardRoot(mg, root, N), true, mg, k);
  for (std::size_t t = 0; t < 3; ++t) {
    poll(M);
    forwardPow2(data + t * M, M, root, scaled, mg, k);
  }
}

void inverseTransform(std::uint32_t* data, std::uint32_t root, std::size_t N, Scaling scaling) {
  if (N < 2) return;
  checkLength(N);
  poll(N);
  const Montgomery mg = Montgomery::of(getmodulus());
  const Kernels& k = activeKernels();
  std::uint32_t c = inverseScale(mg, N, 1);  // for the whole length, also over the thirds
  // A product of unscaled transforms lacks the factor 2^32 twice: 2^64 more.
  if (scaling == Scaling::unscaled) c = mg.mul(mg.mul(c, mg.r2), mg.r2);
  if (isPowerOfTwo(N)) {
    inversePow2(data, N, root, c, mg, k);
    return;
  }
  const std::size_t M = N / 3;
  for (std::size_t t = 0; t < 3; ++t) inversePow2(data + t * M, M, root, c, mg, k);
  poll(N);
  radix3Pass(data, M, inverseRoot(mg, root, N), false, mg, k);
}

void transformedProduct(std::uint32_t* b, const std::uint32_t* a, std::size_t n) {
  activeKernels().multiply(b, a, n, Montgomery::of(getmodulus()));
}

void transformedSquare(std::uint32_t* a, std::size_t n) { activeKernels().square(a, n, Montgomery::of(getmodulus())); }

}  // namespace bignum
