// The transform kernels on 256-bit vectors of eight residues. This file is
// compiled for AVX2; its table is only handed out after a processor check.
// Every kernel computes exactly the words of its portable counterpart.
#include <immintrin.h>

#include "bignum/kernels.h"
#include "bignum/wordmath_avx2.h"

namespace bignum {

const Kernels& avx2KernelTable();

namespace {

using V = __m256i;

struct Mod {
  V m, minv;
  explicit Mod(const Montgomery& mg)
      : m(_mm256_set1_epi32(static_cast<int>(mg.m))), minv(_mm256_set1_epi32(static_cast<int>(mg.minv))) {}
};

inline V load(const std::uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
inline void store(std::uint32_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }

// (a + b) mod m and (a - b) mod m for residues below m.
inline V addm(V a, V b, const Mod& M) {
  const V s = _mm256_add_epi32(a, b);
  return _mm256_min_epu32(s, _mm256_sub_epi32(s, M.m));
}
inline V subm(V a, V b, const Mod& M) {
  const V d = _mm256_sub_epi32(a, b);
  return _mm256_min_epu32(d, _mm256_add_epi32(d, M.m));
}

// a * b / 2^32 mod m in [0, m), for a * b < m * 2^32.
inline V mont(V a, V b, const Mod& M) {
  const V pe = _mm256_mul_epu32(a, b);
  const V po = _mm256_mul_epu32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32));
  const V qe = _mm256_mul_epu32(_mm256_mul_epu32(pe, M.minv), M.m);
  const V qo = _mm256_mul_epu32(_mm256_mul_epu32(po, M.minv), M.m);
  // The low halves agree, so the high halves subtract without a borrow.
  const V de = _mm256_sub_epi32(pe, qe);
  const V dd = _mm256_sub_epi32(po, qo);
  const V r = _mm256_blend_epi32(_mm256_srli_epi64(de, 32), dd, 0xAA);
  return _mm256_min_epu32(r, _mm256_add_epi32(r, M.m));
}

// Forward butterfly: (x, y) -> (x + y, (x - y) t).
inline void forwardPair(V& x, V& y, V t, const Mod& M) {
  const V sum = addm(x, y, M);
  y = mont(_mm256_add_epi32(_mm256_sub_epi32(x, y), M.m), t, M);
  x = sum;
}
// Inverse butterfly: (x, y) -> (x + y t, x - y t).
inline void inversePair(V& x, V& y, V t, const Mod& M) {
  const V yt = mont(y, t, M);
  y = subm(x, yt, M);
  x = addm(x, yt, M);
}

void forwardRow(std::uint32_t* row, std::size_t n, const std::uint32_t* tw, const Montgomery& mg) {
  if (n < 16) {
    portableKernels().forwardRow(row, n, tw, mg);
    return;
  }
  const Mod M(mg);
  for (std::size_t h = n / 2; h >= 8; h /= 2) {
    for (std::size_t g = 0; g < n; g += 2 * h) {
      for (std::size_t k = 0; k < h; k += 8) {
        V x = load(row + g + k), y = load(row + g + h + k);
        forwardPair(x, y, load(tw + h + k), M);
        store(row + g + k, x);
        store(row + g + h + k, y);
      }
    }
  }
  // Spans 4, 2 and 1 within pairs of vectors.
  const V t4 = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tw + 4)));
  const V t2 = _mm256_set1_epi64x(static_cast<long long>(tw[2] | (std::uint64_t{tw[3]} << 32)));
  for (std::size_t g = 0; g < n; g += 16) {
    V v0 = load(row + g), v1 = load(row + g + 8);
    V x = _mm256_permute2x128_si256(v0, v1, 0x20), y = _mm256_permute2x128_si256(v0, v1, 0x31);
    forwardPair(x, y, t4, M);
    v0 = _mm256_permute2x128_si256(x, y, 0x20);
    v1 = _mm256_permute2x128_si256(x, y, 0x31);
    x = _mm256_unpacklo_epi64(v0, v1);
    y = _mm256_unpackhi_epi64(v0, v1);
    forwardPair(x, y, t2, M);
    v0 = _mm256_unpacklo_epi64(x, y);
    v1 = _mm256_unpackhi_epi64(x, y);
    x = _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(v0), _mm256_castsi256_ps(v1), _MM_SHUFFLE(2, 0, 2, 0)));
    y = _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(v0), _mm256_castsi256_ps(v1), _MM_SHUFFLE(3, 1, 3, 1)));
    const V sum = addm(x, y, M);
    const V difference = subm(x, y, M);
    store(row + g, _mm256_unpacklo_epi32(sum, difference));
    store(row + g + 8, _mm256_unpackhi_epi32(sum, difference));
  }
}

