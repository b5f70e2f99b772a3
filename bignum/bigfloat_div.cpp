// Division: by one word directly, by longer numbers through the inverse root;
// the inverse root by Newton's iteration, and the square root.
#include <algorithm>
#include <cmath>
#include <vector>

#include "bignum/bigfloat.h"
#include "bignum/check.h"
#include "bignum/convolution.h"
#include "bignum/progress.h"
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
  Record r = newRecord(size, a.sign * b.sign, exp, prec);
  const std::size_t block = limits().Blocksize;
  remainder = 0;
  std::size_t next = 0;  // the next word of a (zeros after its end)
  if (leadingZero) remainder = A[next++];
  for (std::size_t done = 0; done < size;) {
    const std::size_t count = std::min(block, size - done);
    poll(count);
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
  return finish(std::move(r));
}

// Words in a buffer on the stack when they are few, on the heap otherwise.
class WordBuffer {
 public:
  explicit WordBuffer(std::size_t n) : words_(n <= kLocal ? local_ : (heap_.resize(n), heap_.data())) {}
  std::uint32_t& operator[](std::size_t i) { return words_[i]; }
  std::uint32_t* data() { return words_; }

 private:
  static constexpr std::size_t kLocal = 64;
  std::uint32_t local_[kLocal];
  std::vector<std::uint32_t> heap_;
  std::uint32_t* words_;
};

// a / b for a divisor of 2 to 50 words: long division word by word, giving
// the quotient truncated to the precision. Each quotient word is estimated
// from the leading words in floating point and set right against the remainder.
bigfloat divlong(numstruct& a, numstruct& b, long prec) {
  const std::size_t n = b.size();
  WordBuffer V(n);
  readWords(b, 0, n, V.data());
  // Quotient words: the precision, and one more in case the first is 0. The
  // dividend's words beyond count + n cannot reach them.
  const auto count = static_cast<std::size_t>(prec) + 1;
  const std::size_t used = std::min(a.size(), count + n);
  // W: a zero word, the dividend, zeros; at step j the remainder is W[j .. j + n].
  WordBuffer W(count + n + 1);
  W[0] = 0;
  readWords(a, 0, used, W.data() + 1);
  std::fill(W.data() + 1 + used, W.data() + count + n + 1, 0u);
  WordBuffer Q(count);
  const double base = Base;
  // The leading three words of the divisor (two if it has only two), against
  // as many of the remainder's and one more: the estimate is off by one at most.
  const bool three = n > 2;
  const double divisor =
      three ? (static_cast<double>(V[0]) * base + V[1]) * base + V[2] : static_cast<double>(V[0]) * base + V[1];
  const double inverse = 1.0 / divisor;
  for (std::size_t j = 0; j < count; ++j) {
    if (j % 1024 == 0) poll(1024 * n);
    std::uint32_t* R = W.data() + j;
    const double head3 = (static_cast<double>(R[0]) * base + R[1]) * base + R[2];
    const double head = three ? head3 * base + R[3] : head3;
    std::int64_t q = static_cast<std::int64_t>(head * inverse);
    q = std::clamp<std::int64_t>(q, 0, Base - 1);
    // R -= q V, from the least significant end. The products split into their
    // words independently; only small borrows run from word to word.
    std::int64_t borrow = 0;
    for (std::size_t i = n; i-- > 0;) {
      const std::uint64_t product = static_cast<std::uint64_t>(q) * V[i];
      const std::uint64_t high = product / Base;
      const std::int64_t t = std::int64_t{R[i + 1]} - static_cast<std::int64_t>(product - high * Base) - borrow;
      const std::int64_t k = (t < 0) + (t < -static_cast<std::int64_t>(Base));
      R[i + 1] = static_cast<std::uint32_t>(t + k * Base);
      borrow = static_cast<std::int64_t>(high) + k;
    }
    std::int64_t top = std::int64_t{R[0]} - borrow;
    while (top < 0) {  // q was too large: add V back
      --q;
      std::uint32_t carry = 0;
      for (std::size_t i = n; i-- > 0;) {
        const std::uint32_t x = R[i + 1] + V[i] + carry;
        carry = x >= Base;
        R[i + 1] = carry ? x - Base : x;
      }
      top += carry;
    }
    auto notBelowV = [&] {
      if (top > 0) return true;
      for (std::size_t i = 0; i < n; ++i)
        if (R[i + 1] != V[i]) return R[i + 1] > V[i];
      return true;
    };
    while (notBelowV()) {  // q was too small: take V once more
      ++q;
      std::uint32_t borrowed = 0;
      for (std::size_t i = n; i-- > 0;) {
        const std::int64_t x = std::int64_t{R[i + 1]} - V[i] - borrowed;
        borrowed = x < 0;
        R[i + 1] = static_cast<std::uint32_t>(x + (borrowed ? Base : 0));
      }
      top -= borrowed;
    }
    Q[j] = static_cast<std::uint32_t>(q);
  }
  // Q[0] weighs 10^(9 (exp a - exp b)): the quotient is 0.Q[0]Q[1]... one word up.
  bool underflow = false;
  const std::int64_t exp = clampExponent(a.exp - b.exp + 1, underflow);
  if (underflow) return bigfloat();
  return bigfloat::fromWords(a.sign * b.sign, exp, prec, Q.data(), count);
}

