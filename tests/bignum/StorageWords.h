// Moving words in and out of mantissa storage in tests, in windows of Blocksize.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "bignum/init.h"
#include "bignum/storage.h"

using Words = std::vector<std::uint32_t>;

// All words of a storage.
inline Words wordsOf(bignum::datastruct& d) {
  Words words(d.size());
  const std::size_t block = bignum::limits().Blocksize;
  for (std::size_t i = 0; i < d.size(); i += block) {
    const std::size_t n = std::min(block, d.size() - i);
    const std::uint32_t* w = d.getreadwindow(i, n);
    std::copy(w, w + n, words.begin() + static_cast<std::ptrdiff_t>(i));
    d.clearreadwindow();
  }
  return words;
}

// A storage holding `words`, at `location`.
inline std::unique_ptr<bignum::datastruct> storageOf(const Words& words, int location = bignum::DEFAULT) {
  auto d = std::make_unique<bignum::datastruct>(words.size(), nullptr, location);
  const std::size_t block = bignum::limits().Blocksize;
  for (std::size_t i = 0; i < words.size(); i += block) {
    const std::size_t n = std::min(block, words.size() - i);
    std::copy_n(words.begin() + static_cast<std::ptrdiff_t>(i), n, d->getwritewindow(i, n));
    d->writeback();
  }
  return d;
}