void inverseRow(std::uint32_t* row, std::size_t n, const std::uint32_t* tw, const Montgomery& mg) {
  if (n < 16) {
    portableKernels().inverseRow(row, n, tw, mg);
    return;
  }
  const Mod M(mg);
  const V t4 = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tw + 4)));
  const V t2 = _mm256_set1_epi64x(static_cast<long long>(tw[2] | (std::uint64_t{tw[3]} << 32)));
  for (std::size_t g = 0; g < n; g += 16) {
    V v0 = load(row + g), v1 = load(row + g + 8);
    V x = _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(v0), _mm256_castsi256_ps(v1), _MM_SHUFFLE(2, 0, 2, 0)));
    V y = _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(v0), _mm256_castsi256_ps(v1), _MM_SHUFFLE(3, 1, 3, 1)));
    const V sum = addm(x, y, M);
    const V difference = subm(x, y, M);
    v0 = _mm256_unpacklo_epi32(sum, difference);
    v1 = _mm256_unpackhi_epi32(sum, difference);
    x = _mm256_unpacklo_epi64(v0, v1);
    y = _mm256_unpackhi_epi64(v0, v1);
    inversePair(x, y, t2, M);
    v0 = _mm256_unpacklo_epi64(x, y);
    v1 = _mm256_unpackhi_epi64(x, y);
    x = _mm256_permute2x128_si256(v0, v1, 0x20);
    y = _mm256_permute2x128_si256(v0, v1, 0x31);
    inversePair(x, y, t4, M);
    store(row + g, _mm256_permute2x128_si256(x, y, 0x20));
    store(row + g + 8, _mm256_permute2x128_si256(x, y, 0x31));
  }
  for (std::size_t h = 8; h < n; h *= 2) {
    for (std::size_t g = 0; g < n; g += 2 * h) {
      for (std::size_t k = 0; k < h; k += 8) {
        V x = load(row + g + k), y = load(row + g + h + k);
        inversePair(x, y, load(tw + h + k), M);
        store(row + g + k, x);
        store(row + g + h + k, y);
      }
    }
  }
}

void scaleRow(std::uint32_t* row, std::size_t n, const std::uint32_t* first, std::uint32_t step, const Montgomery& mg) {
  if (n < 8) {
    portableKernels().scaleRow(row, n, first, step, mg);
    return;
  }
  const Mod M(mg);
  V p = load(first);
  const V s = _mm256_set1_epi32(static_cast<int>(step));
  std::size_t j = 0;
  if (n >= 32) {
    // Four chains of factors, 32 words apart, so that the products of one
    // chain do not wait on each other.
    V q[4] = {p, mont(p, s, M), {}, {}};
    q[2] = mont(q[1], s, M);
    q[3] = mont(q[2], s, M);
    const V s2 = mont(s, s, M);
    const V s4 = _mm256_set1_epi32(static_cast<int>(_mm256_extract_epi32(mont(s2, s2, M), 0)));
    for (; j + 32 <= n; j += 32)
      for (int c = 0; c < 4; ++c) {
        store(row + j + 8 * c, mont(load(row + j + 8 * c), q[c], M));
        q[c] = mont(q[c], s4, M);
      }
    p = q[0];
  }
  for (; j + 8 <= n; j += 8) {
    store(row + j, mont(load(row + j), p, M));
    p = mont(p, s, M);
  }
  if (j < n) {
    alignas(32) std::uint32_t rest[8];
    _mm256_store_si256(reinterpret_cast<V*>(rest), p);
    for (std::size_t i = 0; j < n; ++i, ++j) row[j] = mg.mul(row[j], rest[i]);
  }
}

