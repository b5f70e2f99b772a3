// Start-up in a process of its own: the build writes a bignum.ini into the
// folder NUMBRIX_STARTUP_SETTINGS and CTest sets NPROCESSORS=3 and
// CACHEL1SIZE=16384 in the environment. Also the reading of the settings and
// the limits derived from them, which no start-up changes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "bignum/init.h"
#include "bignum/storage.h"
#include "support/TempDir.h"

namespace {

TEST(Startup, FileThenEnvironment) {
  ASSERT_TRUE(bignum::setSettingsFolder(NUMBRIX_STARTUP_SETTINGS));
  const bignum::Limits& l = bignum::limits();
  // NPROCESSORS over the file's 2, MemoryThreshold in another letter case, ramsize 33 MiB:
  // (34603008 - 2097152) / 4 rounded to 3 * 2^21, and CACHEL1SIZE from the environment.
  EXPECT_EQ(std::to_string(l.NProcessors) + " " + std::to_string(l.Memorythreshold) + " " +
                std::to_string(l.Maxblocksize) + " " + std::to_string(l.L1size),
            "3 4096 6291456 4096");
}

TEST(Startup, WorkspaceIsAlignedAndStartIsOnce) {
  const bignum::Limits first = bignum::limits();
  std::uint32_t* const start = bignum::workspace();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(start) % (first.Burst * 4), 0u);
  EXPECT_TRUE(bignum::init());
  EXPECT_EQ(bignum::workspace(), start);
  std::uint32_t* lent = bignum::allocateWords(first.Maxblocksize);  // the whole of it can be written
  lent[first.Maxblocksize - 1] = lent[0] = 1;
  bignum::releaseWords(lent, first.Maxblocksize);
}

const char* const kSettings = "memorythreshold = 777\n";

// The settings folder's bignum.ini is read when it is a regular file or a link
// to one, and only its first MiB; a FIFO (which would block the start) or a
// folder is not opened, nor is the working folder's file.
TEST(Startup, SettingsFilesAreReadOnlyWhenRegular) {
  static const struct {
    const char* what;
    void (*place)(const std::string& ini);  // makes something at `ini`; null: no settings folder
    bool read;
  } cases[] = {
      {"a file", [](const std::string& ini) { writeBytes(ini, kSettings); }, true},
      {"a link to a file",
       [](const std::string& ini) {
         writeBytes(ini + ".real", kSettings);
         std::filesystem::create_symlink("bignum.ini.real", ini);
       },
       true},
      {"no settings folder", nullptr, false},
      {"a FIFO", [](const std::string& ini) { mkfifo(ini.c_str(), 0600); }, false},
      {"a folder", [](const std::string& ini) { std::filesystem::create_directory(ini); }, false},
      {"settings past the first MiB",
       [](const std::string& ini) { writeBytes(ini, std::string(std::size_t{1} << 20, '#') + "\n" + kSettings); },
       false}};
  writeBytes("bignum.ini", "memorythreshold = 555\n");
  const std::size_t defaults = bignum::deriveLimits(bignum::Settings{}).Memorythreshold;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir folder;
    if (c.place != nullptr) c.place(folder.file("bignum.ini"));
    alarm(10);  // a start that blocks ends the test instead of hanging it
    ASSERT_TRUE(bignum::setSettingsFolder(c.place != nullptr ? folder.path().string() : std::string()));
    const std::size_t threshold = bignum::limits().Memorythreshold;
    alarm(0);
    EXPECT_EQ(threshold, c.read ? 777u : defaults);
  }
  std::filesystem::remove("bignum.ini");
}

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
  EXPECT_TRUE(bignum::setSettingsFolder(folder.path()) && bignum::limits().Memorythreshold == 777u);
}

// --- the settings file, the environment over it and the derived limits ----

using bignum::Limits;
using bignum::Settings;

