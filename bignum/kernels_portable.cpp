// The portable transform kernels: plain loops over 32-bit residues.
#include <algorithm>
#include <cstdlib>

#include "bignum/kernels.h"

namespace bignum {

namespace {

inline std::uint32_t add(std::uint32_t a, std::uint32_t b, std::uint32_t m) {
  const std::uint32_t s = a + b;
  return s >= m ? s - m : s;
}

inline std::uint32_t sub(std::uint32_t a, std::uint32_t b, std::uint32_t m) { return a >= b ? a - b : a + m - b; }

// Radix-2 passes over `rows` rows of `width` independent words: decimation in
// frequency forward (x, y) -> (x + y, (x - y) t), decimation in time inverse
// (x, y) -> (x + y t, x - y t). A row of n words is n rows of width 1.
template <bool Forward>
void radix2(std::uint32_t* block, std::size_t rows, std::size_t width, const std::uint32_t* tw, const Montgomery& mg) {
  const std::uint32_t m = mg.m;
  for (std::size_t h = Forward ? rows / 2 : 1; Forward ? h >= 1 : h < rows; h = Forward ? h / 2 : h * 2) {
    for (std::size_t g = 0; g < rows; g += 2 * h) {
      for (std::size_t k = 0; k < h; ++k) {
        std::uint32_t* x = block + (g + k) * width;
        std::uint32_t* y = block + (g + k + h) * width;
        const std::uint32_t t = tw[h + k];
        for (std::size_t c = 0; c < width; ++c) {
          const std::uint32_t u = x[c];
          const std::uint32_t v = Forward ? y[c] : mg.mul(y[c], t);
          x[c] = add(u, v, m);
          y[c] = Forward ? mg.mul(u + m - v, t) : sub(u, v, m);
        }
      }
    }
  }
}

void forwardRow(std::uint32_t* row, std::size_t n, const std::uint32_t* tw, const Montgomery& mg) {
  radix2<true>(row, n, 1, tw, mg);
}

void inverseRow(std::uint32_t* row, std::size_t n, const std::uint32_t* tw, const Montgomery& mg) {
  radix2<false>(row, n, 1, tw, mg);
}

void scaleRow(std::uint32_t* row, std::size_t n, const std::uint32_t* first, std::uint32_t step, const Montgomery& mg) {
  std::uint32_t p[8];
  std::copy(first, first + 8, p);
  for (std::size_t j = 0; j < n; ++j) {
    row[j] = mg.mul(row[j], p[j % 8]);
    p[j % 8] = mg.mul(p[j % 8], step);
  }
}

void multiply(std::uint32_t* b, const std::uint32_t* a, std::size_t n, const Montgomery& mg) {
  for (std::size_t i = 0; i < n; ++i) b[i] = mg.mul(a[i], b[i]);
}

void square(std::uint32_t* a, std::size_t n, const Montgomery& mg) {
  for (std::size_t i = 0; i < n; ++i) a[i] = mg.mul(a[i], a[i]);
}

inline void butterfly3(std::uint32_t& x0, std::uint32_t& x1, std::uint32_t& x2, std::uint32_t c1, std::uint32_t c2,
                       const Montgomery& mg) {
  const std::uint32_t m = mg.m;
  const std::uint32_t s = add(x1, x2, m);
  const std::uint32_t d = sub(x1, x2, m);
  x0 = add(x0, s, m);
  const std::uint32_t u = add(x0, mg.mul(s, c1), m);
  const std::uint32_t e = mg.mul(d, c2);
  x1 = add(u, e, m);
  x2 = sub(u, e, m);
}

void radix3(std::uint32_t* x0, std::size_t third, std::size_t begin, std::size_t end, std::uint32_t c1,
            std::uint32_t c2, std::uint32_t power, std::uint32_t ratio, const Montgomery& mg) {
  std::uint32_t* x1 = x0 + third;
  std::uint32_t* x2 = x1 + third;
  for (std::size_t j = begin; j < end; ++j) {
    butterfly3(x0[j], x1[j], x2[j], c1, c2, mg);
    x1[j] = mg.mul(x1[j], power);
    x2[j] = mg.mul(x2[j], mg.mul(power, power));
    power = mg.mul(power, ratio);
  }
}

void inverseRadix3(std::uint32_t* x0, std::size_t third, std::size_t begin, std::size_t end, std::uint32_t c1,
                   std::uint32_t c2, std::uint32_t power, std::uint32_t ratio, const Montgomery& mg) {
  std::uint32_t* x1 = x0 + third;
  std::uint32_t* x2 = x1 + third;
  for (std::size_t j = begin; j < end; ++j) {
    x1[j] = mg.mul(x1[j], power);
    x2[j] = mg.mul(x2[j], mg.mul(power, power));
    butterfly3(x0[j], x1[j], x2[j], c1, c2, mg);
    power = mg.mul(power, ratio);
  }
}

// x mod m for x below 2 m.
inline std::uint32_t reduced(std::uint32_t x, std::uint32_t m) { return x >= m ? x - m : x; }

void crtDigits(std::uint32_t* r1, const std::uint32_t* r2, const std::uint32_t* r3, std::uint64_t* a1,
               std::uint64_t* a2, std::size_t n, const Garner& g) {
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t x1 = r1[i];
    const std::uint32_t x2 = g.mg2.mul(sub(r2[i], reduced(x1, MOD2), MOD2), g.inverse12);
    const std::uint32_t t = g.mg3.mul(sub(r3[i], reduced(x1, MOD3), MOD3), g.inverse13);
    const std::uint32_t x3 = g.mg3.mul(sub(t, reduced(x2, MOD3), MOD3), g.inverse23);
    const std::uint64_t d0 = x1 + Garner::M1[0] * x2 + Garner::M12[0] * x3;
    const std::uint64_t d1 = Garner::M1[1] * x2 + Garner::M12[1] * x3 + d0 / Base;
    r1[i] = static_cast<std::uint32_t>(d0 % Base);
    a1[i] = d1 % Base;
    a2[i] = Garner::M12[2] * x3 + d1 / Base;
  }
}

constexpr Kernels kPortable{"portable", forwardRow,    inverseRow,   scaleRow,      multiply, square,
                            radix3,     inverseRadix3, radix2<true>, radix2<false>, crtDigits};

}  // namespace

const Kernels& avx2KernelTable();

const Kernels& portableKernels() { return kPortable; }

const Kernels* vectorKernels() {
#if defined(__x86_64__) || defined(__i386__)
  static const bool supported = __builtin_cpu_supports("avx2");
  if (supported) return &avx2KernelTable();
#endif
  return nullptr;
}

const Kernels& activeKernels() {
  static const Kernels& chosen = [&]() -> const Kernels& {
    const Kernels* vector = vectorKernels();
    if (vector != nullptr && std::getenv("NUMBRIX_PORTABLE_KERNELS") == nullptr) return *vector;
    return kPortable;
  }();
  return chosen;
}

}  // namespace bignum
