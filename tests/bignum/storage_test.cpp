// Mantissa storage. The suite runs twice: with the default limits and with
// small ones (see CMakeLists.txt), so that every routine also works across many
// windows. Sizes are therefore given relative to the limits in force.
#include "bignum/storage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <random>
#include <vector>

#include "StorageWords.h"
#include "bignum/init.h"
#include "bignum/scratch.h"
#include "support/TempDir.h"

namespace {

using bignum::datastruct;
using bignum::DEFAULT;
using bignum::DISK;
using bignum::MEMORY;

std::size_t threshold() { return bignum::limits().Memorythreshold; }

// A length that spans a few windows but, with two such storages alive, never
// needs the one workspace twice.
std::size_t spanning(std::size_t windows, std::size_t extra) {
  return std::min(windows * bignum::limits().Blocksize + extra, threshold() / 2);
}

std::vector<std::uint32_t> randomWords(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint32_t> words(n);
  for (auto& w : words) w = rng() % 1000000000u;
  return words;
}

TEST(Storage, LongMantissasGoToNumberedFiles) {
  datastruct inMemory(threshold());
  EXPECT_EQ(inMemory.location(), MEMORY);

  const std::filesystem::path file = [] {
    datastruct onDisk(threshold() + 1);
    EXPECT_EQ(onDisk.location(), DISK);
    const std::filesystem::path path = onDisk.fileName();
    EXPECT_EQ(path.parent_path(), bignum::scratchFolder());
    EXPECT_EQ(path.filename().string().size(), 12u);
    EXPECT_EQ(path.extension(), ".num");
    EXPECT_EQ(std::filesystem::file_size(path), 4 * (threshold() + 1)) << "4 bytes a word";
    EXPECT_EQ(wordsOf(onDisk), std::vector<std::uint32_t>(threshold() + 1, 0u));
    return path;
  }();
  EXPECT_FALSE(std::filesystem::exists(file)) << "the file goes with its storage";

  datastruct next(1, nullptr, DISK);
  EXPECT_EQ(std::stoul(std::filesystem::path(next.fileName()).filename()), std::stoul(file.filename()) + 1)
      << "numbers are not reused";
}

TEST(Storage, DiskFilesHoldLittleEndianWords) {
  auto d = storageOf({0x01020304u, 999999999u, 0u}, DISK);
  const std::string bytes = readBytes(d->fileName());
  EXPECT_EQ(bytes, std::string("\x04\x03\x02\x01\xff\xc9\x9a\x3b\x00\x00\x00\x00", 12));
}

TEST(Storage, ZeroSizeHasNoData) {
  datastruct empty(0, nullptr, MEMORY);
  EXPECT_EQ(empty.memoryData(), nullptr);
  EXPECT_EQ(empty.getreadwindow(0, 0), nullptr);
  empty.clearreadwindow();
  datastruct emptyOnDisk(0, nullptr, DISK);
  EXPECT_TRUE(wordsOf(emptyOnDisk).empty());
}

class Windows : public ::testing::TestWithParam<int> {};

TEST_P(Windows, WrittenWordsReadBack) {
  const std::size_t n = 3 * bignum::limits().Blocksize + 17;
  datastruct d(n, nullptr, GetParam());
  const auto words = randomWords(n, 1);
  // Overlapping windows of assorted lengths, written in a shuffled order.
  const std::size_t cuts[] = {0, 5, n / 3, n / 2 + 1, n - 1, n};
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t c = pass; c + 1 < std::size(cuts); c += 2) {
      std::uint32_t* w = d.getwritewindow(cuts[c], cuts[c + 1] - cuts[c]);
      std::copy(words.begin() + static_cast<std::ptrdiff_t>(cuts[c]),
                words.begin() + static_cast<std::ptrdiff_t>(cuts[c + 1]), w);
      d.writeback();
    }
  }
  EXPECT_EQ(wordsOf(d), words);
  // Changes made in a read window are stored by writeback() too.
  d.getreadwindow(n - 1, 1)[0] = 42;
  d.writeback();
  EXPECT_EQ(d.getreadwindow(n - 1, 1)[0], 42u);
  d.clearreadwindow();
}

INSTANTIATE_TEST_SUITE_P(Both, Windows, ::testing::Values(MEMORY, DISK));

TEST(Storage, TheWorkspaceIsLentAboveTheThreshold) {
  std::uint32_t* heap = bignum::allocateWords(threshold());
  EXPECT_NE(heap, bignum::workspace());
  EXPECT_FALSE(bignum::workspaceInUse());
  std::uint32_t* lent = bignum::allocateWords(threshold() + 1);
  EXPECT_EQ(lent, bignum::workspace());
  EXPECT_TRUE(bignum::workspaceInUse());
  bignum::releaseWords(lent, threshold() + 1);
  EXPECT_FALSE(bignum::workspaceInUse());
  EXPECT_EQ(bignum::allocateWords(threshold() + 1), bignum::workspace()) << "free again";
  bignum::releaseWords(bignum::workspace(), threshold() + 1);
  bignum::releaseWords(heap, threshold());
}

TEST(StorageDeathTest, PreconditionsStopTheProcess) {
  const std::size_t big = threshold() + 1;
  EXPECT_DEATH(
      {
        bignum::allocateWords(big);
        bignum::allocateWords(big);
      },
      "!workspaceused \\(source modint\\)");
  EXPECT_DEATH(bignum::allocateWords(bignum::limits().Maxblocksize + 1), "size <= Maxblocksize");
  EXPECT_DEATH(
      {
        datastruct d(10, nullptr, MEMORY);
        d.getreadwindow(0, 1);
        d.getreadwindow(1, 1);
      },
      "!gotdata \\(source storage\\)");
  EXPECT_DEATH(
      {
        datastruct d(10, nullptr, DISK);
        d.clearreadwindow();
      },
      "gotdata \\(source storage\\)");
  EXPECT_DEATH(
      {
        datastruct d(10, nullptr, MEMORY);
        d.openstream();
      },
      "location != MEMORY");
}

