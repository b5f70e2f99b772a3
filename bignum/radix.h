// Conversion of exact non-negative integers between the library's decimal
// words and binary words (base 2^32), and the binary, octal and hexadecimal
// digit texts built on it. Both directions divide and conquer on powers
// 2^(32 2^j), so that long conversions cost a few long products per level:
// O(M(n) log n) for n words. The powers stay for the next conversions (up to
// those of about twenty million digits), so that converting numbers of like
// lengths in a row makes them once. Long conversions poll for a stop
// (cancel.h) and throw Cancelled, leaving the powers as they were.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bignum/bigfloat.h"

namespace bignum {

// The base-2^32 words of x, least significant first, without high zero words
// (none for zero). x must be an exact ("prec == INFINITE"), non-negative
// ("x.sign () >= 0") integer ("integer"); anything else stops the process.
std::vector<std::uint32_t> binaryWords(const bigfloat& x);

// The exact integer whose base-2^32 words, least significant first, are
// `words` (high zero words allowed; none gives zero).
bigfloat fromBinaryWords(std::span<const std::uint32_t> words);

// The digits of x in base 2^bits, most significant first, upper-case A-F, "0"
// for zero. bits must be 1, 3 or 4 ("bits 1, 3 or 4"); x as for binaryWords.
std::string radixDigits(const bigfloat& x, int bits);

// The exact integer of `digits` in base 2^bits (bits 1, 3 or 4 as above),
// most significant first, leading zeros allowed; letters in either case, and
// no digits give zero. The caller validates them: a byte that is not a digit
// of the base stops the process ("radix digit").
bigfloat fromRadixDigits(std::string_view digits, int bits);

// Frees the powers the conversions keep; the next conversion makes them again.
void clearRadixCache();

}  // namespace bignum
