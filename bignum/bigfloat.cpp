// The number type: handles and records, construction from machine numbers,
// the accessors, comparison and the sign operations.
#include "bignum/bigfloat.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "bignum/check.h"
#include "bignum/record.h"

namespace bignum {

using namespace records;

namespace records {

numstruct* zeroRecord() {
  // One record for every zero; it is never freed, so that it outlives any handle.
  static numstruct* const zero = [] {
    auto* r = new numstruct(0, MEMORY);
    r->nlinks = 1;
    return r;
  }();
  ++zero->nlinks;
  return zero;
}

bigfloat finish(numstruct* r) {
  bigfloat result(r);
  bool underflow = false;
  r->exp = clampExponent(r->exp, underflow);
  std::size_t size = r->size();
  if (r->prec != INFINITE && size > static_cast<std::size_t>(r->prec)) size = static_cast<std::size_t>(r->prec);
  if (const std::uint32_t* words = r->memoryData()) {
    while (size > 0 && words[size - 1] == 0) --size;
  } else {
    size -= trailingZeroWords(*r, size);
  }
  if (size == 0 || r->sign == 0 || underflow) return bigfloat();
  if (size != r->size()) r->relocate(DEFAULT, size);
  return result;
}

}  // namespace records

numstruct::numstruct(numstruct& source)
    : datastruct(source, source.size(), DEFAULT, source.size()),
      sign(source.sign),
      exp(source.exp),
      prec(source.prec) {}

bigfloat::bigfloat() : rec_(zeroRecord()) {}

bigfloat::bigfloat(const bigfloat& other) : rec_(other.rec_) { ++rec_->nlinks; }

bigfloat& bigfloat::operator=(const bigfloat& other) {
  if (this == &other || rec_ == other.rec_) return *this;
  ++other.rec_->nlinks;
  if (--rec_->nlinks == 0) delete rec_;
  rec_ = other.rec_;
  return *this;
}

bigfloat::~bigfloat() {
  if (--rec_->nlinks == 0) delete rec_;
}

numstruct* bigfloat::mutableRecord() {
  if (rec_->nlinks >= 2) {
    auto* copy = new numstruct(*rec_);
    --rec_->nlinks;
    rec_ = copy;
  }
  return rec_;
}

namespace {

// An exact or cut number from the magnitude of a machine integer.
bigfloat fromMagnitude(int sign, std::uint64_t magnitude, long prec, int location) {
  if (magnitude == 0) return bigfloat();
  std::uint32_t words[3];
  std::size_t count = 0;
  std::uint32_t reversed[3];
  for (; magnitude > 0; magnitude /= Base) reversed[count++] = static_cast<std::uint32_t>(magnitude % Base);
  for (std::size_t i = 0; i < count; ++i) words[i] = reversed[count - 1 - i];
  return bigfloat::fromWords(sign, static_cast<std::int64_t>(count), wordsOf(prec), words, count, location);
}

}  // namespace

bigfloat::bigfloat(int value, long prec, int location)
    : bigfloat(fromMagnitude(value < 0 ? -1 : 1,
                             value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(value))
                                       : static_cast<std::uint64_t>(value),
                             prec, location)) {}

bigfloat::bigfloat(unsigned value, long prec, int location) : bigfloat(fromMagnitude(1, value, prec, location)) {}

bigfloat::bigfloat(double value, long prec, int location) : rec_(zeroRecord()) {
  BIGNUM_CHECK(std::isfinite(value), "finite double", "bigfloat");
  if (value == 0.0) return;
  const int sign = value < 0 ? -1 : 1;
  // v = s * 10^(9 e) with 1 <= s < 10^9, scaled by powers of 10^9 that a long
  // double holds exactly (10^27 = 2^27 5^27 with 5^27 < 2^64): each step rounds once.
  long double s = std::fabs(static_cast<long double>(value));
  std::int64_t e = 0;
  while (s >= 1e27L) s /= 1e27L, e += 3;
  while (s >= 1e9L) s /= 1e9L, ++e;
  while (s < 1e-27L) s *= 1e27L, e -= 3;
  while (s < 1.0L) s *= 1e9L, --e;
  // Two words at a time through a 64-bit integer (s 10^9 < 10^18 < 2^63); the
  // fraction left keeps the bits of s below them.
  std::uint32_t words[4];
  const long double scaled = s * 1e9L;
  const auto high = std::min(static_cast<std::uint64_t>(scaled), std::uint64_t{Base} * Base - 1);
  const auto low = std::min(static_cast<std::uint64_t>((scaled - static_cast<long double>(high)) * 1e18L),
                            std::uint64_t{Base} * Base - 1);
  words[0] = static_cast<std::uint32_t>(high / Base);
  words[1] = static_cast<std::uint32_t>(high % Base);
  words[2] = static_cast<std::uint32_t>(low / Base);
  words[3] = static_cast<std::uint32_t>(low % Base);
  // A double carries 15 digits: with the unused digits of the leading word, 2 or 3 words.
  int leadingDigits = 0;
  for (std::uint32_t w = words[0]; w >= 10; w /= 10) ++leadingDigits;
  const long wordPrec = prec == DEFAULT ? (2 * Basedigits - leadingDigits - 1 + 15) / Basedigits : wordsOf(prec);
  *this =
      fromWords(sign, e + 1, wordPrec, words, std::min<std::size_t>(4, static_cast<std::size_t>(wordPrec)), location);
}