class Resizing : public ::testing::TestWithParam<int> {};

TEST_P(Resizing, KeepsTheLeadingWordsAndAddsZeros) {
  const std::size_t n = spanning(2, 3);
  const auto words = randomWords(n, 2);
  auto d = storageOf(words, GetParam());
  d->resize(n / 2);
  EXPECT_EQ(wordsOf(*d), std::vector<std::uint32_t>(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(n / 2)));
  if (GetParam() == DISK) {
    EXPECT_EQ(std::filesystem::file_size(d->fileName()), 4 * (n / 2));
  }
  d->resize(n);
  auto expected = words;
  std::fill(expected.begin() + static_cast<std::ptrdiff_t>(n / 2), expected.end(), 0u);
  EXPECT_EQ(wordsOf(*d), expected);
  d->resize(0);
  EXPECT_EQ(d->size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Both, Resizing, ::testing::Values(MEMORY, DISK));

TEST(Storage, RelocateMovesBetweenMemoryAndDisk) {
  const std::size_t n = threshold() / 2 + 5;
  const auto words = randomWords(n, 3);
  auto d = storageOf(words, MEMORY);
  d->relocate(DISK);
  ASSERT_EQ(d->location(), DISK);
  const std::string file = d->fileName();
  EXPECT_EQ(std::filesystem::file_size(file), 4 * n);
  EXPECT_EQ(wordsOf(*d), words);

  d->relocate(MEMORY, n + 3);  // growing adds zeros
  EXPECT_EQ(d->location(), MEMORY);
  EXPECT_FALSE(std::filesystem::exists(file));
  auto grown = words;
  grown.resize(n + 3, 0u);
  EXPECT_EQ(wordsOf(*d), grown);

  d->relocate(DEFAULT, threshold() + 1);  // DEFAULT follows the new size
  EXPECT_EQ(d->location(), DISK);
  d->relocate(DEFAULT, 4);
  EXPECT_EQ(d->location(), MEMORY);
  EXPECT_EQ(wordsOf(*d), std::vector<std::uint32_t>(words.begin(), words.begin() + 4));
}

struct CopyCase {
  int from, to;
};

class Copying : public ::testing::TestWithParam<CopyCase> {};

TEST_P(Copying, CopiesTheLeadingWordsAndExtendsWithZeros) {
  const std::size_t n = spanning(2, 9);
  const auto words = randomWords(n, 4);
  auto source = storageOf(words, GetParam().from);
  datastruct whole(*source, n, GetParam().to, n);
  EXPECT_EQ(wordsOf(whole), words);
  datastruct extended(*source, n - 7, GetParam().to, 2 * n);
  auto expected = std::vector<std::uint32_t>(2 * n, 0u);
  std::copy(words.begin(), words.end() - 7, expected.begin());
  EXPECT_EQ(wordsOf(extended), expected);
  datastruct cut(*source, 2 * n, DEFAULT, 3);  // count beyond the source: only what there is
  EXPECT_EQ(cut.location(), GetParam().from);
  EXPECT_EQ(wordsOf(cut), std::vector<std::uint32_t>(words.begin(), words.begin() + 3));
}

INSTANTIATE_TEST_SUITE_P(AllWays, Copying,
                         ::testing::Values(CopyCase{MEMORY, MEMORY}, CopyCase{MEMORY, DISK}, CopyCase{DISK, MEMORY},
                                           CopyCase{DISK, DISK}));

TEST(Storage, WordRoutinesWorkAcrossWindows) {
  const std::size_t block = bignum::limits().Blocksize;
  const std::size_t n = 3 * block + 4;
  auto words = randomWords(n, 5);
  auto source = storageOf(words, DISK);
  datastruct target(n + 10, nullptr, DISK);
  bignum::copyWords(target, 10, *source, 0, n);
  auto expected = std::vector<std::uint32_t>(10, 0u);
  expected.insert(expected.end(), words.begin(), words.end());
  EXPECT_EQ(wordsOf(target), expected);

  // Trailing zeros spanning more than one window, and none at all.
  std::fill(words.end() - static_cast<std::ptrdiff_t>(block + 2), words.end(), 0u);
  words[n - block - 3] = 7;
  auto zeros = storageOf(words, DISK);
  EXPECT_EQ(bignum::trailingZeroWords(*zeros, n), block + 2);
  EXPECT_EQ(bignum::trailingZeroWords(*zeros, n - block - 2), 0u);
  auto allZero = storageOf(std::vector<std::uint32_t>(n, 0u), MEMORY);
  EXPECT_EQ(bignum::trailingZeroWords(*allZero, n), n);
}

TEST(Storage, StreamAccessSeesTheSameWords) {
  const auto words = randomWords(100, 6);
  auto d = storageOf(words, DISK);
  const int fd = d->openstream();
  std::uint32_t part[10];
  bignum::streamRead(fd, 50, 10, part);
  EXPECT_TRUE(std::equal(part, part + 10, words.begin() + 50));
  for (auto& w : part) w = 1;
  bignum::streamWrite(fd, 90, 10, part);
  d->closestream();
  auto expected = words;
  std::fill(expected.begin() + 90, expected.end(), 1u);
  EXPECT_EQ(wordsOf(*d), expected);
}

}  // namespace
