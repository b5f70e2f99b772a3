// Start-up in a process of its own: the build writes a bignum.ini into the
// folder NUMBRIX_STARTUP_SETTINGS and CTest sets NPROCESSORS=3 and
// CACHEL1SIZE=16384 in the environment.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "bignum/init.h"
#include "bignum/storage.h"
#include "support/TempDir.h"

namespace {

TEST(Startup, FileThenEnvironment) {
  ASSERT_TRUE(bignum::setSettingsFolder(NUMBRIX_STARTUP_SETTINGS));
  const bignum::Limits& l = bignum::limits();
  EXPECT_EQ(l.NProcessors, 3u) << "the environment overrides the file's 2";
  EXPECT_EQ(l.Memorythreshold, 4096u) << "MemoryThreshold in the file, in another letter case";
  EXPECT_EQ(l.Blocksize, 4096u) << "lowered to the threshold";
  EXPECT_EQ(l.Maxblocksize, 6291456u) << "ramsize 33 MiB: (34603008 - 2097152) / 4 rounded to 3 * 2^21";
  EXPECT_EQ(l.L1size, 4096u);
  EXPECT_EQ(l.Blockside, 64u);
}

TEST(Startup, WorkspaceIsAlignedAndStartIsOnce) {
  const bignum::Limits first = bignum::limits();
  const auto address = reinterpret_cast<std::uintptr_t>(bignum::workspace());
  EXPECT_NE(address, 0u);
  EXPECT_EQ(address % (first.Burst * 4), 0u);
  EXPECT_TRUE(bignum::init());
  EXPECT_EQ(bignum::workspace(), reinterpret_cast<std::uint32_t*>(address));
  // The whole workspace can be lent out and written.
  std::uint32_t* lent = bignum::allocateWords(first.Maxblocksize);
  EXPECT_EQ(lent, bignum::workspace());
  lent[0] = 1;
  lent[first.Maxblocksize - 1] = 2;
  bignum::releaseWords(lent, first.Maxblocksize);
}

struct Placement {
  const char* what;
  // Puts something named bignum.ini into `folder`; returns the settings folder to set.
  std::function<std::string(const TempDir& folder)> place;
  bool read;
};
void PrintTo(const Placement& placement, std::ostream* out) { *out << placement.what; }

class SettingsFiles : public ::testing::TestWithParam<Placement> {};

TEST_P(SettingsFiles, AreReadFromTheSettingsFolderWhenRegular) {
  writeBytes("bignum.ini", "memorythreshold = 555\n");  // the working folder's is never read
  TempDir folder;
  const std::string settings = GetParam().place(folder);
  alarm(10);  // a start that blocks ends the test instead of hanging it
  ASSERT_TRUE(bignum::setSettingsFolder(settings));
  const std::size_t threshold = bignum::limits().Memorythreshold;
  alarm(0);
  EXPECT_EQ(threshold, GetParam().read ? 777u : bignum::deriveLimits(bignum::Settings{}).Memorythreshold)
      << GetParam().what;
  std::filesystem::remove("bignum.ini");
}

const char* const kSettings = "memorythreshold = 777\n";

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsFiles,
    ::testing::Values(Placement{"a file in the settings folder",
                                [](const TempDir& folder) {
                                  writeBytes(folder.file("bignum.ini"), kSettings);
                                  return folder.path().string();
                                },
                                true},
                      Placement{"a link to a file",
                                [](const TempDir& folder) {
                                  writeBytes(folder.file("real.ini"), kSettings);
                                  std::filesystem::create_symlink("real.ini", folder.file("bignum.ini"));
                                  return folder.path().string();
                                },
                                true},
                      Placement{"no settings folder", [](const TempDir&) { return std::string(); }, false},
                      Placement{"a FIFO",
                                [](const TempDir& folder) {
                                  mkfifo(folder.file("bignum.ini").c_str(), 0600);
                                  return folder.path().string();
                                },
                                false},
                      Placement{"a folder",
                                [](const TempDir& folder) {
                                  std::filesystem::create_directory(folder.file("bignum.ini"));
                                  return folder.path().string();
                                },
                                false},
                      Placement{"settings past the first MiB",
                                [](const TempDir& folder) {
                                  writeBytes(folder.file("bignum.ini"),
                                             std::string(std::size_t{1} << 20, '#') + "\n" + kSettings);
                                  return folder.path().string();
                                },
                                false}));

TEST(Startup, SettingsChangeOnlyWhileNothingIsOnDiskOrLent) {
  TempDir folder;
  writeBytes(folder.file("bignum.ini"), kSettings);
  const std::size_t before = bignum::limits().Memorythreshold;
  {
    bignum::datastruct onDisk(1, nullptr, bignum::DISK);
    EXPECT_FALSE(bignum::setSettingsFolder(folder.path()));
  }
  std::uint32_t* lent = bignum::allocateWords(bignum::limits().Maxblocksize);
  EXPECT_FALSE(bignum::setSettingsFolder(folder.path()));
  EXPECT_EQ(bignum::limits().Memorythreshold, before);
  bignum::releaseWords(lent, bignum::limits().Maxblocksize);
  EXPECT_TRUE(bignum::setSettingsFolder(folder.path()));
  EXPECT_EQ(bignum::limits().Memorythreshold, 777u);
}

TEST(StartupDeathTest, AWorkspaceThatCannotBeAllocatedStopsTheProcess) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "address space limits do not mix with the address sanitizer";
#else
  auto startWithLittleMemory = [] {
    const rlimit small{std::size_t{256} << 20, std::size_t{256} << 20};
    setrlimit(RLIMIT_AS, &small);
    setenv("MAXBLOCKSIZE", "4000000000", 1);
    bignum::limits();
  };
  EXPECT_DEATH(startWithLittleMemory(), "!bignuminitok \\(source init\\)");
#endif
}

}  // namespace
