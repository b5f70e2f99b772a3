// The inner loops of the number-theoretic transforms, in a portable version and,
// where the processor has them, a version on 256-bit vectors. Both compute
// exactly the same words (crtDigits: the same numbers). All residues are in [0, m) of the Montgomery modulus;
// "Montgomery form" of v means v * 2^32 mod m.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bignum/init.h"
#include "bignum/modint.h"

namespace bignum {

// The Chinese remainder theorem for m1, m2, m3 (MOD1, MOD2, MOD3): the value
// s below m1 m2 m3 with three given residues, in Garner's mixed-radix form
//   s = x1 + m1 x2 + m1 m2 x3   (x1 < m1, x2 < m2, x3 < m3),
// x2 = (r2 - x1) / m1 modulo m2, x3 = ((r3 - x1) / m1 - x2) / m2 modulo m3,
// which needs no reduction modulo m1 m2 m3. With m1 and m1 m2 written in base
// 10^9 the form gives three partial digits that fit 64 bits:
//   d0 = x1 + M1[0] x2 + M12[0] x3,  d1 = M1[1] x2 + M12[1] x3 + d0 / 10^9,
//   s = d0 mod 10^9 + (d1 mod 10^9) 10^9 + (M12[2] x3 + d1 / 10^9) 10^18.
struct Garner {
  Montgomery mg2 = Montgomery::of(MOD2), mg3 = Montgomery::of(MOD3);
  // The inverses m1^-1 mod m2, m1^-1 mod m3 and m2^-1 mod m3, in Montgomery form.
  std::uint32_t inverse12 = mg2.to(mg2.power(MOD1 % MOD2, MOD2 - 2));
  std::uint32_t inverse13 = mg3.to(mg3.power(MOD1 % MOD3, MOD3 - 2));
  std::uint32_t inverse23 = mg3.to(mg3.power(MOD2 % MOD3, MOD3 - 2));
  static constexpr std::uint64_t kM12 = std::uint64_t{MOD1} * MOD2;
  static constexpr std::uint64_t M1[2] = {MOD1 % Base, MOD1 / Base};
  static constexpr std::uint64_t M12[3] = {kM12 % Base, kM12 / Base % Base, kM12 / Base / Base};
};

struct Kernels {
  const char* name;
  // Radix-2 decimation in frequency over one row of n = 2^j words (natural
  // order in, bit-reversed order out). `twiddles` holds, for every span h, the
  // Montgomery forms of r_h^k (r_h a primitive 2h-th root) at index h + k.
  void (*forwardRow)(std::uint32_t* row, std::size_t n, const std::uint32_t* twiddles, const Montgomery& mg);
  // Radix-2 decimation in time with the inverse root's table (bit-reversed in,
  // natural out); the result is n times the input of the forward kernel.
  void (*inverseRow)(std::uint32_t* row, std::size_t n, const std::uint32_t* twiddles, const Montgomery& mg);
  // row[j] <- row[j] * c * b^j, given the Montgomery forms of c b^0 .. c b^7 in
  // `first` and of b^8 in `step`.
  void (*scaleRow)(std::uint32_t* row, std::size_t n, const std::uint32_t* first, std::uint32_t step,
                   const Montgomery& mg);
  // b[i] <- a[i] * b[i] / 2^32 (the product in the transformed domain).
  void (*multiply)(std::uint32_t* b, const std::uint32_t* a, std::size_t n, const Montgomery& mg);
  // a[i] <- a[i]^2 / 2^32.
  void (*square)(std::uint32_t* a, std::size_t n, const Montgomery& mg);
  // The radix-3 step over three rows x0, x1 = x0 + third, x2 = x0 + 2 third,
  // columns [begin, end): with s = x1 + x2, d = x1 - x2 and u = x0 + s + c1 s,
  //   x0 <- x0 + s, x1 <- (u + c2 d) w^j, x2 <- (u - c2 d) w^2j,
  // all constants in Montgomery form, `power` that of w^begin and `ratio` of w.
  void (*radix3)(std::uint32_t* x0, std::size_t third, std::size_t begin, std::size_t end, std::uint32_t c1,
                 std::uint32_t c2, std::uint32_t power, std::uint32_t ratio, const Montgomery& mg);
  // The inverse radix-3 step: x1 <- x1 w^j, x2 <- x2 w^2j first, then the same butterfly.
  void (*inverseRadix3)(std::uint32_t* x0, std::size_t third, std::size_t begin, std::size_t end, std::uint32_t c1,
                        std::uint32_t c2, std::uint32_t power, std::uint32_t ratio, const Montgomery& mg);
  // The forward and inverse row kernels applied to each of the `width` columns
  // of a block of `rows` rows of `width` words (rows a power of two): every
  // column gets exactly what its own row kernel would give.
  void (*forwardColumns)(std::uint32_t* block, std::size_t rows, std::size_t width, const std::uint32_t* twiddles,
                         const Montgomery& mg);
  void (*inverseColumns)(std::uint32_t* block, std::size_t rows, std::size_t width, const std::uint32_t* twiddles,
                         const Montgomery& mg);
  // The values s with residues r1[i] < MOD1, r2[i] < MOD2, r3[i] < MOD3 (see
  // Garner) as s = a0 + a1 10^9 + a2 10^18: a0 over r1[i], a1 and a2 into
  // their arrays. a0 and a1 are below 10^9 on the portable kernels and below
  // 2 10^9 on vectors (their quotients by 10^9 may come out one low), a2
  // below 1.1 10^10.
  void (*crtDigits)(std::uint32_t* r1, const std::uint32_t* r2, const std::uint32_t* r3, std::uint64_t* a1,
                    std::uint64_t* a2, std::size_t n, const Garner& g);
};

// The portable kernels.
const Kernels& portableKernels();
// The 256-bit vector kernels, or null when this processor lacks AVX2.
const Kernels* vectorKernels();
// The kernels in use: the vector ones when available, unless the environment
// variable NUMBRIX_PORTABLE_KERNELS is set.
const Kernels& activeKernels();
// Whether the vector kernels are in use; the other loops on vectors (the
// schoolbook products, quotients and roots) follow them.
inline bool vectorKernelsInUse() {
  static const bool vectors = &activeKernels() != &portableKernels();
  return vectors;
}

}  // namespace bignum
