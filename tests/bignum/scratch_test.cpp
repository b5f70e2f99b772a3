// The private folder of the mantissas on disk: where it is, that it goes with
// its process (or with the next one, after SIGKILL), and that a disk that
// cannot take a number makes an error, after which computing goes on. Run with
// a small memory threshold (see CMakeLists.txt), so that numbers of a few
// thousand digits live on disk; the test main makes TMPDIR a folder of its own.
#include "bignum/scratch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "DiskWork.h"
#include "bignum/resource_error.h"
#include "bignum/storage.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using bignum::bigfloat;

// scratch_child with `arguments`, started in `folder`, its output on a pipe.
class Child {
 public:
  Child(std::vector<std::string> arguments, const fs::path& folder) {
    arguments.insert(arguments.begin(), NUMBRIX_SCRATCH_CHILD);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(pipeEnds[1], STDOUT_FILENO);
      close(pipeEnds[0]);
      close(pipeEnds[1]);
      if (chdir(folder.c_str()) == 0) execv(argv[0], argv.data());
      _exit(127);
    }
    close(pipeEnds[1]);
    out_ = fdopen(pipeEnds[0], "r");
  }
  ~Child() {
    if (!waited_) {
      kill(pid_, SIGKILL);
      wait();
    }
    std::fclose(out_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // The next line of its output, without the line end.
  std::string line() {
    std::string text;
    for (int c = std::fgetc(out_); c != EOF && c != '\n'; c = std::fgetc(out_)) text += static_cast<char>(c);
    return text;
  }
  void signal(int number) { kill(pid_, number); }
  // Its status, as waitpid() gives it.
  int wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    waited_ = true;
    return status;
  }

 private:
  pid_t pid_;
  std::FILE* out_;
  bool waited_ = false;
};

TEST(ScratchFolder, IsPrivateAndLeavesTheWorkingFolderAlone) {
  // Names that numbers on disk once took in the working folder: a file of
  // someone's and a link to another one.
  TempDir elsewhere;
  writeBytes("00000000.num", "keep me");
  writeBytes(elsewhere.file("target"), "precious");
  fs::create_symlink(elsewhere.file("target"), "00000001.num");
  {
    const bigfloat x = diskNumber(1), square = x * x;
    ASSERT_EQ(x.record()->location(), bignum::DISK);
    const fs::path folder = bignum::scratchFolder();
    EXPECT_EQ(fs::path(square.record()->fileName()).parent_path(), folder);
    EXPECT_EQ(folder.parent_path(), std::getenv("TMPDIR"));
    EXPECT_EQ(folder.filename().string().rfind("numbrix-" + std::to_string(getpid()) + "-", 0), 0u);
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0700u);
  }
  EXPECT_EQ(readBytes("00000000.num"), "keep me");
  EXPECT_EQ(readBytes(elsewhere.file("target")), "precious");
  EXPECT_TRUE(fs::is_symlink("00000001.num"));
  fs::remove("00000000.num");
  fs::remove("00000001.num");
}

TEST(ScratchFolder, TwoProcessesInOneWorkingFolderBothSucceed) {
  TempDir shared;
  Child first({"once", "1"}, shared.path()), second({"once", "2"}, shared.path());
  const std::string one = first.line(), two = second.line();
  EXPECT_EQ(first.wait(), 0);
  EXPECT_EQ(second.wait(), 0);
  EXPECT_EQ(one, diskWork(1, 40));
  EXPECT_EQ(two, diskWork(2, 40));
}

struct Ending {
  int signal;
  bool folderStays;  // until the next process makes its folder
};
void PrintTo(const Ending& ending, std::ostream* out) { *out << "signal " << ending.signal; }

class Endings : public ::testing::TestWithParam<Ending> {};

