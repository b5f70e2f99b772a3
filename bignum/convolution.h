// Long products of mantissas: the convolution of their words modulo three
// primes, recombined exactly and carried in base 10^9.
#pragma once

#include <cstddef>
#include <memory>

#include "bignum/storage.h"

namespace bignum {

// The transform length for n words: the smallest of 1, 2, 3, 4, 6, 8, 12, 16,
// 24, ... (2^k and 3*2^k) not below n; 0 for 0.
std::size_t rnd23up(std::size_t n);

struct ConvolutionResult {
  std::unique_ptr<datastruct> words;  // S words in base 10^9, most significant first
  int carry;                          // 1 when the product needed a leading word
};

// The product of the first la words of a and the first lb words of b (base
// 10^9, most significant first), with N = rnd23up(la + lb) at most
// MAXTRANSFORMLENGTH ("pn <= MAXTRANSFORMLENGTH") and S <= N. Returns the S
// leading words: words of the full product beyond S are never formed and
// their carries are not added, so the last words are low by at most a carry
// (callers keep two guard words). With the carry flag set, word 0 is the
// product's leading word; otherwise the product's leading word position was 0
// and the words start one position further down.
// The working vectors go to disk when N > Maxblocksize.
ConvolutionResult convolution(datastruct& a, datastruct& b, std::size_t S, std::size_t la, std::size_t lb,
                              std::size_t N);
// The same for a times itself, with one transform per modulus instead of two.
ConvolutionResult selfConvolution(datastruct& a, std::size_t S, std::size_t la, std::size_t N);

// How many convolutions this process has run (for tests and benchmarks).
std::size_t convolutionCount();

}  // namespace bignum
