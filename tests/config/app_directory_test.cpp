// Where the program keeps its files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "config/AppDirectory.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// Sets (or with nullptr unsets) an environment variable for one test.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnvironment() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(ApplicationDirectory, ChoiceOfFolder) {
  TempDir dir;
  const fs::path program = dir.path() / "bin", xdg = dir.path() / "xdg", home = dir.path() / "home";
  fs::create_directories(program);
  ScopedEnvironment noHome("NUMBRIX_HOME", nullptr), config("XDG_CONFIG_HOME", xdg.c_str()), user("HOME", home.c_str());

  // An installed program without files of its own: the per-user folder, created.
  EXPECT_TRUE(applicationDirectory(program) == xdg / "numbrix" && fs::is_directory(xdg / "numbrix"));
  // A portable copy: the program's folder holds a Config or a Constant.
  std::ofstream(program / "Constant") << "Constant\n{\n}\n";
  EXPECT_EQ(applicationDirectory(program), program);
  // ... but only while it can be written.
  fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
  if (access(program.c_str(), W_OK) != 0) {  // root may write anyway
    EXPECT_EQ(applicationDirectory(program), xdg / "numbrix");
  }
  fs::permissions(program, fs::perms::owner_all);
  {
    fs::remove(program / "Constant");
    ScopedEnvironment chosen("NUMBRIX_HOME", (dir.path() / "chosen").c_str());
    std::ofstream(program / "Config") << "Settings\n{\n}\n";
    const fs::path chosenFolder = applicationDirectory(program);
    EXPECT_TRUE(chosenFolder == dir.path() / "chosen" && fs::is_directory(chosenFolder))
        << "the environment overrides all";
  }
}

// Relative values are not folders the program may use: without an absolute
// one there is no folder at all, and nothing is made under the working folder.
TEST(ApplicationDirectory, NoFolderWithoutAnAbsoluteHome) {
  TempDir dir, work;
  const std::string home = (dir.path() / "home").string(), xdg = (dir.path() / "xdg").string();
  // XDG_STATE_HOME takes the same value as XDG_CONFIG_HOME in each row.
  const struct {
    const char* xdg;
    const char* home;
    fs::path expected, state;
  } cases[] = {
      {nullptr, nullptr, {}, {}},
      {"", "", {}, {}},
      {"xdg", nullptr, {}, {}},
      {nullptr, "home", {}, {}},
      {"./xdg", "home", {}, {}},
      {"xdg", home.c_str(), fs::path(home) / ".config" / "numbrix", fs::path(home) / ".local" / "state" / "numbrix"},
      {nullptr, home.c_str(), fs::path(home) / ".config" / "numbrix", fs::path(home) / ".local" / "state" / "numbrix"},
      {xdg.c_str(), "home", fs::path(xdg) / "numbrix", fs::path(xdg) / "numbrix"},
  };
  const fs::path started = fs::current_path();
  fs::current_path(work.path());
  ScopedEnvironment noHome("NUMBRIX_HOME", nullptr);
  for (const auto& c : cases) {
    ScopedEnvironment config("XDG_CONFIG_HOME", c.xdg), state("XDG_STATE_HOME", c.xdg), user("HOME", c.home);
    const std::string row = std::string(c.xdg ? c.xdg : "(unset)") + ", " + (c.home ? c.home : "(unset)");
    EXPECT_EQ(applicationDirectory(dir.path() / "bin"), c.expected) << row;
    EXPECT_EQ(stateDirectory(), c.state) << row;
    EXPECT_TRUE(c.state.empty() || fs::is_directory(c.state)) << row;
    EXPECT_EQ(work.listing(), "") << row;
  }
  fs::current_path(started);
}

}  // namespace
