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

}  // namespace bignum