// a / b to p digits from the inverse of b to half of them: q = a y to half
// the digits, then one correction with the exact remainder, q + y (a - b q),
// doubles them (Karp and Markstein). All is done with a word to spare.
bigfloat quotientByInverse(const bigfloat& dividend, const bigfloat& divisor, long p) {
  const long wide = p + Basedigits;
  const long half = (wide / Basedigits / 2 + 1) * Basedigits;
  // The stored words are the values: with a wider precision they stay exact.
  bigfloat a = dividend, b = divisor;
  a.prec(std::max(a.prec(), wide));
  b.prec(std::max(b.prec(), wide));
  // Progress: the inverse costs about half, the three products after it the rest.
  ProgressStage stage("division");
  stage.delegate(0, 0.5);
  const bigfloat y = invroot(b, 1, half + Basedigits);
  bigfloat q = a * y;
  q.prec(half);
  q.prec(wide);
  stage.advance(0.65);
  const bigfloat remainder = a - b * q;
  stage.advance(0.85);
  bigfloat result = q + y * remainder;
  result.prec(p);
  return result;
}

}  // namespace

bigfloat operator/(const bigfloat& a, const bigfloat& b) {
  BIGNUM_CHECK(b.sign() != 0, "b->sign", "bigfloat");
  if (a.sign() == 0) return bigfloat();
  if (b.size() == 1) return divshort(*a.record(), *b.record());
  const long p = std::min(a.prec(), b.prec());
  BIGNUM_CHECK(p != INFINITE, "prec != INFINITE", "bigfloat");
  if (b.size() <= 50) return divlong(*a.record(), *b.record(), p / Basedigits);
  return quotientByInverse(a, b, p);
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
  // from the leading three words gives the double all the digits it holds even
  // when the leading word is a single digit, and keeps 2 or 4 exact.
  const auto sn = static_cast<std::int64_t>(n);
  const std::int64_t E = u.wordExponent() - 1;
  const std::int64_t q = E >= 0 ? E / sn : -((-E + sn - 1) / sn);
  const std::int64_t r = E - q * sn;
  std::uint32_t lead[3] = {0, 0, 0};
  u.words(0, std::min<std::size_t>(u.size(), 3), lead);
  const double v = (lead[0] + lead[1] / 1e9 + lead[2] / 1e18) * std::pow(1e9, static_cast<double>(r));
  bigfloat x(u.sign() * std::pow(v, -1.0 / n));  // all the digits a double carries
  x.exp(x.exp() - q * Basedigits);

  // Newton steps x <- x + x (1 - u x^n) / n, each at a precision a little over
  // twice the last: the sequence is the target halved down, with a word of
  // margin each time, until a precision the start value reaches.
  std::vector<long> precisions;
  for (long p = destprec; p > 3 * Basedigits; p = wordsOf(p / 2) * Basedigits + Basedigits) precisions.push_back(p);
  precisions.push_back(3 * Basedigits);
  // Progress: the digits reached out of those wanted.
  ProgressStage stage(n == 1 ? "division" : n == 2 ? "square root" : "root");
  for (auto it = precisions.rbegin(); it != precisions.rend(); ++it) {
    x.prec(*it);
    bigfloat t = 1 - u * pow(x, n);
    t.prec(*it / 2 + Basedigits);  // the correction needs half the digits
    x = n == 1 ? x + x * t : x + x * t / N;
    stage.advance(static_cast<double>(*it) / static_cast<double>(destprec), static_cast<std::size_t>(*it));
  }
  x.prec(wanted);
  return x;
}

