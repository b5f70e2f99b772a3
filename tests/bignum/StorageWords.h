// Moving words in and out of mantissa storage in tests, in windows of Blocksize.
#pragma once

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "bignum/init.h"
#include "bignum/storage.h"

using Words = std::vector<std::uint32_t>;

// `n` random words below `bound` (a word's base by default), from `seed`.
inline Words randomWords(std::size_t n, unsigned seed, std::uint32_t bound = 1000000000u) {
  std::mt19937 rng(seed);
  Words w(n);
  for (auto& x : w) x = rng() % bound;
  return w;
}

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