// The Montgomery forms of c b^0 .. c b^7, and of b^8.
inline V firstPowers(std::uint32_t first, std::uint32_t ratio, const Montgomery& mg, std::uint32_t& step) {
  alignas(32) std::uint32_t p[8];
  p[0] = first;
  for (int i = 1; i < 8; ++i) p[i] = mg.mul(p[i - 1], ratio);
  step = mg.mul(ratio, ratio);
  step = mg.mul(step, step);
  step = mg.mul(step, step);
  return _mm256_load_si256(reinterpret_cast<const V*>(p));
}

void multiply(std::uint32_t* b, const std::uint32_t* a, std::size_t n, const Montgomery& mg) {
  const Mod M(mg);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) store(b + i, mont(load(a + i), load(b + i), M));
  for (; i < n; ++i) b[i] = mg.mul(a[i], b[i]);
}

void square(std::uint32_t* a, std::size_t n, const Montgomery& mg) {
  const Mod M(mg);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const V x = load(a + i);
    store(a + i, mont(x, x, M));
  }
  for (; i < n; ++i) a[i] = mg.mul(a[i], a[i]);
}

inline void butterfly3(V& x0, V& x1, V& x2, V c1, V c2, const Mod& M) {
  const V s = addm(x1, x2, M);
  const V d = subm(x1, x2, M);
  x0 = addm(x0, s, M);
  const V u = addm(x0, mont(s, c1, M), M);
  const V e = mont(d, c2, M);
  x1 = addm(u, e, M);
  x2 = subm(u, e, M);
}

template <bool Inverse>
void radix3Columns(std::uint32_t* x0, std::size_t third, std::size_t begin, std::size_t end, std::uint32_t c1,
                   std::uint32_t c2, std::uint32_t power, std::uint32_t ratio, const Montgomery& mg) {
  const Mod M(mg);
  const V C1 = _mm256_set1_epi32(static_cast<int>(c1));
  const V C2 = _mm256_set1_epi32(static_cast<int>(c2));
  std::uint32_t* x1 = x0 + third;
  std::uint32_t* x2 = x1 + third;
  std::size_t j = begin;
  if (end - begin >= 8) {
    std::uint32_t stepWord;
    V p = firstPowers(power, ratio, mg, stepWord);
    const V step = _mm256_set1_epi32(static_cast<int>(stepWord));
    for (; j + 8 <= end; j += 8) {
      V a = load(x0 + j), b = load(x1 + j), c = load(x2 + j);
      const V p2 = mont(p, p, M);
      if (Inverse) {
        b = mont(b, p, M);
        c = mont(c, p2, M);
      }
      butterfly3(a, b, c, C1, C2, M);
      if (!Inverse) {
        b = mont(b, p, M);
        c = mont(c, p2, M);
      }
      store(x0 + j, a);
      store(x1 + j, b);
      store(x2 + j, c);
      p = mont(p, step, M);
    }
    alignas(32) std::uint32_t rest[8];
    _mm256_store_si256(reinterpret_cast<V*>(rest), p);
    power = rest[0];
  }
  if (j < end) {
    const Kernels& portable = portableKernels();
    (Inverse ? portable.inverseRadix3 : portable.radix3)(x0, third, j, end, c1, c2, power, ratio, mg);
  }
}

