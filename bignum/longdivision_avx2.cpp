// The row step of the schoolbook quotient and root on 256-bit vectors. This
// file is compiled for AVX2; longdivision.cpp calls it only after a processor
// check. It computes exactly the words of the portable loop.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace bignum {

// r[i] -= d u[i] for i < n, where d and every u[i] lie within 2^31 of zero,
// and likewise up to three words past the end, where u is 0 (the caller keeps
// those words). The rows of successive steps start a word apart: the vectors
// keep to 32-byte boundaries of r, so that each loads exactly what one store of
// the step before wrote (a load across two stores waits for both to finish).
void subtractMultipleAvx2(std::int64_t* r, const std::int64_t* u, std::size_t n, std::int64_t d) {
  std::size_t i = 0;
  for (; i < n && reinterpret_cast<std::uintptr_t>(r + i) % 32 != 0; ++i) r[i] -= d * u[i];
  const __m256i factor = _mm256_set1_epi64x(d);
  for (; i < n; i += 4) {
    const __m256i x = _mm256_load_si256(reinterpret_cast<const __m256i*>(r + i));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(u + i));
    _mm256_store_si256(reinterpret_cast<__m256i*>(r + i), _mm256_sub_epi64(x, _mm256_mul_epi32(y, factor)));
  }
}

}  // namespace bignum
