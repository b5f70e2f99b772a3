// The row of a fixed-point product on 256-bit vectors (compiled for AVX2,
// called only where the processor has it).
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace bignum::fixed {

void addRowAvx2(std::uint64_t* column, const std::uint32_t* b, std::size_t count, std::uint32_t factor) {
  const __m256i f = _mm256_set1_epi64x(factor);
  std::size_t k = 0;
  for (; k + 4 <= count; k += 4) {
    const __m256i words = _mm256_cvtepu32_epi64(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k)));
    const __m256i sums = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(column + k));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(column + k), _mm256_add_epi64(sums, _mm256_mul_epu32(words, f)));
  }
  for (; k < count; ++k) column[k] += std::uint64_t{factor} * b[k];
}

}  // namespace bignum::fixed