namespace {

// sqrt(x) to p digits for short precisions: Heron's iteration s <- (s + x / s) / 2,
// where the long division is cheap, from a double-accurate start, at
// precisions halved down from the target with a word to spare.
bigfloat heronRoot(const bigfloat& x, long p) {
  const long wide = p + Basedigits;
  bigfloat u = x;
  u.prec(std::max(u.prec(), wide));
  // x = v 10^(9 F) with 1 <= v < 10^18 and F even: sqrt(x) = sqrt(v) 10^(9 F / 2).
  // Three words: with a leading word of one digit, two would give the double 10.
  std::uint32_t lead[3] = {0, 0, 0};
  x.words(0, std::min<std::size_t>(x.size(), 3), lead);
  std::int64_t F = x.wordExponent() - 1;
  double v = lead[0] + lead[1] / 1e9 + lead[2] / 1e18;
  if (F % 2 != 0) {
    v *= 1e9;
    --F;
  }
  bigfloat s(std::sqrt(v));  // all the digits a double carries
  s.exp(s.exp() + F / 2 * Basedigits);
  // The start is good for 15 digits: the first step reaches about 30 of 36.
  std::vector<long> precisions;
  for (long q = wide; q > 4 * Basedigits; q = (q / Basedigits / 2 + 1) * Basedigits) precisions.push_back(q);
  precisions.push_back(4 * Basedigits);
  const bigfloat two(2);
  for (auto it = precisions.rbegin(); it != precisions.rend(); ++it) {
    poll(static_cast<std::size_t>(*it));
    s.prec(*it);
    bigfloat ux = u;
    ux.prec(*it);
    s = (s + ux / s) / two;
  }
  s.prec(p);
  return s;
}

}  // namespace

bigfloat sqrt(const bigfloat& x) {
  if (x.sign() == 0) return bigfloat();
  const long p = x.prec();
  if (p == INFINITE) return x * invroot(x, 2, p);
  if (p <= 40 * Basedigits) return heronRoot(x, p);
  // y = x^(-1/2) gets a word more: a leading word of one digit would cost it eight.
  if (p <= 100 * Basedigits) return x * invroot(x, 2, p + Basedigits);
  // s = x y with y to half the precision, then one correction with the exact
  // remainder: s + y (x - s^2) / 2 is good to the full precision. All is done
  // with a word to spare; x's stored words stay exact at the wider precision.
  const long wide = p + Basedigits;
  const long half = (wide / Basedigits / 2 + 1) * Basedigits;
  bigfloat u = x;
  u.prec(wide);
  ProgressStage stage("square root");
  stage.delegate(0, 0.5);
  const bigfloat y = invroot(u, 2, half + Basedigits);
  bigfloat s = u * y;
  s.prec(half);
  s.prec(wide);
  stage.advance(0.65);
  const bigfloat remainder = u - s * s;
  stage.advance(0.85);
  bigfloat root = s + y * remainder / bigfloat(2);
  root.prec(p);
  return root;
}

}  // namespace bignum
