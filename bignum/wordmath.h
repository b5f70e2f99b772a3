// Arithmetic on single base-10^9 words shared by the products (internal to
// the library).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "bignum/init.h"
#include "bignum/kernels.h"

namespace bignum {

// words::spreadSums and words::reduceSums on vectors (karatsuba_avx2.cpp).
void spreadSumsAvx2(std::uint64_t* t, std::size_t from, std::size_t to);
void reduceSumsAvx2(std::uint64_t* t, std::size_t from, std::size_t to);

}  // namespace bignum

namespace bignum::words {

__extension__ typedef unsigned __int128 u128;

// v / 10^9, with v % 10^9 in `remainder`.
inline std::uint64_t divideByBase(std::uint64_t v, std::uint32_t& remainder) {
  remainder = static_cast<std::uint32_t>(v % Base);
  return v / Base;
}

// Each sum v of t[from, to) is split into kept + moved 10^9 by split(v) =
// {kept, moved}: the sum becomes kept plus the moved part of the one before,
// t[to] takes the last. All at once, without a chain of carries; the number
// the sums stand for is unchanged.
template <class Split>
inline void moveUp(std::uint64_t* t, std::size_t from, std::size_t to, Split split) {
  std::uint64_t carry = 0;
  for (std::size_t k = from; k < to; ++k) {
    const auto [kept, moved] = split(t[k]);
    t[k] = kept + carry;
    carry = moved;
  }
  t[to] += carry;
}

// v as v mod 10^9 plus floor(v / 10^9) moved.
inline std::pair<std::uint64_t, std::uint64_t> splitAtBase(std::uint64_t v) {
  const std::uint64_t high = v / Base;
  return {v - high * Base, high};
}
// v as its low 32 bits plus 294967296 h, and 4 h moved, for the high 32
// bits h of v (h 2^32 = 4 h 10^9 + 294967296 h).
inline std::pair<std::uint64_t, std::uint64_t> splitHighBits(std::uint64_t v) {
  const std::uint64_t high = v >> 32;
  return {(v & 0xFFFFFFFF) + high * 294967296, 4 * high};
}

// Moves all but about the last nine digits of each sum of t[from, to) (any
// below 2^64) into the next: each keeps its value modulo 10^9 (on vectors,
// where they are in use: up to 10^9 more) plus what the one below gives, so
// lies below 2 10^9 + 1.85 10^10 < 2.1 10^10.
inline void spreadSums(std::uint64_t* t, std::size_t from, std::size_t to) {
#if defined(__x86_64__) || defined(__i386__)
  if (vectorKernelsInUse()) return spreadSumsAvx2(t, from, to);
#endif
  moveUp(t, from, to, splitAtBase);
}

// Moves the high 32 bits of each sum of t[from, to) on (splitHighBits): each
// is then below 1.27 10^18, room for 16 more products of two words, the
// cheap way to keep sums within 64 bits between rows. The same words on
// vectors and off.
inline void reduceSums(std::uint64_t* t, std::size_t from, std::size_t to) {
#if defined(__x86_64__) || defined(__i386__)
  if (vectorKernelsInUse()) return reduceSumsAvx2(t, from, to);
#endif
  moveUp(t, from, to, splitHighBits);
}

}  // namespace bignum::words