TEST_P(Endings, TakeTheFolderAlongOrLeaveItToTheNextStart) {
  const bigfloat own = diskNumber(0);
  const fs::path ownFolder = bignum::scratchFolder();
  Child child({"loop"}, fs::current_path());
  const fs::path folder = child.line();
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // well into its computations
  child.signal(GetParam().signal);
  const int status = child.wait();
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), GetParam().signal) << "the exit status still names the signal";
  EXPECT_EQ(fs::exists(folder), GetParam().folderStays);
  Child next({"once", "3"}, fs::current_path());
  EXPECT_EQ(next.line(), diskWork(3, 40));
  EXPECT_EQ(next.wait(), 0);
  EXPECT_FALSE(fs::exists(folder)) << "the next start removes what is left";
  EXPECT_TRUE(fs::is_directory(ownFolder)) << "the folder of a live process stays";
}

INSTANTIATE_TEST_SUITE_P(Signals, Endings,
                         ::testing::Values(Ending{SIGTERM, false}, Ending{SIGINT, false}, Ending{SIGKILL, true}));

pid_t goneProcess() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

struct Leftover {
  const char* what;
  // Makes the entry under the temporary root; the pid is that of a process that has ended.
  std::function<fs::path(const fs::path& root, pid_t gone, const TempDir& elsewhere)> make;
  bool removed;
};
void PrintTo(const Leftover& leftover, std::ostream* out) { *out << leftover.what; }

fs::path folderWithAFile(const fs::path& folder) {
  fs::create_directory(folder);
  writeBytes((folder / "00000000.num").string(), "words");
  return folder;
}

class Leftovers : public ::testing::TestWithParam<Leftover> {};

TEST_P(Leftovers, OnlyFoldersOfGoneProcessesOfThisUserAreRemoved) {
  const fs::path root = std::getenv("TMPDIR");
  TempDir elsewhere;
  writeBytes(elsewhere.file("precious"), "precious");
  const fs::path entry = GetParam().make(root, goneProcess(), elsewhere);
  if (entry.empty()) GTEST_SKIP() << "needs root";
  bignum::removeOrphanedScratchFolders();
  EXPECT_EQ(fs::exists(fs::symlink_status(entry)), !GetParam().removed) << GetParam().what;
  EXPECT_EQ(readBytes(elsewhere.file("precious")), "precious") << "nothing is followed";
  std::error_code ignored;
  fs::remove_all(entry, ignored);
}

std::string named(pid_t pid, const char* end) { return "numbrix-" + std::to_string(pid) + "-" + end; }

INSTANTIATE_TEST_SUITE_P(Rules, Leftovers,
                         ::testing::Values(Leftover{"a folder of a process that is gone",
                                                    [](const fs::path& root, pid_t gone, const TempDir&) {
                                                      return folderWithAFile(root / named(gone, "Ab3dE9"));
                                                    },
                                                    true},
                                           Leftover{"a folder of a live process",
                                                    [](const fs::path& root, pid_t, const TempDir&) {
                                                      return folderWithAFile(root / named(getppid(), "Ab3dE9"));
                                                    },
                                                    false},
                                           Leftover{"a folder of another user",
                                                    [](const fs::path& root, pid_t gone, const TempDir&) {
                                                      if (geteuid() != 0) return fs::path();
                                                      const fs::path folder =
                                                          folderWithAFile(root / named(gone, "Ab3dE9"));
                                                      if (chown(folder.c_str(), 65534, 65534) != 0) return fs::path();
                                                      return folder;
                                                    },
                                                    false},
                                           Leftover{"a link to a folder, named as one of a gone process",
                                                    [](const fs::path& root, pid_t gone, const TempDir& elsewhere) {
                                                      const fs::path link = root / named(gone, "Ab3dE9");
                                                      fs::create_directory_symlink(elsewhere.path(), link);
                                                      return link;
                                                    },
                                                    false},
                                           Leftover{"a folder whose name only looks alike",
                                                    [](const fs::path& root, pid_t gone, const TempDir&) {
                                                      return folderWithAFile(root / named(gone, "Ab3"));
                                                    },
                                                    false}));

struct Failing {
  const char* what;
  std::function<bigfloat(const bigfloat& x, const bigfloat& y)> compute;
  unsigned digits = 3000;  // of the operands
};
void PrintTo(const Failing& failing, std::ostream* out) { *out << failing.what; }

