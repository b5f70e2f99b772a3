// Radix conversion against GMP: integers of up to about 300,000 digits and
// those at the edges of the word-by-word conversions and of the split points
// of both directions, to binary words and back, and to binary, octal and
// hexadecimal digits and back. The suite also runs with long numbers on disk.
#include "bignum/radix.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bignum/cancel.h"
#include "bignum/init.h"
#include "bignum/scratch.h"

namespace {

using bignum::bigfloat;

std::vector<std::uint32_t> wordsOf(const mpz_class& v) {
  std::vector<std::uint32_t> words((mpz_sizeinbase(v.get_mpz_t(), 2) + 31) / 32);
  std::size_t count = 0;
  mpz_export(words.data(), &count, -1, 4, 0, 0, v.get_mpz_t());
  words.resize(count);
  return words;
}

std::vector<mpz_class> cases() {
  std::vector<mpz_class> values = {0, 1, 0xFFFFFFFFU, mpz_class(1) << 32, 1000000000};
  // Powers of 2^32 and their neighbours, with random numbers of as many
  // words, around the word-by-word sizes (176 and 1408 words) and the splits.
  gmp_randclass random(gmp_randinit_default);
  random.seed(20261207);
  for (const unsigned words : {176U, 177U, 352U, 1407U, 1408U, 1409U, 2816U, 2817U, 5633U, 12000U}) {
    const mpz_class power = mpz_class(1) << (32 * words);
    values.insert(values.end(), {power - 1, power, power + 1, random.get_z_bits(32 * words)});
  }
  mpz_class allNines;
  mpz_ui_pow_ui(allNines.get_mpz_t(), 10, 9 * 1507);
  values.push_back(allNines - 1);
  // Random lengths, evenly spread in their logarithm, and one of 300,000 digits.
  std::mt19937_64 rng(7);
  for (int i = 0; i < 12; ++i) {
    const auto digits = static_cast<std::size_t>(std::pow(10.0, std::uniform_real_distribution<>(0, 5.3)(rng)));
    std::string text(digits, '0');
    for (char& c : text) c = static_cast<char>('0' + rng() % 10);
    values.emplace_back(text + "7", 10);
  }
  values.push_back(random.get_z_bits(996578));
  return values;
}

// The conversions keep their powers, some on disk: each test frees them.
class Radix : public ::testing::Test {
 protected:
  void TearDown() override { bignum::clearRadixCache(); }
};

TEST_F(Radix, AgreesWithGmpBothWays) {
  // With tiny windows every long number is a file, and its products go
  // through files: the shorter ones only then.
  const std::size_t longest = bignum::limits().Memorythreshold < 1000 ? 12000 : 400000;
  for (const mpz_class& v : cases()) {
    const std::string decimal = v.get_str();
    if (decimal.size() > longest) continue;
    SCOPED_TRACE(decimal.size() > 40 ? std::to_string(decimal.size()) + " digits from " + decimal.substr(0, 20)
                                     : decimal);
    const bigfloat x(decimal.c_str(), bignum::INFINITE);
    const std::vector<std::uint32_t> words = wordsOf(v);
    ASSERT_TRUE(bignum::binaryWords(x) == words);
    ASSERT_TRUE(bignum::fromBinaryWords(words) == x);
    if (decimal.size() > 20000) continue;
    for (const int bits : {1, 3, 4}) {
      const std::string digits = v.get_str(1 << bits);
      std::string upper = digits;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      EXPECT_EQ(bignum::radixDigits(x, bits), upper) << bits;
      EXPECT_TRUE(bignum::fromRadixDigits("00" + digits, bits) == x) << bits;
    }
  }
}

// In a row, with the powers kept: the same length again, shorter ones with
// the same top split and shorter or longer quotients (which need the powers of
// five made anew), lower and higher levels; the powers then go with their files.
TEST_F(Radix, PowersKeptServeTheNextConversions) {
  gmp_randclass random(gmp_randinit_default);
  random.seed(11);
  const std::size_t files = bignum::scratchFilesInUse();
  for (const unsigned words : {4300U, 4300U, 5600U, 2900U, 5700U, 1500U, 5600U}) {
    const mpz_class v = random.get_z_bits(32 * words) | (mpz_class(1) << (32 * words - 1));
    const bigfloat x(v.get_str().c_str(), bignum::INFINITE);
    ASSERT_TRUE(bignum::binaryWords(x) == wordsOf(v)) << words;
    ASSERT_TRUE(bignum::fromBinaryWords(wordsOf(v)) == x) << words;
  }
  bignum::clearRadixCache();
  EXPECT_EQ(bignum::scratchFilesInUse(), files);
}

// Stopped at several points of both directions, from no powers kept: a stop
// leaves no file behind, and the powers it kept serve the next conversions.
TEST_F(Radix, StopsWhenAskedAndLeavesAllUsable) {
  const unsigned words = bignum::limits().Memorythreshold < 1000 ? 3000 : 110000;
  gmp_randclass random(gmp_randinit_default);
  random.seed(5);
  const mpz_class v = random.get_z_bits(32 * words);
  const bigfloat x(v.get_str().c_str(), bignum::INFINITE);
  const std::vector<std::uint32_t> binary = wordsOf(v);
  for (const int microseconds : {0, 1000, 4000, 10000, 20000, 40000, 80000}) {
    SCOPED_TRACE(microseconds);
    bignum::clearRadixCache();
    const std::size_t files = bignum::scratchFilesInUse();
    std::thread stopper([&] {
      std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
      bignum::requestCancel();
    });
    try {
      bignum::binaryWords(x);
      bignum::fromBinaryWords(binary);
    } catch (const bignum::Cancelled&) {
      // where the stop came; without one both ran to the end
    }
    stopper.join();
    EXPECT_THROW(bignum::binaryWords(x), bignum::Cancelled);
    EXPECT_THROW(bignum::fromBinaryWords(binary), bignum::Cancelled);
    bignum::clearCancel();
    ASSERT_TRUE(bignum::binaryWords(x) == binary);
    ASSERT_TRUE(bignum::fromBinaryWords(binary) == x);
    bignum::clearRadixCache();
    EXPECT_EQ(bignum::scratchFilesInUse(), files);
  }
}

TEST_F(Radix, RefusesWhatItCannotConvert) {
  const std::pair<std::function<void()>, const char*> refused[] = {
      {[] { bignum::binaryWords(bigfloat(-5)); }, "x.sign \\(\\) >= 0"},
      {[] { bignum::binaryWords(bigfloat("2.5", bignum::INFINITE)); }, "integer"},
      {[] { bignum::binaryWords(bigfloat("25", 18)); }, "prec == INFINITE"},
      {[] { bignum::radixDigits(bigfloat(5), 2); }, "bits 1, 3 or 4"},
      {[] { bignum::fromRadixDigits("102", 1); }, "radix digit"},
  };
  for (const auto& [convert, message] : refused) EXPECT_DEATH(convert(), message);
}

}  // namespace
