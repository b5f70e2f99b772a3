// Number-theoretic transforms modulo the current modulus, for lengths 2^k and
// 3*2^k up to MAXTRANSFORMLENGTH words.
//
// The forward transform leaves its words in a scrambled order and scaled by
// 2^32; the inverse transform expects exactly that and returns natural order.
// Only forward, then transformedProduct/transformedSquare, then inverse is
// meaningful: the result is the cyclic convolution of the inputs modulo m.
// Forward followed directly by inverse gives the input back.
//
// A power-of-two length N = R1 * R2 is done in two passes: the R2 columns of
// the R1 x R2 matrix, in strips gathered into rows, then the R1 rows, each
// first multiplied by its twiddle factors. Lengths 3*2^k start (or, inverse,
// end) with a radix-3 step over the three thirds. The memory and disk variants
// produce identical words.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bignum/storage.h"

namespace bignum {

// How the factor 2^32 is handled. `standard`: as described above. `unscaled`:
// the forward transform leaves it out, and the inverse expects the pointwise
// product of two such transforms (or a square of one) and returns their
// cyclic convolution; this saves a pass over the words on the way in.
enum class Scaling { standard, unscaled };

// `root` is the modulus's primitive root; `data` holds N residues below the
// current modulus. Lengths below 2 return at once.
void forwardTransform(std::uint32_t* data, std::uint32_t root, std::size_t N, Scaling scaling = Scaling::standard);
void inverseTransform(std::uint32_t* data, std::uint32_t root, std::size_t N, Scaling scaling = Scaling::standard);

// The same for a disk-resident storage of N words, through its file (standard scaling).
void forwardTransform(datastruct& data, std::uint32_t root, std::size_t N);
void inverseTransform(datastruct& data, std::uint32_t root, std::size_t N);

// b[i] <- the transformed-domain product of a[i] and b[i]; a[i] <- that of a[i] with itself.
void transformedProduct(std::uint32_t* b, const std::uint32_t* a, std::size_t n);
void transformedSquare(std::uint32_t* a, std::size_t n);

// How many threads the last power-of-two row set of this thread ran on (for tests).
unsigned lastRowThreads();

}  // namespace bignum
