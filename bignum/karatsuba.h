// Products of mid-length word arrays by Karatsuba's method, between the
// schoolbook and the transform. The arrays here are base-10^9 words, least
// significant first (the reverse of a mantissa), and every product is exact.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bignum {

// Factors up to this many words are multiplied word by word inside the recursion.
inline constexpr std::size_t kKaratsubaBasecase = 192;

// The scratch words karatsubaMultiply() and karatsubaSquare() need when the
// shorter factor has at most n words.
std::size_t karatsubaScratch(std::size_t n);

// r[0, na + nb) = a[0, na) * b[0, nb), for na >= nb >= 1 (at most n words, see
// karatsubaScratch); r must not overlap a, b or the scratch. The longer factor
// is taken in pieces of nb words.
void karatsubaMultiply(std::uint32_t* r, const std::uint32_t* a, std::size_t na, const std::uint32_t* b, std::size_t nb,
                       std::uint32_t* scratch);

// r[0, 2n) = a[0, n)^2, for n >= 1, with the same conditions.
void karatsubaSquare(std::uint32_t* r, const std::uint32_t* a, std::size_t n, std::uint32_t* scratch);

}  // namespace bignum