// Stand-in environment for readSettingsEnvironment().
std::map<std::string, std::string> fakeEnvironment;
const char* fakeLookup(const char* name) {
  auto it = fakeEnvironment.find(name);
  return it == fakeEnvironment.end() ? nullptr : it->second.c_str();
}

Settings fromFile(const std::string& text) {
  Settings settings;
  std::istringstream in(text);
  bignum::readSettingsFile(in, settings);
  return settings;
}

TEST(Settings, FileLinesGiveKeyAndValue) {
  static const struct {
    const char* text;
    std::uint32_t Settings::*field;
    std::uint32_t expected;
  } cases[] = {{"NProcessors=4\n", &Settings::nprocessors, 4},
               {"  RAMSIZE\t=  67108864 bytes\r\n", &Settings::ramsize, 67108864},
               {"cacheburst = +64", &Settings::cacheburst, 64},
               {"blocksize extra words = 100", &Settings::blocksize, 100},  // the key is the first word
               {"= 5\nnprocessors\n", &Settings::nprocessors, 1},           // no key, no '='
               {"nprocessors = two", &Settings::nprocessors, 1},
               {"nprocessors = -3", &Settings::nprocessors, 1},          // not an unsigned number
               {"ramsize = 99999999999", &Settings::ramsize, 16777216},  // does not fit 32 bits
               {"unknown = 7\nmemorythreshold = 1000\nmemorythreshold = 2000", &Settings::memorythreshold, 2000},
               {"cachel1size = 16384 = 5", &Settings::cachel1size, 16384},
               {"cachel2size=524288", &Settings::cachel2size, 524288}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(fromFile(c.text).*c.field, c.expected);
  }
}

TEST(Settings, LimitsFollowTheSettings) {
  static const struct {
    const char* what;
    std::map<std::string, std::string> environment;
    std::size_t Limits::*field;
    std::size_t expected;
  } cases[] = {
      {"64 MiB of memory: 3 * 2^22 words", {{"RAMSIZE", "67108864"}}, &Limits::Maxblocksize, 12582912},
      {"over RAMSIZE", {{"MAXBLOCKSIZE", "4194304"}, {"RAMSIZE", "67108864"}}, &Limits::Maxblocksize, 1048576},
      {"a text that is not a number leaves the 16 MiB", {{"RAMSIZE", "lots"}}, &Limits::Maxblocksize, 3145728},
      {"blanks before a number", {{"BLOCKSIZE", " 512"}}, &Limits::Blocksize, 512},
      {"blocksize is lowered to the threshold", {{"MEMORYTHRESHOLD", "1000"}}, &Limits::Blocksize, 1000},
      {"L1 is lowered to a power of two within the threshold", {{"MEMORYTHRESHOLD", "1000"}}, &Limits::L1size, 512},
      {"block side for 64 KiB of L1", {{"CACHEL1SIZE", "65536"}}, &Limits::Blockside, 128},
      // Settings that would stop the library are raised to what works.
      {"less memory than the reserve", {{"RAMSIZE", "1000"}}, &Limits::Maxblocksize, 8192},
      {"no first-level cache", {{"CACHEL1SIZE", "0"}}, &Limits::Blockside, 1},
      {"no first-level cache", {{"CACHEL1SIZE", "0"}}, &Limits::L1size, 1},
      {"a burst below a word", {{"CACHEBURST", "3"}}, &Limits::Burst, 1},
      {"zero threshold", {{"MEMORYTHRESHOLD", "0"}}, &Limits::Memorythreshold, 1},
      {"zero block size", {{"BLOCKSIZE", "0"}}, &Limits::Blocksize, 1},
      {"no processors", {{"NPROCESSORS", "0"}}, &Limits::NProcessors, 1},
      {"a silly number of processors", {{"NPROCESSORS", "100000"}}, &Limits::NProcessors, 64}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Settings settings;
    fakeEnvironment = c.environment;
    bignum::readSettingsEnvironment(settings, fakeLookup);
    EXPECT_EQ(bignum::deriveLimits(settings).*c.field, c.expected);
  }
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
