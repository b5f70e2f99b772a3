// Division: by one word directly, by longer numbers through the inverse root;
// the inverse root by Newton's iteration, and the square root.
#include <algorithm>
#include <cmath>
#include <vector>

#include "bignum/bigfloat.h"
#include "bignum/check.h"
#include "bignum/convolution.h"
#include "bignum/record.h"

namespace bignum {

using namespace records;

namespace {

// The number of extra quotient words after `remainder` until the division by d
// ends, or -1 if it never does (d keeps a prime factor other than 2 and 5).
int wordsUntilExact(std::uint64_t remainder, std::uint32_t d) {
  std::uint32_t rest = d;
  for (std::uint32_t prime : {2u, 5u})
    while (rest % prime == 0) rest /= prime;
  if (rest != 1) return -1;
  int extra = 0;
  for (; remainder != 0; ++extra) remainder = remainder * Base % d;
  return extra;
}

// a divided by the one word of b.
bigfloat divshort(numstruct& a, numstruct& b) {
  BIGNUM_CHECK(b.size() == 1, "b->size == 1", "bigfloat");
  BIGNUM_CHECK(b.sign != 0, "b->sign", "bigfloat");
  const std::uint32_t d = b.getreadwindow(0, 1)[0];
  b.clearreadwindow();
  const long prec = minPrecision(a.prec, b.prec);
  const std::size_t n = prec == INFINITE ? a.size() : std::min(a.size(), static_cast<std::size_t>(prec));
  const std::vector<std::uint32_t> A = [&] {
    std::vector<std::uint32_t> words(n);
    forWindows(a, 0, n, limits().Blocksize, [&](const std::uint32_t* w, std::size_t position, std::size_t count) {
      std::copy(w, w + count, words.begin() + static_cast<std::ptrdiff_t>(position));
    });
    return words;
  }();
  // How many quotient words: the precision, or fewer when the quotient ends.
  std::uint64_t remainder = 0;
  for (std::uint32_t w : A) remainder = (remainder * Base + w) % d;
  const int extra = d == 1 ? 0 : wordsUntilExact(remainder, d);
  std::size_t size;
  if (extra >= 0) {
    size = n + static_cast<std::size_t>(extra);
    if (prec != INFINITE) size = std::min(size, static_cast<std::size_t>(prec));
  } else {
    BIGNUM_CHECK(prec != INFINITE, "prec != INFINITE", "bigfloat");
    size = static_cast<std::size_t>(prec);
  }
  // A first word of a below d gives a leading quotient word 0: one word more is computed and dropped.
  const bool leadingZero = A[0] < d;
  bool underflow = false;
  const std::int64_t exp = clampExponent(a.exp - b.exp + 1 - (leadingZero ? 1 : 0), underflow);
  if (underflow) return bigfloat();
  numstruct* r = newRecord(size, a.sign * b.sign, exp, prec, size > limits().Maxblocksize ? DISK : MEMORY);
  const std::size_t block = limits().Blocksize;
  remainder = 0;
  std::size_t next = 0;  // the next word of a (zeros after its end)
  if (leadingZero) remainder = A[next++];
  for (std::size_t done = 0; done < size;) {
    const std::size_t count = std::min(block, size - done);
    std::uint32_t* out = r->getwritewindow(done, count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint64_t part = remainder * Base + (next < n ? A[next] : 0);
      ++next;
      out[i] = static_cast<std::uint32_t>(part / d);
      remainder = part % d;
    }
    r->writeback();
    done += count;
  }
  return finish(r);
}

}  // namespace

bigfloat operator/(const bigfloat& a, const bigfloat& b) {
  BIGNUM_CHECK(b.sign() != 0, "b->sign", "bigfloat");
  if (a.sign() == 0) return bigfloat();
  if (b.size() == 1) return divshort(*a.record(), *b.record());
  const long p = std::min(a.prec(), b.prec());
  return a * invroot(b, 1, p);
}

bigfloat invroot(const bigfloat& value, unsigned n, long destprec) {
  if (n == 0) return bigfloat(1);
  BIGNUM_CHECK(value.sign() != 0, "u.sign ()", "functions");
  BIGNUM_CHECK(n % 2 == 1 || value.sign() > 0, "u.sign () > 0", "functions");
  if (destprec == DEFAULT) destprec = value.prec();
  BIGNUM_CHECK(destprec != INFINITE, "prec != INFINITE", "bigfloat");
  const long wanted = wordsOf(destprec) * Basedigits;
  // One guard word: a product near 1 whose leading word holds a single digit
  // would otherwise lose most of a word of the correction to cancellation.
  destprec = wanted + Basedigits;
  bigfloat u = value;
  u.prec(std::max(u.prec(), destprec));
  const bigfloat N(n);

  // The start value from a double. With u = v 10^(9 E) and 1 <= v < 10^9, and
  // E = q n + r (0 <= r < n): u^(-1/n) = (v 10^(9 r))^(-1/n) 10^(-9 q). Taking v
  // from the leading two words keeps simple values such as 2 or 4 exact.
  const auto sn = static_cast<std::int64_t>(n);
  const std::int64_t E = u.wordExponent() - 1;
  const std::int64_t q = E >= 0 ? E / sn : -((-E + sn - 1) / sn);
  const std::int64_t r = E - q * sn;
  std::uint32_t lead[2] = {0, 0};
  u.words(0, std::min<std::size_t>(u.size(), 2), lead);
  const double v = (lead[0] + lead[1] / 1e9) * std::pow(1e9, static_cast<double>(r));
  bigfloat x(u.sign() * std::pow(v, -1.0 / n), 2 * Basedigits);
  x.exp(x.exp() - q * Basedigits);
  long p0 = Basedigits;  // digits the start value is good for

  auto step = [&](long tprec) {
    bigfloat t = 1 - u * pow(x, n);
    if (tprec != DEFAULT) t.prec(tprec);
    x = n == 1 ? x + x * t : x + x * t / N;
  };

  // Align the working precision to a length the transforms like.
  const std::size_t destWords = static_cast<std::size_t>(destprec / Basedigits);
  const long threshold = (rnd23up(destWords) & (rnd23up(destWords) - 1)) == 0 ? Basedigits : 3 * Basedigits;
  for (; p0 < threshold; p0 *= 2) {
    x.prec(threshold + 3 * Basedigits);
    step(DEFAULT);
  }
  p0 = threshold;

  int k = 0;
  while ((static_cast<std::int64_t>(p0) << k) < destprec) ++k;
  int f = 0;
  {
    std::int64_t p = p0;
    for (int candidate = k; candidate >= 1; --candidate, p *= 2) {
      if (p >= 18 && ((p - 18) << candidate) >= destprec) {
        f = candidate;
        break;
      }
    }
  }
  std::int64_t precision = p0;
  for (int count = k; count > 0;) {
    --count;
    precision *= 2;
    x.prec(static_cast<long>(std::min<std::int64_t>(precision, destprec)));
    step(count < f ? static_cast<long>(precision / 2) : DEFAULT);
    if (count == f) step(DEFAULT);
  }
  x.prec(wanted);
  return x;
}

bigfloat sqrt(const bigfloat& x) {
  if (x.sign() == 0) return bigfloat();
  return x * invroot(x, 2, x.prec());
}

}  // namespace bignum
