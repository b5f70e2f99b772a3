// Schoolbook quotient and square root of word arrays (base 10^9, most
// significant word first), exact to the last word they produce. Used by the
// operators for short precisions, where they beat Newton's iteration.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bignum {

// The quotient of the fractions 0.a / 0.v, truncated (never rounded) after
// `count` words and exact: q[0] is its integer part (below 10^9, possibly 0),
// q[k] its k-th word after the point. Of a only the first count + n - 1 words
// take part (later ones are left out, the quotient is that of the cut
// dividend). Needs n >= 1, v[0] != 0, count >= 1 and words below 10^9.
void divideWords(const std::uint32_t* a, std::size_t na, const std::uint32_t* v, std::size_t n, std::uint32_t* q,
                 std::size_t count);

// The `count` words of floor(sqrt(X)), X the integer of 2 count words whose
// leading ones are x (missing words are zeros, later ones are left out). Needs
// count >= 1, x[0] or x[1] nonzero (the root's leading word is then nonzero)
// and words below 10^9.
void sqrtWords(const std::uint32_t* x, std::size_t nx, std::uint32_t* s, std::size_t count);

}  // namespace bignum