bigfloat cut(bigfloat x, long digits) { return x.prec(digits); }

class Failures : public ::testing::TestWithParam<Failing> {};

TEST_P(Failures, AreErrorsAfterWhichTheSameComputationWorks) {
  const bigfloat x = diskNumber(1, GetParam().digits), y = diskNumber(2, GetParam().digits);
  const bigfloat expected = GetParam().compute(x, y);
  const std::size_t files = bignum::scratchFilesInUse();
  {
    FileSizeLimit full(64);  // as a full disk: no new number on disk can be written
    EXPECT_THROW(GetParam().compute(x, y), bignum::ResourceError) << GetParam().what;
  }
  EXPECT_FALSE(bignum::workspaceInUse());
  EXPECT_EQ(bignum::scratchFilesInUse(), files) << "no file stays behind";
  EXPECT_TRUE(GetParam().compute(x, y) == expected) << "the operands are as they were";
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Failures,
    ::testing::Values(Failing{"sum", [](const bigfloat& x, const bigfloat& y) { return x + y; }},
                      Failing{"difference", [](const bigfloat& x, const bigfloat& y) { return x - y; }},
                      Failing{"product by one word", [](const bigfloat& x, const bigfloat&) { return x * 7; }},
                      Failing{"schoolbook product",
                              [](const bigfloat& x, const bigfloat&) {
                                return x * bigfloat(std::string(180, '7').c_str(), bignum::INFINITE);
                              }},
                      Failing{"transform product", [](const bigfloat& x, const bigfloat& y) { return x * y; }},
                      Failing{"transform product through files",  // longer than the workspace
                              [](const bigfloat& x, const bigfloat& y) { return x * y; }, 45000},
                      Failing{"quotient", [](const bigfloat& x, const bigfloat& y) { return cut(x, 2000) / y; }},
                      Failing{"square root", [](const bigfloat& x, const bigfloat&) { return sqrt(cut(x, 2000)); }},
                      Failing{"number from text", [](const bigfloat& x, const bigfloat&) {
                                std::ostringstream text;
                                text << x;
                                return bigfloat(text.str().c_str(), bignum::INFINITE);
                              }}));

class LostFiles : public ::testing::TestWithParam<Failing> {};

TEST_P(LostFiles, AreErrorsThatLeaveTheOtherOperandUsable) {
  const bigfloat x = diskNumber(1), y = diskNumber(2);
  const bigfloat expected = GetParam().compute(x, x);
  fs::remove(y.record()->fileName());  // as a cleaner of old temporary files would
  EXPECT_THROW(GetParam().compute(x, y), bignum::ResourceError) << GetParam().what;
  EXPECT_FALSE(bignum::workspaceInUse());
  EXPECT_TRUE(GetParam().compute(x, x) == expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, LostFiles,
    ::testing::Values(Failing{"sum", [](const bigfloat& x, const bigfloat& y) { return x + y; }},
                      Failing{"difference", [](const bigfloat& x, const bigfloat& y) { return x - y; }},
                      Failing{"comparison", [](const bigfloat& x, const bigfloat& y) { return bigfloat(x < y); }},
                      Failing{"product", [](const bigfloat& x, const bigfloat& y) { return x * y; }}));

TEST(ScratchFolder, AFolderThatCannotBeMadeIsAnError) {
  ASSERT_EQ(bignum::scratchFilesInUse(), 0u);
  bignum::removeScratchFolder();
  const std::string root = std::getenv("TMPDIR");
  setenv("TMPDIR", (root + "/missing").c_str(), 1);
  EXPECT_THROW(diskNumber(1), bignum::ResourceError);
  EXPECT_FALSE(bignum::workspaceInUse());
  setenv("TMPDIR", root.c_str(), 1);
  EXPECT_EQ(diskNumber(1).record()->location(), bignum::DISK) << "the next number gets a folder";
}

}  // namespace
