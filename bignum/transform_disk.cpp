// The transforms of a disk-resident storage: the same steps as in memory, with
// the file read and written through its stream in large blocks. They produce
// the same words as the memory transforms and run on the calling thread.
#include <algorithm>

#include "bignum/progress.h"
#include "bignum/transform.h"
#include "bignum/transform_steps.h"

namespace bignum {

using namespace steps;

namespace {

// The working buffer: the largest power of two in the workspace.
struct Buffer {
  std::size_t words;
  std::uint32_t* data;
  Buffer() : words(std::bit_floor(limits().Maxblocksize)), data(allocateWords(words)) {}
  ~Buffer() { releaseWords(data, words); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
};

struct Disk {
  int fd;
  const Buffer& buffer;
  const Montgomery& mg;
  const Kernels& k;
};

// The columns of the R1 x R2 matrix at word `base`, in strips as wide as the
// buffer allows: one read and one write per row and strip.
void columnPass(const Disk& d, std::size_t base, const Shape& s, std::uint32_t root, bool forward) {
  if (s.R1 < 2) return;
  Scratch table(s.R1);
  buildTable(table.get(), s.R1, root, d.mg);
  const std::size_t b = std::min(s.R2, d.buffer.words / s.R1);
  std::uint32_t* strip = d.buffer.data;
  for (std::size_t c0 = 0; c0 < s.R2; c0 += b) {
    poll(b * s.R1);
    for (std::size_t i = 0; i < s.R1; ++i) streamRead(d.fd, base + i * s.R2 + c0, b, strip + i * b);
    transformColumns(strip, b, b, s, nullptr, table.get(), forward, d.mg, d.k);
    for (std::size_t i = 0; i < s.R1; ++i) streamWrite(d.fd, base + i * s.R2 + c0, b, strip + i * b);
  }
}

// The rows, in consecutive chunks that fit the buffer; `each(row, i, table)` does row i.
template <class Each>
void rowPass(const Disk& d, std::size_t base, const Shape& s, std::uint32_t root, Each&& each) {
  Scratch table(s.R2);
  buildTable(table.get(), s.R2, root, d.mg);
  const std::size_t perChunk = std::max<std::size_t>(d.buffer.words / s.R2, 1);
  for (std::size_t i0 = 0; i0 < s.R1; i0 += perChunk) {
    const std::size_t count = std::min(perChunk, s.R1 - i0);
    poll(count * s.R2);
    streamRead(d.fd, base + i0 * s.R2, count * s.R2, d.buffer.data);
    for (std::size_t r = 0; r < count; ++r) each(d.buffer.data + r * s.R2, i0 + r, table.get());
    streamWrite(d.fd, base + i0 * s.R2, count * s.R2, d.buffer.data);
  }
}

void forwardPow2(const Disk& d, std::size_t base, std::size_t N, std::uint32_t g) {
  const Shape s = shapeOf(N);
  const std::uint32_t w = forwardRoot(d.mg, g, N);
  columnPass(d, base, s, d.mg.power(w, s.R2), true);
  const RowTwiddles twiddles(s, w, d.mg.r2, d.mg);
  rowPass(d, base, s, d.mg.power(w, s.R1), [&](std::uint32_t* row, std::size_t i, const std::uint32_t* t) {
    forwardRowOf(row, i, s, twiddles, t, d.mg, d.k);
  });
}

void inversePow2(const Disk& d, std::size_t base, std::size_t N, std::uint32_t g, std::size_t f) {
  const Shape s = shapeOf(N);
  const std::uint32_t v = inverseRoot(d.mg, g, N);
  const RowTwiddles twiddles(s, v, inverseScale(d.mg, N, f), d.mg);
  rowPass(d, base, s, d.mg.power(v, s.R1), [&](std::uint32_t* row, std::size_t i, const std::uint32_t* t) {
    inverseRowOf(row, i, s, twiddles, t, d.mg, d.k);
  });
  columnPass(d, base, s, d.mg.power(v, s.R2), false);
}

// The radix-3 step over the three thirds of the file, a chunk of each at a time.
void radix3Pass(const Disk& d, std::size_t M, std::uint32_t x, bool forward) {
  const Radix3 c = radix3Constants(d.mg, x, M);
  const std::size_t chunk = d.buffer.words / 3;
  const std::uint32_t ratio = d.mg.to(x);
  for (std::size_t j0 = 0; j0 < M; j0 += chunk) {
    const std::size_t length = std::min(chunk, M - j0);
    poll(3 * length);
    for (std::size_t t = 0; t < 3; ++t) streamRead(d.fd, t * M + j0, length, d.buffer.data + t * chunk);
    const std::uint32_t power = d.mg.to(d.mg.power(x, j0));
    (forward ? d.k.radix3 : d.k.inverseRadix3)(d.buffer.data, chunk, 0, length, c.c1, c.c2, power, ratio, d.mg);
    for (std::size_t t = 0; t < 3; ++t) streamWrite(d.fd, t * M + j0, length, d.buffer.data + t * chunk);
  }
}

void transformOnDisk(datastruct& data, std::uint32_t root, std::size_t N, bool forward) {
  if (N < 2) return;
  checkLength(N);
  const Montgomery mg = Montgomery::of(getmodulus());
  Buffer buffer;
  const Disk d{data.openstream(), buffer, mg, activeKernels()};
  lastThreads = 1;
  if (isPowerOfTwo(N)) {
    forward ? forwardPow2(d, 0, N, root) : inversePow2(d, 0, N, root, 1);
  } else {
    const std::size_t M = N / 3;
    if (forward) radix3Pass(d, M, forwardRoot(mg, root, N), true);
    for (std::size_t t = 0; t < 3; ++t) forward ? forwardPow2(d, t * M, M, root) : inversePow2(d, t * M, M, root, 3);
    if (!forward) radix3Pass(d, M, inverseRoot(mg, root, N), false);
  }
  data.closestream();
}

}  // namespace

void forwardTransform(datastruct& data, std::uint32_t root, std::size_t N) { transformOnDisk(data, root, N, true); }

void inverseTransform(datastruct& data, std::uint32_t root, std::size_t N) { transformOnDisk(data, root, N, false); }

}  // namespace bignum