bigfloat bigfloat::fromWords(int sign, std::int64_t wordExponent, long prec, const std::uint32_t* words,
                             std::size_t count, int location) {
  std::size_t lead = 0;
  while (lead < count && words[lead] == 0) ++lead;
  if (lead == count || sign == 0) return bigfloat();
  count -= lead;
  if (prec != INFINITE) count = std::min(count, static_cast<std::size_t>(prec));
  while (count > 0 && words[lead + count - 1] == 0) --count;
  Record r = newRecord(count, sign, wordExponent - static_cast<std::int64_t>(lead), prec, location);
  const std::size_t block = limits().Blocksize;
  for (std::size_t done = 0; done < count;) {
    const std::size_t n = std::min(block, count - done);
    std::memcpy(r->getwritewindow(done, n), words + lead + done, n * 4);
    r->writeback();
    done += n;
  }
  return finish(std::move(r));
}

int bigfloat::sign() const { return rec_ == nullptr ? 0 : rec_->sign; }

std::int64_t bigfloat::exp() const { return rec_->exp * Basedigits; }

long bigfloat::prec() const { return rec_->prec == INFINITE ? INFINITE : rec_->prec * Basedigits; }

std::size_t bigfloat::size() const { return rec_->size(); }

std::int64_t bigfloat::wordExponent() const { return rec_->exp; }

long bigfloat::wordPrecision() const { return rec_->prec; }

void bigfloat::words(std::size_t first, std::size_t count, std::uint32_t* into) const {
  forWindows(*rec_, first, count, limits().Blocksize, [&](const std::uint32_t* w, std::size_t position, std::size_t n) {
    std::memcpy(into + (position - first), w, n * 4);
  });
}

bigfloat& bigfloat::prec(long p) {
  if (rec_->sign == 0) return *this;
  const long words = wordsOf(p);
  if (words == rec_->prec) return *this;
  numstruct* r = mutableRecord();
  r->prec = words;
  if (words != INFINITE && r->size() > static_cast<std::size_t>(words)) {
    ++r->nlinks;  // finish() makes a handle of its own on the record
    *this = finish(r);
  }
  return *this;
}

bigfloat& bigfloat::sign(int s) {
  if (rec_->sign == 0 || s == rec_->sign || s == 0) {
    if (s == 0 && rec_->sign != 0) *this = bigfloat();
    return *this;
  }
  mutableRecord()->sign = s < 0 ? -1 : 1;
  return *this;
}

bigfloat& bigfloat::exp(std::int64_t e) {
  if (rec_->sign == 0) return *this;
  const std::int64_t words = e / Basedigits;
  if (words == rec_->exp) return *this;
  bool underflow = false;
  const std::int64_t clamped = clampExponent(words, underflow);
  if (underflow) return *this = bigfloat();
  mutableRecord()->exp = clamped;
  return *this;
}

int compare(const bigfloat& a, const bigfloat& b, bool absolute) {
  numstruct* x = a.record();
  numstruct* y = b.record();
  if (x == y) return 0;
  const int sx = absolute ? (x->sign != 0) : x->sign;
  const int sy = absolute ? (y->sign != 0) : y->sign;
  if (sx != sy) return sx < sy ? -1 : 1;
  if (sx == 0) return 0;
  if (x->exp != y->exp) return (x->exp < y->exp ? -1 : 1) * sx;
  const std::size_t shared = std::min(x->size(), y->size());
  const std::size_t block = limits().Blocksize;
  WindowGuard guardX(*x), guardY(*y);
  for (std::size_t done = 0; done < shared;) {
    const std::size_t n = std::min(block, shared - done);
    const std::uint32_t* u = x->getreadwindow(done, n);
    const std::uint32_t* v = y->getreadwindow(done, n);
    const auto difference = std::mismatch(u, u + n, v);
    const int order = difference.first == u + n ? 0 : (*difference.first < *difference.second ? -1 : 1);
    y->clearreadwindow();
    x->clearreadwindow();
    if (order != 0) return order * sx;
    done += n;
  }
  if (x->size() == y->size()) return 0;
  return (x->size() < y->size() ? -1 : 1) * sx;
}

bigfloat operator-(const bigfloat& x) {
  bigfloat result = x;
  if (x.sign() != 0) result.mutableRecord()->sign = -x.sign();
  return result;
}

bigfloat abs(const bigfloat& x) { return x.sign() >= 0 ? x : -x; }

}  // namespace bignum
