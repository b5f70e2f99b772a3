// Four rows of the schoolbook product at a time on 256-bit vectors (compiled
// for AVX2, called only where the processor has it).
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace bignum {

void addFourRowsAvx2(std::uint64_t* row, const std::uint32_t* padded, std::size_t count, const std::uint64_t* x) {
  const __m256i x0 = _mm256_set1_epi64x(static_cast<long long>(x[0]));
  const __m256i x1 = _mm256_set1_epi64x(static_cast<long long>(x[1]));
  const __m256i x2 = _mm256_set1_epi64x(static_cast<long long>(x[2]));
  const __m256i x3 = _mm256_set1_epi64x(static_cast<long long>(x[3]));
  const auto words = [padded](std::size_t at) {
    return _mm256_cvtepu32_epi64(_mm_loadu_si128(reinterpret_cast<const __m128i*>(padded + at)));
  };
  std::size_t j = 0;
  for (; j + 4 <= count; j += 4) {
    const __m256i sum =
        _mm256_add_epi64(_mm256_add_epi64(_mm256_mul_epu32(x0, words(j + 3)), _mm256_mul_epu32(x1, words(j + 2))),
                         _mm256_add_epi64(_mm256_mul_epu32(x2, words(j + 1)), _mm256_mul_epu32(x3, words(j))));
    __m256i* at = reinterpret_cast<__m256i*>(row + j);
    _mm256_storeu_si256(at, _mm256_add_epi64(_mm256_loadu_si256(at), sum));
  }
  for (; j < count; ++j)
    row[j] += x[0] * padded[j + 3] + x[1] * padded[j + 2] + x[2] * padded[j + 1] + x[3] * padded[j];
}

// words::spreadSums on vectors: each sum keeps t - q 10^9 with q = floor(t /
// 10^9) or one less (from a double's quotient, set a little low), so below
// 2 10^9, plus the q of the sum below.
void spreadSumsAvx2(std::uint64_t* t, std::size_t from, std::size_t to) {
  const __m256i low32 = _mm256_set1_epi64x(0xFFFFFFFF);
  const __m256i magic = _mm256_set1_epi64x(0x4330000000000000);  // 2^52 as a double
  const __m256d two52 = _mm256_set1_pd(4503599627370496.0);
  const __m256d two32 = _mm256_set1_pd(4294967296.0);
  // 10^-9 made smaller by 2^-45 of itself: more than the double's rounding
  // errors, so the quotient never rounds above t / 10^9, and with t below
  // 2^64 less than one below it.
  const __m256d scale = _mm256_set1_pd(1e-9 * (1.0 - 0x1p-45));
  const __m256i base = _mm256_set1_epi64x(1000000000);
  const auto asDouble = [&](__m256i x) {  // exact for x below 2^52
    return _mm256_sub_pd(_mm256_castsi256_pd(_mm256_or_si256(x, magic)), two52);
  };
  __m256i below = _mm256_setzero_si256();  // lane 3: the quotient of the word before
  std::size_t k = from;
  for (; k + 4 <= to; k += 4) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + k));
    const __m256d d =
        _mm256_add_pd(_mm256_mul_pd(asDouble(_mm256_srli_epi64(x, 32)), two32), asDouble(_mm256_and_si256(x, low32)));
    const __m256d qd = _mm256_add_pd(_mm256_floor_pd(_mm256_mul_pd(d, scale)), two52);
    const __m256i q = _mm256_sub_epi64(_mm256_castpd_si256(qd), magic);
    // q 10^9 from q's two halves (q is below 2^35).
    const __m256i product = _mm256_add_epi64(_mm256_mul_epu32(q, base),
                                             _mm256_slli_epi64(_mm256_mul_epu32(_mm256_srli_epi64(q, 32), base), 32));
    // Each word takes the quotient of the word before it: q moved up a lane.
    const __m256i shifted = _mm256_blend_epi32(_mm256_permute4x64_epi64(q, 0x93), below, 0x03);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(t + k), _mm256_add_epi64(_mm256_sub_epi64(x, product), shifted));
    below = _mm256_permute4x64_epi64(q, 0xFF);
  }
  std::uint64_t carry = static_cast<std::uint64_t>(_mm256_extract_epi64(below, 0));
  for (; k < to; ++k) {
    const std::uint64_t high = t[k] / 1000000000;
    t[k] = t[k] - high * 1000000000 + carry;
    carry = high;
  }
  t[to] += carry;
}

}  // namespace bignum
