// Arithmetic modulo the three word-sized primes of the transforms.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bignum {

// The moduli, each admitting roots of unity of every order 2^k and 3*2^k up to
// 3*2^25, and a primitive root of each.
inline constexpr std::uint32_t MOD1 = 2113929217;  // 63 * 2^25 + 1
inline constexpr std::uint32_t MOD2 = 2013265921;  // 15 * 2^27 + 1
inline constexpr std::uint32_t MOD3 = 1811939329;  // 27 * 2^26 + 1
inline constexpr std::uint32_t ROOT1 = 5;
inline constexpr std::uint32_t ROOT2 = 31;
inline constexpr std::uint32_t ROOT3 = 13;

// The longest transform, in words.
inline constexpr std::size_t MAXTRANSFORMLENGTH = 50331648;  // 3 * 2^24

// The current modulus of this thread, used by every modint operation. Set it
// before a transform pass; worker threads set their own to the caller's.
void setmodulus(std::uint32_t m);
std::uint32_t getmodulus();

// A residue 0 <= x < m of the current modulus m. Products use a 64-bit remainder.
class modint {
 public:
  constexpr modint() = default;
  // `value` must already be below the current modulus.
  constexpr explicit modint(std::uint32_t value) : x_(value) {}
  constexpr std::uint32_t value() const { return x_; }

  friend modint operator+(modint a, modint b);
  friend modint operator-(modint a, modint b);
  friend modint operator*(modint a, modint b);
  friend bool operator==(modint a, modint b) { return a.x_ == b.x_; }

 private:
  std::uint32_t x_ = 0;
};

// a^e by squaring over the bits of e, low to high; e = 0 gives 1.
modint pow(modint a, std::uint64_t e);
// The inverse a^(m-2); a must not be 0.
modint inverse(modint a);

// Montgomery arithmetic with R = 2^32 for one odd modulus below 2^31. reduce()
// of a product of residues (or of a residue and anything below 2^32) is exact.
struct Montgomery {
  std::uint32_t m;     // the modulus
  std::uint32_t minv;  // m^-1 mod 2^32
  std::uint32_t r1;    // R mod m
  std::uint32_t r2;    // R^2 mod m

  static constexpr Montgomery of(std::uint32_t m) {
    std::uint32_t inv = m;  // Newton: each step doubles the correct low bits
    for (int i = 0; i < 5; ++i) inv *= 2 - m * inv;
    const std::uint64_t r1 = (std::uint64_t{1} << 32) % m;
    return Montgomery{m, inv, static_cast<std::uint32_t>(r1), static_cast<std::uint32_t>(r1 * r1 % m)};
  }

  // t / R mod m for t < m * 2^32, in [0, m).
  constexpr std::uint32_t reduce(std::uint64_t t) const {
    const std::uint32_t q = static_cast<std::uint32_t>(t) * minv;
    const std::int64_t r =
        static_cast<std::int64_t>(t >> 32) - static_cast<std::int64_t>((static_cast<std::uint64_t>(q) * m) >> 32);
    return static_cast<std::uint32_t>(r < 0 ? r + m : r);
  }
  // a * b / R mod m.
  constexpr std::uint32_t mul(std::uint32_t a, std::uint32_t b) const {
    return reduce(static_cast<std::uint64_t>(a) * b);
  }
  // a * R mod m: multiplying by this with mul() multiplies by a.
  constexpr std::uint32_t to(std::uint32_t a) const { return mul(a, r2); }
  // a^e mod m for a plain residue a.
  constexpr std::uint32_t power(std::uint32_t a, std::uint64_t e) const {
    std::uint32_t result = r1, base = to(a);
    for (; e > 0; e >>= 1) {
      if (e & 1) result = mul(result, base);
      base = mul(base, base);
    }
    return mul(result, 1);
  }
};

}  // namespace bignum
