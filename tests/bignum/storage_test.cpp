// Mantissa storage. The suite runs twice: with the default limits and with
// small ones (see CMakeLists.txt), so that every routine also works across many
// windows. Sizes are therefore given relative to the limits in force.
#include "bignum/storage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "StorageWords.h"
#include "bignum/init.h"
#include "bignum/scratch.h"

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

// Overlapping windows of assorted lengths written in a shuffled order, a change
// made in a read window, and on disk the stream access, all read back. Empty
// storages have no data.
TEST(Storage, WrittenWordsReadBack) {
  for (const int location : {MEMORY, DISK}) {
    SCOPED_TRACE(location);
    datastruct empty(0, nullptr, location);
    EXPECT_EQ(empty.getreadwindow(0, 0), nullptr);
    empty.clearreadwindow();
    const std::size_t n = 3 * bignum::limits().Blocksize + 17;
    datastruct d(n, nullptr, location);
    auto words = randomWords(n, 1);
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
    d.getreadwindow(n - 1, 1)[0] = 42;
    d.writeback();
    words[n - 1] = 42;
    if (location == DISK) {
      const int fd = d.openstream();
      std::uint32_t part[10];
      bignum::streamRead(fd, 3, 10, part);
      EXPECT_TRUE(std::equal(part, part + 10, words.begin() + 3));
      std::fill(part, part + 10, 1u);
      bignum::streamWrite(fd, n - 10, 10, part);
      d.closestream();
      std::fill(words.end() - 10, words.end(), 1u);
    }
    EXPECT_EQ(wordsOf(d), words);
  }
}

TEST(Storage, TheWorkspaceIsLentAboveTheThreshold) {
  std::uint32_t* heap = bignum::allocateWords(threshold());
  EXPECT_FALSE(heap == bignum::workspace() || bignum::workspaceInUse());
  EXPECT_EQ(bignum::allocateWords(threshold() + 1), bignum::workspace());  // a second one dies: see below
  bignum::releaseWords(bignum::workspace(), threshold() + 1);
  EXPECT_FALSE(bignum::workspaceInUse()) << "free again";
  bignum::releaseWords(heap, threshold());
}

TEST(StorageDeathTest, PreconditionsStopTheProcess) {
  const std::size_t big = threshold() + 1;
  EXPECT_DEATH((bignum::allocateWords(big), bignum::allocateWords(big)), "!workspaceused \\(source modint\\)");
  EXPECT_DEATH(bignum::allocateWords(bignum::limits().Maxblocksize + 1), "size <= Maxblocksize");
  datastruct d(10, nullptr, MEMORY);
  EXPECT_DEATH((d.getreadwindow(0, 1), d.getreadwindow(1, 1)), "!gotdata \\(source storage\\)");
  EXPECT_DEATH(datastruct(10, nullptr, DISK).clearreadwindow(), "gotdata \\(source storage\\)");
  EXPECT_DEATH(d.openstream(), "location != MEMORY");
}

// Resizing and copying keep the leading words and add zeros, in memory and on disk.
TEST(Storage, ResizingAndCopyingKeepTheLeadingWords) {
  const std::size_t n = spanning(2, 9), half = n / 2;
  const auto words = randomWords(n, 2);
  const auto leading = [&](std::size_t count, std::size_t total) {
    std::vector<std::uint32_t> w(total, 0u);
    std::copy_n(words.begin(), std::min(count, total), w.begin());
    return w;
  };
  for (const int from : {MEMORY, DISK}) {
    SCOPED_TRACE(from);
    auto d = storageOf(words, from);
    for (const int to : {MEMORY, DISK}) {
      datastruct whole(*d, n, to, n), extended(*d, n - 7, to, 2 * n);
      EXPECT_TRUE(wordsOf(whole) == words && wordsOf(extended) == leading(n - 7, 2 * n)) << to;
    }
    datastruct cut(*d, 2 * n, DEFAULT, 3);  // count beyond the source: only what there is
    EXPECT_TRUE(cut.location() == from && wordsOf(cut) == leading(3, 3));
    d->resize(half);
    EXPECT_EQ(wordsOf(*d), leading(half, half));
    EXPECT_TRUE(from != DISK || std::filesystem::file_size(d->fileName()) == 4 * half);
    d->resize(n);
    EXPECT_EQ(wordsOf(*d), leading(half, n));
    d->resize(0);
    EXPECT_EQ(d->size(), 0u);
  }
}

// Storages longer than the threshold go to files named as the test main looks for.
TEST(Storage, RelocateMovesBetweenMemoryAndDisk) {
  EXPECT_TRUE(datastruct(threshold()).location() == MEMORY && datastruct(threshold() + 1).location() == DISK);
  const std::size_t n = threshold() / 2 + 5;
  const auto words = randomWords(n, 3);
  auto d = storageOf(words, MEMORY);
  d->relocate(DISK);
  ASSERT_EQ(d->location(), DISK);
  const std::string file = d->fileName();
  EXPECT_EQ(std::filesystem::path(file).extension(), ".num");
  EXPECT_EQ(wordsOf(*d), words);
  d->relocate(MEMORY, n + 3);  // growing adds zeros
  EXPECT_TRUE(d->location() == MEMORY && !std::filesystem::exists(file));
  auto grown = words;
  grown.resize(n + 3, 0u);
  EXPECT_EQ(wordsOf(*d), grown);
  d->relocate(DEFAULT, threshold() + 1);  // DEFAULT follows the new size
  EXPECT_EQ(d->location(), DISK);
  d->relocate(DEFAULT, 4);
  EXPECT_EQ(d->location(), MEMORY);
  grown.resize(4);
  EXPECT_EQ(wordsOf(*d), grown);
}

// Trailing zeros spanning more than one window, and none at all. (A fault in
// copyWords changes values, which the arithmetic sweeps against GMP see.)
TEST(Storage, TrailingZeroWordsAreCountedAcrossWindows) {
  const std::size_t block = bignum::limits().Blocksize;
  const std::size_t n = 3 * block + 4;
  auto words = randomWords(n, 5);
  std::fill(words.end() - static_cast<std::ptrdiff_t>(block + 2), words.end(), 0u);
  words[n - block - 3] = 7;
  auto zeros = storageOf(words, DISK);
  EXPECT_EQ(bignum::trailingZeroWords(*zeros, n), block + 2);
  EXPECT_EQ(bignum::trailingZeroWords(*zeros, n - block - 2), 0u);
  auto allZero = storageOf(std::vector<std::uint32_t>(n, 0u), MEMORY);
  EXPECT_EQ(bignum::trailingZeroWords(*allZero, n), n);
}

}  // namespace
