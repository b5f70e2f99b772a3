// Division: by one word directly, by longer numbers schoolbook (longdivision.h)
// up to about 10^4 digits and through the inverse root above; the inverse root
// by Newton's iteration, and the square root (schoolbook up to 2 10^4 digits).
#include <algorithm>
#include <cmath>
#include <vector>

#include "bignum/bigfloat.h"
#include "bignum/check.h"
#include "bignum/convolution.h"
#include "bignum/longdivision.h"
#include "bignum/progress.h"
#include "bignum/record.h"

namespace bignum {

using namespace records;

namespace {

// The schoolbook quotient (divisor words times quotient words) and root (root
// words) up to where Newton's iteration overtakes them (measured: about 10^4
// and 2.3 10^4 digits).
constexpr std::size_t kSchoolbookArea = 1100 * 1100;
constexpr long kSchoolbookRoot = 2500;

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

// a / b for a divisor of 2 or more words by schoolbook long division: the
// quotient of the stored words truncated to the precision, exactly.
bigfloat divlong(numstruct& a, numstruct& b, long prec) {
  const std::size_t n = b.size();
  WordBuffer V(n);
  readWords(b, 0, n, V.data());
  // Quotient words: the precision, and one more when the first is 0 (a's
  // words below b's). The dividend's words beyond count + n - 1 are left out.
  const std::size_t most = std::min(a.size(), static_cast<std::size_t>(prec) + n);
  WordBuffer A(most);
  readWords(a, 0, most, A.data());
  const bool lower = std::lexicographical_compare(A.data(), A.data() + most, V.data(), V.data() + n);
  const auto count = static_cast<std::size_t>(prec) + (lower ? 1 : 0);
  WordBuffer Q(count);
  divideWords(A.data(), std::min(most, count + n - 1), V.data(), n, Q.data(), count);
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
  const auto n = b.size(), words = static_cast<std::size_t>(p / Basedigits);
  if (n <= 50 || n * words <= kSchoolbookArea) return divlong(*a.record(), *b.record(), p / Basedigits);
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

// sqrt(x) to p digits by the schoolbook root of x's words: exact, truncated.
bigfloat schoolbookRoot(const bigfloat& x, long p) {
  const auto count = static_cast<std::size_t>(wordsOf(p));
  // x = 0.x0 x1 ... 10^(9 E); for an odd E, x = 0.0 x0 x1 ... 10^(9 (E + 1)):
  // the root of the words is that of 0.s0 s1 ... 10^(9 E / 2), E even.
  const std::int64_t E = x.wordExponent();
  const std::size_t odd = E % 2 != 0 ? 1 : 0;
  const std::size_t nx = std::min(x.size(), 2 * count - odd);
  WordBuffer X(nx + 1), S(count);
  X[0] = 0;
  x.words(0, nx, X.data() + odd);
  sqrtWords(X.data(), nx + odd, S.data(), count);
  return bigfloat::fromWords(1, (E + static_cast<std::int64_t>(odd)) / 2, static_cast<long>(count), S.data(), count);
}

}  // namespace

bigfloat sqrt(const bigfloat& x) {
  if (x.sign() == 0) return bigfloat();
  const long p = x.prec();
  if (p == INFINITE) return x * invroot(x, 2, p);
  if (p <= kSchoolbookRoot * Basedigits) return schoolbookRoot(x, p);
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
