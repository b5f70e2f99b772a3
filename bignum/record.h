// Helpers of the number routines (internal to the library): making and
// finishing records and reading their words in windows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "bignum/bigfloat.h"
#include "bignum/check.h"

namespace bignum::records {

// Word precision of a digit precision: ceil(p / 9), INFINITE kept, at least one word.
inline long wordsOf(long digits) {
  if (digits == INFINITE) return INFINITE;
  return std::max<long>((digits + Basedigits - 1) / Basedigits, 1);
}

// min of two word precisions.
inline long minPrecision(long a, long b) { return std::min(a, b); }

// a + d for a word precision (INFINITE stays INFINITE).
inline long addPrecision(long a, std::int64_t d) {
  if (a == INFINITE) return INFINITE;
  return static_cast<long>(std::clamp<std::int64_t>(a + d, 1, INFINITE - 1));
}

// An exponent sum or difference kept within the range; `underflow` is set when
// it falls below it (the number then becomes zero).
inline std::int64_t clampExponent(std::int64_t e, bool& underflow) {
  underflow = e < -MAXEXPONENT;
  return std::min(e, MAXEXPONENT);
}

// The shared zero record.
numstruct* zeroRecord();

// A record being written, owned until finish() makes a number of it, so that
// a computation that stops with an exception frees it.
using Record = std::unique_ptr<numstruct>;

// A new record of `size` words with the given fields. Numbers live on disk
// above Memorythreshold words (DEFAULT): in memory they would hold the one
// workspace, which only one buffer at a time can have.
inline Record newRecord(std::size_t size, int sign, std::int64_t exp, long prec, int location = DEFAULT) {
  Record r = std::make_unique<numstruct>(size, location);
  r->sign = sign;
  r->exp = exp;
  r->prec = prec;
  return r;
}

// Makes a finished number of a record whose words are written: cuts it to its
// precision, strips trailing zero words and gives zero for no words left (or
// an exponent below the range). The number owns the record from the start.
bigfloat finish(numstruct* r);
inline bigfloat finish(Record r) { return finish(r.release()); }

// Reads words [first, first + count) of a record in windows of `block` words,
// calling each(words, position, n) for every window, front to back.
template <class Each>
void forWindows(numstruct& r, std::size_t first, std::size_t count, std::size_t block, Each&& each) {
  WindowGuard guard(r);
  for (std::size_t done = 0; done < count;) {
    const std::size_t n = std::min(block, count - done);
    each(r.getreadwindow(first + done, n), first + done, n);
    r.clearreadwindow();
    done += n;
  }
}

// Copies words [first, first + count) of a record into `into`.
inline void readWords(numstruct& r, std::size_t first, std::size_t count, std::uint32_t* into) {
  if (const std::uint32_t* words = r.memoryData()) {
    std::copy(words + first, words + first + count, into);
    return;
  }
  forWindows(r, first, count, limits().Blocksize, [&](const std::uint32_t* w, std::size_t position, std::size_t n) {
    std::copy(w, w + n, into + (position - first));
  });
}

}  // namespace bignum::records
