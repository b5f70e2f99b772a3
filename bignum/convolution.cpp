#include "bignum/convolution.h"

#include <algorithm>
#include <cstring>

#include "bignum/check.h"
#include "bignum/init.h"
#include "bignum/kernels.h"
#include "bignum/modint.h"
#include "bignum/progress.h"
#include "bignum/transform.h"

namespace bignum {

namespace {

std::size_t convolutions = 0;

struct Modulus {
  std::uint32_t m, g;
};
// The order in which the moduli are used; the last, m1, keeps the result.
constexpr Modulus kModuli[3] = {{MOD3, ROOT3}, {MOD2, ROOT2}, {MOD1, ROOT1}};

// The progress of one product: its transforms done, out of those of the three
// moduli and one more for the recombination.
struct Steps {
  ProgressStage stage{"product"};
  std::size_t N;
  double total, done = 0;
  Steps(std::size_t length, bool square) : N(length), total(square ? 7 : 10) {}
  void next() { stage.advance(++done / total, N); }
};

// Transforms a working vector: through a window over all its words when it fits
// the workspace (then back to its usual place), without the factor 2^32 of
// the standard scaling, else through its file, with it.
void transformVector(datastruct& v, std::uint32_t g, std::size_t N, bool forward) {
  if (N > limits().Maxblocksize) {
    forward ? forwardTransform(v, g, N) : inverseTransform(v, g, N);
    return;
  }
  std::uint32_t* words = v.getreadwindow(0, N);
  forward ? forwardTransform(words, g, N, Scaling::unscaled) : inverseTransform(words, g, N, Scaling::unscaled);
  v.writeback();
  v.relocate(DEFAULT);
}

// b <- a (x) b in the transformed domain, in windows of Blocksize words.
void pointwise(datastruct& b, datastruct& a, std::size_t N) {
  const std::size_t block = limits().Blocksize;
  for (std::size_t i = 0; i < N; i += block) {
    const std::size_t n = std::min(block, N - i);
    poll(n);
    const std::uint32_t* x = a.getreadwindow(i, n);
    std::uint32_t* y = b.getreadwindow(i, n);
    transformedProduct(y, x, n);
    b.writeback();
    a.clearreadwindow();
  }
}

void pointwiseSquare(datastruct& a, std::size_t N) {
  const std::size_t block = limits().Maxblocksize;
  for (std::size_t i = 0; i < N; i += block) {
    const std::size_t n = std::min(block, N - i);
    poll(n);
    transformedSquare(a.getreadwindow(i, n), n);
    a.writeback();
  }
}

// Moves the first S words of v one place toward the end (the last falls off)
// and puts `first` in front, in windows from the end.
void shiftInLeadingWord(datastruct& v, std::size_t S, std::uint32_t first) {
  const std::size_t block = limits().Blocksize;
  for (std::size_t end = S; end > 1;) {
    const std::size_t n = std::min(block, end - 1);
    std::uint32_t* words = v.getreadwindow(end - 1 - n, n + 1);
    std::memmove(words + 1, words, n * 4);
    v.writeback();
    end -= n;
  }
  v.getreadwindow(0, 1)[0] = first;
  v.writeback();
}

// Recombines the first S positions of the three residue vectors (r1 for m1)
// into base-10^9 words written over r1, and returns the carry flag.
//
// Each exact value s below m1 m2 m3 is split into its base-10^9 digits
// s = a2 10^18 + a1 10^9 + a0 independently of the others (the kernels'
// crtDigits; a0 and a1 may exceed 10^9 a little); the carry pass then
// only adds a0 of a position, a1 of the next and a2 of the one after, plus a
// small carry. That gives the same words as carrying the whole 96-bit value
// position by position, with a short dependency chain.
int recombine(datastruct& r1, datastruct& r2, datastruct& r3, std::size_t S) {
  const Garner garner;
  const Kernels& k = activeKernels();
  constexpr std::size_t kChunk = 1024;  // positions whose upper digits are held at a time
  std::uint64_t digits1[kChunk], digits2[kChunk];
  std::uint64_t carry = 0, next1 = 0, next2 = 0, following2 = 0;  // a1 of i+1, a2 of i+1 and i+2
  const std::size_t block = limits().Blocksize;
  for (std::size_t end = S; end > 0;) {
    const std::size_t n = std::min(block, end);
    const std::size_t start = end - n;
    poll(n);
    std::uint32_t* w1 = r1.getreadwindow(start, n);
    const std::uint32_t* w2 = r2.getreadwindow(start, n);
    const std::uint32_t* w3 = r3.getreadwindow(start, n);
    for (std::size_t top = n; top > 0;) {
      const std::size_t bottom = top > kChunk ? top - kChunk : 0;
      k.crtDigits(w1 + bottom, w2 + bottom, w3 + bottom, digits1, digits2, top - bottom, garner);
      for (std::size_t i = top; i-- > bottom;) {
        const std::uint64_t sum = w1[i] + next1 + following2 + carry;
        w1[i] = static_cast<std::uint32_t>(sum % Base);
        carry = sum / Base;
        following2 = next2;
        next1 = digits1[i - bottom];
        next2 = digits2[i - bottom];
      }
      top = bottom;
    }
    r3.clearreadwindow();
    r2.clearreadwindow();
    r1.writeback();
    end = start;
  }
  // What is carried beyond the first position; below 10^9 for any product.
  const std::uint64_t K = carry + next1 + following2 + next2 * Base;
  if (static_cast<std::uint32_t>(K) == 0) return 0;
  shiftInLeadingWord(r1, S, static_cast<std::uint32_t>(K));
  return 1;
}

// The residue vector of one modulus: the first `length` words of x (and y,
// unless squaring), transformed, multiplied and transformed back.
std::unique_ptr<datastruct> residues(datastruct& x, std::size_t lx, datastruct* y, std::size_t ly, std::size_t N,
                                     const Modulus& mod, int location, Steps& steps) {
  setmodulus(mod.m);
  auto A = std::make_unique<datastruct>(x, lx, location, N);
  transformVector(*A, mod.g, N, true);
  steps.next();
  if (y == nullptr) {
    pointwiseSquare(*A, N);
  } else {
    auto B = std::make_unique<datastruct>(*y, ly, location, N);
    transformVector(*B, mod.g, N, true);
    steps.next();
    pointwise(*B, *A, N);
    A = std::move(B);  // the first transform is no longer needed
  }
  transformVector(*A, mod.g, N, false);
  steps.next();
  return A;
}

ConvolutionResult convolve(datastruct& a, datastruct* b, std::size_t S, std::size_t la, std::size_t lb, std::size_t N) {
  ++convolutions;
  BIGNUM_CHECK(N <= MAXTRANSFORMLENGTH, "pn <= MAXTRANSFORMLENGTH", "convolution");
  BIGNUM_CHECK(N >= la + lb && S <= N && N == rnd23up(N), "N == rnd23up(la + lb)", "convolution");
  const int location = N > limits().Maxblocksize ? DISK : MEMORY;
  if (N < 2) {  // one of the factors is empty: the product is zero
    auto zero = std::make_unique<datastruct>(S, nullptr, location);
    return ConvolutionResult{std::move(zero), 0};
  }
  Steps steps(N, b == nullptr);
  std::unique_ptr<datastruct> r[3];
  for (int i = 0; i < 3; ++i) r[i] = residues(a, la, b, lb, N, kModuli[i], location, steps);
  const int carry = recombine(*r[2], *r[1], *r[0], S);
  r[0].reset();
  r[1].reset();
  r[2]->relocate(DEFAULT, S);
  return ConvolutionResult{std::move(r[2]), carry};
}

}  // namespace

std::size_t convolutionCount() { return convolutions; }

std::size_t rnd23up(std::size_t n) {
  if (n == 0) return 0;
  std::size_t v = 1;
  while (v < n) v = (v & (v - 1)) == 0 && v >= 2 ? v / 2 * 3 : (v == 1 ? 2 : v / 3 * 4);
  return v;
}

ConvolutionResult convolution(datastruct& a, datastruct& b, std::size_t S, std::size_t la, std::size_t lb,
                              std::size_t N) {
  return convolve(a, &b, S, la, lb, N);
}

ConvolutionResult selfConvolution(datastruct& a, std::size_t S, std::size_t la, std::size_t N) {
  return convolve(a, nullptr, S, la, la, N);
}

}  // namespace bignum
