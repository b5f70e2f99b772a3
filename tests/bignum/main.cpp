// Test main for the number library: every test process works in a fresh
// temporary folder, which is also its TMPDIR, and fails if a file of a mantissa
// is left behind. NUMBRIX_TEST_SETTINGS="NAME=value,NAME=value" sets those
// environment variables before the library starts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "bignum/functions.h"
#include "bignum/radix.h"
#include "bignum/scratch.h"
#include "support/TempDir.h"

namespace {

int run(int argc, char** argv) {
  if (const char* settings = std::getenv("NUMBRIX_TEST_SETTINGS")) {
    std::istringstream list(settings);
    for (std::string item; std::getline(list, item, ',');) {
      const auto equals = item.find('=');
      if (equals != std::string::npos) setenv(item.substr(0, equals).c_str(), item.substr(equals + 1).c_str(), 1);
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::filesystem::path home = std::filesystem::current_path();
  TempDir dir;
  setenv("TMPDIR", dir.path().c_str(), 1);
  if (chdir(dir.path().c_str()) != 0) return 2;
  int result = RUN_ALL_TESTS();
  // The caches of pi, e, the logarithms and the radix powers keep their
  // numbers, on disk when long: they go first, and then no file may be left.
  bignum::clearFunctionCaches();
  bignum::clearRadixCache();
  // Death tests run in children of their own, which leave their folders inside this one.
  for (const std::string& folder : {dir.path().string(), bignum::scratchFolder()}) {
    if (folder.empty()) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() == ".num") {
        std::cerr << "left behind: " << entry.path() << "\n";
        result = 1;
      }
    }
  }
  if (bignum::scratchFilesInUse() != 0) {
    std::cerr << "files of mantissas still in use: " << bignum::scratchFilesInUse() << "\n";
    result = 1;
  }
  if (chdir(home.c_str()) != 0) return 2;
  return result;
}

}  // namespace

// An exception out of the set-up ends the run with a failure, as it should.
int main(int argc, char** argv) { return run(argc, argv); }  // NOLINT(bugprone-exception-escape)
