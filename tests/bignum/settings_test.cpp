#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "bignum/init.h"

namespace {

using bignum::deriveLimits;
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

TEST(Settings, DefaultsGiveTheDocumentedLimits) {
  const Limits l = deriveLimits(Settings{});
  EXPECT_EQ(l.Maxblocksize, 3145728u);
  EXPECT_EQ(l.Memorythreshold, 16384u);
  EXPECT_EQ(l.Blocksize, 16384u);
  EXPECT_EQ(l.NProcessors, 1u);
  EXPECT_EQ(l.L1size, 2048u);
  EXPECT_EQ(l.L2size, 65536u);
  EXPECT_EQ(l.Burst, 8u);
  EXPECT_EQ(l.Blockside, 32u);
}

struct FileCase {
  const char* text;
  std::uint32_t Settings::*field;
  std::uint32_t expected;
};

class SettingsFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(SettingsFile, ReadsKeyAndValue) {
  EXPECT_EQ(fromFile(GetParam().text).*GetParam().field, GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsFile,
    ::testing::Values(FileCase{"NProcessors = 4\n", &Settings::nprocessors, 4},
                      FileCase{"nprocessors=4", &Settings::nprocessors, 4},
                      FileCase{"  RAMSIZE\t=  67108864 bytes\r\n", &Settings::ramsize, 67108864},
                      FileCase{"cacheburst = +64", &Settings::cacheburst, 64},
                      FileCase{"blocksize extra words = 100", &Settings::blocksize, 100},  // the key is the first word
                      FileCase{"= 5\nnprocessors\n", &Settings::nprocessors, 1},           // no key, no '='
                      FileCase{"nprocessors = two", &Settings::nprocessors, 1},
                      FileCase{"nprocessors = -3", &Settings::nprocessors, 1},          // not an unsigned number
                      FileCase{"ramsize = 99999999999", &Settings::ramsize, 16777216},  // does not fit 32 bits
                      FileCase{"unknown = 7\nmemorythreshold = 1000\nmemorythreshold = 2000",
                               &Settings::memorythreshold, 2000},
                      FileCase{"cachel1size = 16384 = 5", &Settings::cachel1size, 16384},
                      FileCase{"cachel2size=524288", &Settings::cachel2size, 524288}));

TEST(Settings, EnvironmentOverridesTheFile) {
  Settings settings = fromFile("nprocessors = 4\nramsize = 33554432\n");
  fakeEnvironment = {{"NPROCESSORS", "2"}, {"RAMSIZE", "lots"}, {"BLOCKSIZE", " 512"}};
  bignum::readSettingsEnvironment(settings, fakeLookup);
  EXPECT_EQ(settings.nprocessors, 2u);
  EXPECT_EQ(settings.ramsize, 33554432u) << "a text that is not a number leaves the setting";
  EXPECT_EQ(settings.blocksize, 512u);
  EXPECT_FALSE(settings.hasMaxblocksize);
}

struct Derived {
  const char* what;
  std::map<std::string, std::string> environment;
  std::size_t Limits::*field;
  std::size_t expected;
};

class DerivedLimits : public ::testing::TestWithParam<Derived> {};

TEST_P(DerivedLimits, FollowTheSettings) {
  Settings settings;
  fakeEnvironment = GetParam().environment;
  bignum::readSettingsEnvironment(settings, fakeLookup);
  EXPECT_EQ(deriveLimits(settings).*GetParam().field, GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DerivedLimits,
    ::testing::Values(
        Derived{"64 MiB of memory: 3 * 2^22 words", {{"RAMSIZE", "67108864"}}, &Limits::Maxblocksize, 12582912},
        Derived{"MAXBLOCKSIZE 4000000: 3 * 2^18", {{"MAXBLOCKSIZE", "4000000"}}, &Limits::Maxblocksize, 786432},
        Derived{"MAXBLOCKSIZE wins over RAMSIZE",
                {{"MAXBLOCKSIZE", "4194304"}, {"RAMSIZE", "67108864"}},
                &Limits::Maxblocksize,
                1048576},
        Derived{"blocksize is lowered to the threshold", {{"MEMORYTHRESHOLD", "1000"}}, &Limits::Blocksize, 1000},
        Derived{"L1 is lowered to a power of two within the threshold",
                {{"MEMORYTHRESHOLD", "1000"}},
                &Limits::L1size,
                512},
        Derived{"block side for 64 KiB of L1", {{"CACHEL1SIZE", "65536"}}, &Limits::Blockside, 128},
        Derived{"burst of 64 bytes", {{"CACHEBURST", "64"}}, &Limits::Burst, 16},
        // Settings that would stop the library are raised to what works.
        Derived{"less memory than the reserve", {{"RAMSIZE", "1000"}}, &Limits::Maxblocksize, 8192},
        Derived{"no first-level cache", {{"CACHEL1SIZE", "0"}}, &Limits::Blockside, 1},
        Derived{"no first-level cache", {{"CACHEL1SIZE", "0"}}, &Limits::L1size, 1},
        Derived{"a burst below a word", {{"CACHEBURST", "3"}}, &Limits::Burst, 1},
        Derived{"zero threshold", {{"MEMORYTHRESHOLD", "0"}}, &Limits::Memorythreshold, 1},
        Derived{"zero block size", {{"BLOCKSIZE", "0"}}, &Limits::Blocksize, 1},
        Derived{"no processors", {{"NPROCESSORS", "0"}}, &Limits::NProcessors, 1},
        Derived{"a silly number of processors", {{"NPROCESSORS", "100000"}}, &Limits::NProcessors, 64}));

TEST(Settings, DigitTable) {
  for (int c = 0; c < 256; ++c) {
    int expected = 256;
    for (int d = 0; d < 36; ++d)
      if (bignum::digitChars[d] == c || (d >= 10 && bignum::digitChars[d] + ('a' - 'A') == c)) expected = d;
    EXPECT_EQ(bignum::digitValue(static_cast<unsigned char>(c)), expected) << c;
  }
}

}  // namespace
