// Radix conversion of exact n-digit integers against GMP on the same values.
//
//   ours/toBinary/n    binaryWords of the number    vs mpz_set_str from its decimal text
//   ours/fromBinary/n  fromBinaryWords of its words vs mpz_get_str in base 10
//   ours/.../Fresh/n   the same with the powers the conversions keep freed
//                      before each one (as for the first conversion of a size)
//
// Unless MEMORYTHRESHOLD is set, long numbers are kept in memory.
#include <gmp.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "Comparison.h"
#include "bignum/radix.h"

namespace {

using bignum::bigfloat;

// A random decimal integer text of n digits.
const std::string& digitsFor(std::size_t n) {
  static std::map<std::size_t, std::string> cache;
  std::string& s = cache[n];
  if (s.empty()) {
    std::mt19937 rng(static_cast<unsigned>(n));
    s.resize(n);
    for (auto& c : s) c = static_cast<char>('0' + rng() % 10);
    s[0] = '7';
  }
  return s;
}

std::size_t digits(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)); }

template <bool fresh>
void oursToBinary(benchmark::State& state) {
  const bigfloat x(digitsFor(digits(state)).c_str(), bignum::INFINITE);
  for (auto _ : state) {
    if (fresh) bignum::clearRadixCache();
    std::vector<std::uint32_t> words = bignum::binaryWords(x);
    benchmark::DoNotOptimize(words.data());
  }
}

template <bool fresh>
void oursFromBinary(benchmark::State& state) {
  const std::vector<std::uint32_t> words =
      bignum::binaryWords(bigfloat(digitsFor(digits(state)).c_str(), bignum::INFINITE));
  for (auto _ : state) {
    if (fresh) bignum::clearRadixCache();
    bigfloat x = bignum::fromBinaryWords(words);
    benchmark::DoNotOptimize(x.record());
  }
}

void peerToBinary(benchmark::State& state) {
  const std::string& text = digitsFor(digits(state));
  mpz_t x;
  mpz_init(x);
  for (auto _ : state) mpz_set_str(x, text.c_str(), 10);
  mpz_clear(x);
}

void peerFromBinary(benchmark::State& state) {
  const std::string& text = digitsFor(digits(state));
  mpz_t x;
  mpz_init_set_str(x, text.c_str(), 10);
  std::string out(text.size() + 2, '\0');
  for (auto _ : state) mpz_get_str(out.data(), 10, x);
  mpz_clear(x);
}

#define PAIR(name, ourFn, peerFn)      \
  BENCHMARK(ourFn)                     \
      ->Name("ours/" name)             \
      ->RangeMultiplier(10)            \
      ->Range(1000, 1000000)           \
      ->UseRealTime()                  \
      ->Unit(benchmark::kMillisecond); \
  BENCHMARK(peerFn)                    \
      ->Name("peer/" name)             \
      ->RangeMultiplier(10)            \
      ->Range(1000, 1000000)           \
      ->UseRealTime()                  \
      ->Unit(benchmark::kMillisecond);

PAIR("toBinary", oursToBinary<false>, peerToBinary)
PAIR("fromBinary", oursFromBinary<false>, peerFromBinary)
PAIR("toBinaryFresh", oursToBinary<true>, peerToBinary)
PAIR("fromBinaryFresh", oursFromBinary<true>, peerFromBinary)

}  // namespace

int main(int argc, char** argv) { return numbrix_bench::runComparison(argc, argv); }
