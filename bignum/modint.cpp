#include "bignum/modint.h"

namespace bignum {

namespace {
thread_local std::uint32_t currentModulus = MOD1;
}

void setmodulus(std::uint32_t m) { currentModulus = m; }
std::uint32_t getmodulus() { return currentModulus; }

modint operator+(modint a, modint b) {
  const std::uint32_t m = currentModulus;
  const std::uint32_t s = a.x_ + b.x_;  // below 2^32: every modulus is below 2^31
  return modint(s >= m ? s - m : s);
}

modint operator-(modint a, modint b) {
  const std::uint32_t m = currentModulus;
  return modint(a.x_ >= b.x_ ? a.x_ - b.x_ : a.x_ + (m - b.x_));
}

modint operator*(modint a, modint b) {
  return modint(static_cast<std::uint32_t>(static_cast<std::uint64_t>(a.x_) * b.x_ % currentModulus));
}

modint pow(modint a, std::uint64_t e) {
  modint result(1);
  for (; e > 0; e >>= 1) {
    if (e & 1) result = result * a;
    a = a * a;
  }
  return result;
}

modint inverse(modint a) { return pow(a, currentModulus - 2); }

}  // namespace bignum
