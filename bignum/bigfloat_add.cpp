// Addition and subtraction.
#include <algorithm>

#include "bignum/bigfloat.h"
#include "bignum/record.h"

namespace bignum {

using namespace records;

namespace {

// Runs over words [0, end) of the result from the least significant end, in
// blocks, handing each(position, x, y) the words of X at that position and of Y
// at position - d (0 where an operand has no word there). `store(position, w)`
// writes result words. Both operands may be the same record.
template <class Each>
void alignedPairs(numstruct& X, numstruct& Y, std::int64_t d, std::size_t end, Each&& each) {
  const std::size_t block = limits().Blocksize;
  const std::size_t sizeX = X.size(), sizeY = Y.size();
  const auto shift = static_cast<std::size_t>(d);
  // `each` writes the result, which may fail while both windows are open.
  WindowGuard guardX(X), guardY(Y);
  for (std::size_t stop = end; stop > 0;) {
    const std::size_t start = stop > block ? stop - block : 0;
    // X words in [start, stop), Y words in [start - d, stop - d), as far as they go.
    const std::size_t x0 = std::min(start, sizeX), x1 = std::min(stop, sizeX);
    const std::size_t y0 = std::clamp(start, shift, shift + sizeY) - shift;
    const std::size_t y1 = std::clamp(stop, shift, shift + sizeY) - shift;
    const bool same = &X == &Y;
    const std::uint32_t* xw = x1 > x0 ? X.getreadwindow(x0, x1 - x0) : nullptr;
    const std::uint32_t* yw = nullptr;
    if (same && y1 > y0) {
      yw = xw;  // the same record and, as d is 0, the same window
    } else if (y1 > y0) {
      yw = Y.getreadwindow(y0, y1 - y0);
    }
    for (std::size_t i = stop; i-- > start;) {
      const std::uint32_t x = i < x1 && i >= x0 ? xw[i - x0] : 0;
      const std::uint32_t y = i >= shift && i - shift >= y0 && i - shift < y1 ? yw[i - shift - y0] : 0;
      each(i, x, y);
    }
    if (!same && y1 > y0) Y.clearreadwindow();
    if (x1 > x0) X.clearreadwindow();
    stop = start;
  }
}

// |X| + |Y| or |X| - |Y| (|X| > |Y|), X having the larger exponent, with the sign of X.
bigfloat combine(numstruct& X, numstruct& Y, int sign, bool subtract) {
  const std::int64_t d = X.exp - Y.exp;
  const std::size_t sizeX = X.size(), sizeY = Y.size();
  // Past words that only one operand has, nothing can carry into the words kept.
  const auto reach = static_cast<std::size_t>(std::min<std::int64_t>(d + static_cast<std::int64_t>(sizeY), INFINITE));
  const std::size_t full = std::max(sizeX, reach);
  const long prec = minPrecision(X.prec, addPrecision(Y.prec, d));
  const std::size_t overlapEnd = std::min(sizeX, reach);
  const std::size_t end =
      prec == INFINITE ? full : std::min(full, std::max(static_cast<std::size_t>(prec), overlapEnd));
  // A subtrahend reaching past `end` borrows one from the words kept.
  std::uint32_t carry = subtract && reach > end ? 1 : 0;

  Record r = newRecord(end, sign, X.exp, prec);
  const std::size_t block = limits().Blocksize;
  const std::uint32_t* xm = X.memoryData();
  const std::uint32_t* ym = Y.memoryData();
  std::uint32_t* rm = r->memoryData();
  if (xm != nullptr && ym != nullptr && rm != nullptr) {
    // All in memory: one plain loop from the least significant end.
    const auto shift = static_cast<std::size_t>(d);
    for (std::size_t i = end; i-- > 0;) {
      const std::uint32_t x = i < sizeX ? xm[i] : 0;
      const std::uint32_t y = i >= shift && i - shift < sizeY ? ym[i - shift] : 0;
      std::int64_t w = subtract ? std::int64_t{x} - y - carry : std::int64_t{x} + y + carry;
      carry = subtract ? w < 0 : w >= Base;
      rm[i] = static_cast<std::uint32_t>(subtract ? w + (carry ? Base : 0) : w - (carry ? Base : 0));
    }
  } else {
    std::size_t windowStart = end, windowStop = end;
    std::uint32_t* out = nullptr;
    alignedPairs(X, Y, d, end, [&](std::size_t i, std::uint32_t x, std::uint32_t y) {
      if (i < windowStart) {
        if (out != nullptr) r->writeback();
        windowStop = windowStart;
        windowStart = windowStop > block ? windowStop - block : 0;
        out = r->getwritewindow(windowStart, windowStop - windowStart);
      }
      std::int64_t w = subtract ? std::int64_t{x} - y - carry : std::int64_t{x} + y + carry;
      carry = subtract ? w < 0 : w >= Base;
      out[i - windowStart] = static_cast<std::uint32_t>(subtract ? w + (carry ? Base : 0) : w - (carry ? Base : 0));
    });
    if (out != nullptr) r->writeback();
  }

  if (!subtract && carry != 0) {
    // A final carry: a new leading word 1, one word more of exponent and precision.
    Record grown = newRecord(end + 1, sign, X.exp + 1, addPrecision(prec, 1));
    grown->getwritewindow(0, 1)[0] = 1;
    grown->writeback();
    copyWords(*grown, 1, *r, 0, end);
    r.reset();
    return finish(std::move(grown));
  }
  if (subtract) {
    // Leading zero words of the difference lower the exponent and the precision.
    std::size_t zeros = 0;
    forWindows(*r, 0, end, block, [&](const std::uint32_t* w, std::size_t position, std::size_t n) {
      if (zeros < position) return;
      std::size_t i = 0;
      while (i < n && w[i] == 0) ++i;
      zeros += i;
    });
    if (zeros == end) {
      r.reset();
      return bigfloat();
    }
    if (zeros > 0) {
      Record shifted = newRecord(end - zeros, sign, X.exp - static_cast<std::int64_t>(zeros),
                                 prec == INFINITE ? INFINITE : std::max<long>(prec - static_cast<long>(zeros), 1));
      copyWords(*shifted, 0, *r, zeros, end - zeros);
      r.reset();
      return finish(std::move(shifted));
    }
  }
  return finish(std::move(r));
}

bigfloat addsub(const bigfloat& a, const bigfloat& b, bool subtract) {
  if (b.sign() == 0) return a;
  if (a.sign() == 0) return subtract ? -b : b;
  numstruct& x = *a.record();
  numstruct& y = *b.record();
  const int sb = subtract ? -y.sign : y.sign;
  if (&x == &y) return sb == x.sign ? combine(x, x, x.sign, false) : bigfloat();
  if (sb == x.sign) return x.exp >= y.exp ? combine(x, y, x.sign, false) : combine(y, x, x.sign, false);
  const int order = compare(a, b, true);
  if (order == 0) return bigfloat();
  return order > 0 ? combine(x, y, x.sign, true) : combine(y, x, sb, true);
}

}  // namespace

bigfloat operator+(const bigfloat& a, const bigfloat& b) { return addsub(a, b, false); }
bigfloat operator-(const bigfloat& a, const bigfloat& b) { return addsub(a, b, true); }

}  // namespace bignum
