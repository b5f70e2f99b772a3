// Four rows of the schoolbook product at a time, and the spread and
// reduction of its column sums, on 256-bit vectors (compiled for AVX2, called only where the
// processor has it).
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "bignum/wordmath.h"
#include "bignum/wordmath_avx2.h"

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
// 10^9) or one less, so below 2 10^9, plus the q of the sum below.
namespace {

// words::moveUp on vectors: split(x, moved) returns what each lane keeps and
// sets what it moves; the tail goes word by word with `scalar`.
template <class Split, class Scalar>
void moveUpAvx2(std::uint64_t* t, std::size_t from, std::size_t to, Split split, Scalar scalar) {
  __m256i below = _mm256_setzero_si256();  // lane 3: what the sum before moves
  std::size_t k = from;
  for (; k + 4 <= to; k += 4) {
    __m256i moved;
    const __m256i kept = split(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + k)), moved);
    // Each sum takes what the one before it moves: moved shifted up a lane.
    const __m256i shifted = _mm256_blend_epi32(_mm256_permute4x64_epi64(moved, 0x93), below, 0x03);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(t + k), _mm256_add_epi64(kept, shifted));
    below = _mm256_permute4x64_epi64(moved, 0xFF);
  }
  auto carry = static_cast<std::uint64_t>(_mm256_extract_epi64(below, 0));
  for (; k < to; ++k) {
    const auto [kept, moved] = scalar(t[k]);
    t[k] = kept + carry;
    carry = moved;
  }
  t[to] += carry;
}

}  // namespace

void spreadSumsAvx2(std::uint64_t* t, std::size_t from, std::size_t to) {
  moveUpAvx2(
      t, from, to,
      [](__m256i x, __m256i& moved) {
        __m256i rest;
        moved = words::quotientByBase(x, rest);
        return rest;
      },
      words::splitAtBase);
}

void reduceSumsAvx2(std::uint64_t* t, std::size_t from, std::size_t to) {
  moveUpAvx2(
      t, from, to,
      [](__m256i x, __m256i& moved) {
        const __m256i high = _mm256_srli_epi64(x, 32);
        moved = _mm256_slli_epi64(high, 2);
        return _mm256_add_epi64(_mm256_and_si256(x, _mm256_set1_epi64x(0xFFFFFFFF)),
                                _mm256_mul_epu32(high, _mm256_set1_epi64x(294967296)));
      },
      words::splitHighBits);
}

}  // namespace bignum
