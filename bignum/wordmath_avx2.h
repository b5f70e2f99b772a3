// The division of 64-bit lanes by 10^9 on 256-bit vectors, for the sources
// compiled for AVX2 (internal to the library).
#pragma once

#include <immintrin.h>

namespace bignum::words {

// For each unsigned 64-bit lane u: q = floor(u / 10^9) or one less, from a
// double's quotient set a little low (by 2^-45 of itself, more than the
// double's rounding errors), and rest = u - q 10^9, in [0, 2 10^9).
inline __m256i quotientByBase(__m256i u, __m256i& rest) {
  const __m256i magic = _mm256_set1_epi64x(0x4330000000000000);  // 2^52 as a double
  const __m256d two52 = _mm256_set1_pd(4503599627370496.0);
  const __m256i base = _mm256_set1_epi64x(1000000000);
  const auto asDouble = [&](__m256i x) {  // exact for x below 2^52
    return _mm256_sub_pd(_mm256_castsi256_pd(_mm256_or_si256(x, magic)), two52);
  };
  const __m256d d = _mm256_add_pd(_mm256_mul_pd(asDouble(_mm256_srli_epi64(u, 32)), _mm256_set1_pd(4294967296.0)),
                                  asDouble(_mm256_and_si256(u, _mm256_set1_epi64x(0xFFFFFFFF))));
  const __m256d scaled = _mm256_mul_pd(d, _mm256_set1_pd(1e-9 * (1.0 - 0x1p-45)));
  const __m256i q = _mm256_sub_epi64(_mm256_castpd_si256(_mm256_add_pd(_mm256_floor_pd(scaled), two52)), magic);
  // q 10^9 from q's two halves (q is below 2^35).
  const __m256i product = _mm256_add_epi64(_mm256_mul_epu32(q, base),
                                           _mm256_slli_epi64(_mm256_mul_epu32(_mm256_srli_epi64(q, 32), base), 32));
  rest = _mm256_sub_epi64(u, product);
  return q;
}

}  // namespace bignum::words