template <bool Forward>
void columns(std::uint32_t* block, std::size_t rows, std::size_t width, const std::uint32_t* tw, const Montgomery& mg) {
  if (width % 8 != 0) {
    (Forward ? portableKernels().forwardColumns : portableKernels().inverseColumns)(block, rows, width, tw, mg);
    return;
  }
  const Mod M(mg);
  for (std::size_t h = Forward ? rows / 2 : 1; Forward ? h >= 1 : h < rows; h = Forward ? h / 2 : h * 2) {
    for (std::size_t g = 0; g < rows; g += 2 * h) {
      for (std::size_t k = 0; k < h; ++k) {
        std::uint32_t* x = block + (g + k) * width;
        std::uint32_t* y = block + (g + k + h) * width;
        const V t = _mm256_set1_epi32(static_cast<int>(tw[h + k]));
        for (std::size_t c = 0; c < width; c += 8) {
          V a = load(x + c), b = load(y + c);
          Forward ? forwardPair(a, b, t, M) : inversePair(a, b, t, M);
          store(x + c, a);
          store(y + c, b);
        }
      }
    }
  }
}

// x mod m for x < 2m.
inline V reduceOnce(V x, V m) { return _mm256_min_epu32(x, _mm256_sub_epi32(x, m)); }

void crtDigits(std::uint32_t* r1, const std::uint32_t* r2, const std::uint32_t* r3, std::uint64_t* a1,
               std::uint64_t* a2, std::size_t n, const Garner& g) {
  const Mod M2(g.mg2), M3(g.mg3);
  const V i12 = _mm256_set1_epi32(static_cast<int>(g.inverse12));
  const V i13 = _mm256_set1_epi32(static_cast<int>(g.inverse13));
  const V i23 = _mm256_set1_epi32(static_cast<int>(g.inverse23));
  const auto constant = [](std::uint64_t c) { return _mm256_set1_epi64x(static_cast<long long>(c)); };
  const V m10 = constant(Garner::M1[0]), m11 = constant(Garner::M1[1]);
  const V m120 = constant(Garner::M12[0]), m121 = constant(Garner::M12[1]), m122 = constant(Garner::M12[2]);
  const V evens = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const V x1 = load(r1 + i);
    const V x2 = mont(subm(load(r2 + i), reduceOnce(x1, M2.m), M2), i12, M2);
    const V t = mont(subm(load(r3 + i), reduceOnce(x1, M3.m), M3), i13, M3);
    const V x3 = mont(subm(t, reduceOnce(x2, M3.m), M3), i23, M3);
    // The partial digits in 64-bit lanes, four positions at a time.
    V low[2];
    for (int h = 0; h < 2; ++h) {
      const auto half = [h](V x) {
        return _mm256_cvtepu32_epi64(h == 0 ? _mm256_castsi256_si128(x) : _mm256_extracti128_si256(x, 1));
      };
      const V y1 = half(x1), y2 = half(x2), y3 = half(x3);
      V rest0, rest1;
      const V d0 = _mm256_add_epi64(y1, _mm256_add_epi64(_mm256_mul_epu32(y2, m10), _mm256_mul_epu32(y3, m120)));
      const V q0 = words::quotientByBase(d0, rest0);
      const V d1 = _mm256_add_epi64(_mm256_add_epi64(_mm256_mul_epu32(y2, m11), _mm256_mul_epu32(y3, m121)), q0);
      const V q1 = words::quotientByBase(d1, rest1);
      _mm256_storeu_si256(reinterpret_cast<V*>(a1 + i + 4 * h), rest1);
      _mm256_storeu_si256(reinterpret_cast<V*>(a2 + i + 4 * h), _mm256_add_epi64(_mm256_mul_epu32(y3, m122), q1));
      low[h] = _mm256_permutevar8x32_epi32(rest0, evens);  // the four rests (below 2^32) in the low half
    }
    store(r1 + i, _mm256_permute2x128_si256(low[0], low[1], 0x20));
  }
  if (i < n) portableKernels().crtDigits(r1 + i, r2 + i, r3 + i, a1 + i, a2 + i, n - i, g);
}

constexpr Kernels kAvx2{"avx2",   forwardRow,           inverseRow,          scaleRow,      multiply,
                        square,   radix3Columns<false>, radix3Columns<true>, columns<true>, columns<false>,
                        crtDigits};

}  // namespace

const Kernels& avx2KernelTable() { return kAvx2; }

}  // namespace bignum
