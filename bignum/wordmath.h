// Arithmetic on single base-10^9 words shared by the products (internal to
// the library).
#pragma once

#include <cstddef>
#include <cstdint>

#include "bignum/init.h"
#include "bignum/kernels.h"

namespace bignum {

// words::spreadSums on vectors (karatsuba_avx2.cpp).
void spreadSumsAvx2(std::uint64_t* t, std::size_t from, std::size_t to);

}  // namespace bignum

namespace bignum::words {

__extension__ typedef unsigned __int128 u128;

// v / 10^9 and v % 10^9 for v below 2^96, by two divisions of 64-bit words by a constant.
inline std::uint64_t divideByBase(u128 v, std::uint32_t& remainder) {
  const auto high = static_cast<std::uint64_t>(v >> 32);
  const std::uint64_t q1 = high / Base;
  const std::uint64_t low = ((high - q1 * Base) << 32) | static_cast<std::uint32_t>(v);
  const std::uint64_t q0 = low / Base;
  remainder = static_cast<std::uint32_t>(low - q0 * Base);
  return (q1 << 32) + q0;
}
inline std::uint64_t divideByBase(std::uint64_t v, std::uint32_t& remainder) {
  remainder = static_cast<std::uint32_t>(v % Base);
  return v / Base;
}

// Moves all but about the last nine digits of each sum of t[from, to) (any
// below 2^64) into the next, the last into t[to], all at once rather than in
// a chain of carries; the number they stand for is unchanged. Each keeps its
// value modulo 10^9 (on vectors, where they are in use: up to 10^9 more) plus
// what the one below gives, so lies below 2 10^9 + 1.85 10^10 < 2.1 10^10.
inline void spreadSums(std::uint64_t* t, std::size_t from, std::size_t to) {
#if defined(__x86_64__) || defined(__i386__)
  if (vectorKernelsInUse()) return spreadSumsAvx2(t, from, to);
#endif
  std::uint64_t carry = 0;
  for (std::size_t k = from; k < to; ++k) {
    const std::uint64_t high = t[k] / Base;
    t[k] = t[k] - high * Base + carry;
    carry = high;
  }
  t[to] += carry;
}

}  // namespace bignum::words
