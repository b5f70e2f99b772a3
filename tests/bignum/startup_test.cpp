// Start-up in a process of its own: the build places a bignum.ini in the working
// folder and CTest sets NPROCESSORS=3 and CACHEL1SIZE=16384 in the environment.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>

#include "bignum/init.h"
#include "bignum/storage.h"

namespace {

TEST(Startup, FileThenEnvironment) {
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
