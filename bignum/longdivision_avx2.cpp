// The row step and the carry pass of the schoolbook quotient and root on
// 256-bit vectors. This file is compiled for AVX2; longdivision.cpp calls it
// only after a processor check. The row step computes exactly the words of
// the portable loop; the carry pass may leave a word 10^9 higher and the next
// one 1 lower, the same number within the same bounds.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "bignum/wordmath_avx2.h"

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

// The carry pass of the quotient and root on vectors: each of w[first + 1 ..
// last] keeps t - q 10^9 plus the q of the word after it, w[first] takes the
// last q, where q is floor(t / 10^9) or one less, so the rest lies in [0,
// 2 10^9). Every |t| is below 2^62.
void spreadSignedAvx2(std::int64_t* w, std::size_t first, std::size_t last) {
  constexpr std::int64_t kShift = 8000000000;  // t + kShift 10^9 is positive and below 2^64
  const __m256i shift = _mm256_set1_epi64x(kShift * 1000000000);
  std::int64_t above = 0;  // the q of the word after the block
  std::size_t end = last + 1;
  for (; end >= first + 5; end -= 4) {
    std::int64_t* at = w + end - 4;
    __m256i rest;
    const __m256i q =
        words::quotientByBase(_mm256_add_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)), shift), rest);
    const __m256i high = _mm256_sub_epi64(q, _mm256_set1_epi64x(kShift));
    // Each word takes the q of the word after it: q moved down a lane.
    const __m256i next = _mm256_blend_epi32(_mm256_permute4x64_epi64(high, 0x39), _mm256_set1_epi64x(above), 0xC0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), _mm256_add_epi64(rest, next));
    above = _mm256_extract_epi64(high, 0);
  }
  for (std::size_t k = end; k-- > first + 1;) {
    const std::uint64_t u = static_cast<std::uint64_t>(w[k]) + static_cast<std::uint64_t>(kShift) * 1000000000;
    const std::uint64_t q = u / 1000000000;
    w[k] = static_cast<std::int64_t>(u - q * 1000000000) + above;
    above = static_cast<std::int64_t>(q) - kShift;
  }
  w[first] += above;
}

}  // namespace bignum
