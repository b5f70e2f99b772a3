// Test main for the number library: every test process works in a fresh
// temporary folder, because mantissas on disk are files in the current
// directory, and fails if any of them is left behind.
//
// NUMBRIX_TEST_SETTINGS="NAME=value,NAME=value" sets those environment
// variables before the library starts, so that one CTest property can carry
// several settings.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "support/TempDir.h"

int main(int argc, char** argv) {
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
  // A bignum.ini beside the test (placed there by the build) is taken along.
  if (std::filesystem::exists(home / "bignum.ini"))
    std::filesystem::copy_file(home / "bignum.ini", dir.path() / "bignum.ini");
  if (chdir(dir.path().c_str()) != 0) return 2;
  int result = RUN_ALL_TESTS();
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path().extension() == ".num") {
      std::cerr << "left behind: " << entry.path().filename() << "\n";
      result = 1;
    }
  }
  if (chdir(home.c_str()) != 0) return 2;
  return result;
}
