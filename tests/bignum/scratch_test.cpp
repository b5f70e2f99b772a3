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
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "DiskWork.h"
#include "bignum/resource_error.h"
#include "bignum/storage.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using bignum::bigfloat;

// scratch_child with `arguments`, started in `folder` through the shell, which
// it replaces, its output on a pipe. A child that is not waited for is killed:
// `pid` must be set for that (the loop prints a folder named after its pid).
struct Child {
  Child(const std::string& arguments, const fs::path& folder)
      : out(popen(("cd '" + folder.string() + "' && exec " NUMBRIX_SCRATCH_CHILD " " + arguments).c_str(), "r")) {}
  ~Child() {
    if (pid != 0) kill(pid, SIGKILL);
    if (out != nullptr) wait();
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // The next line of its output, without the line end.
  std::string line() {
    std::string text;
    for (int c = std::fgetc(out); c != EOF && c != '\n'; c = std::fgetc(out)) text += static_cast<char>(c);
    return text;
  }
  // Its status, as waitpid() gives it.
  int wait() {
    const int status = pclose(out);
    out = nullptr;
    pid = 0;
    return status;
  }
  std::FILE* out;
  pid_t pid = 0;
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
    EXPECT_EQ(info.st_mode & (S_IFMT | 07777), S_IFDIR | 0700u) << "a folder of our own, not a link";
  }
  EXPECT_EQ(readBytes("00000000.num") + readBytes(elsewhere.file("target")), "keep meprecious");
  EXPECT_TRUE(fs::is_symlink("00000001.num"));
  for (const char* name : {"00000000.num", "00000001.num"}) fs::remove(name);
}

// SIGTERM and SIGINT take the folder along; after SIGKILL it stays until the
// next process makes its folder. The next one computes beside this live one,
// in the same working folder.
TEST(ScratchFolder, EndingsTakeTheFolderAlongOrLeaveItToTheNextStart) {
  const bigfloat own = diskNumber(0);
  const fs::path ownFolder = bignum::scratchFolder();
  for (const auto& [number, folderStays] : {std::pair{SIGTERM, false}, {SIGINT, false}, {SIGKILL, true}}) {
    SCOPED_TRACE(number);
    Child child("loop", fs::current_path());
    const fs::path folder = child.line();
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    child.pid = std::stoi(folder.filename().string().substr(std::strlen("numbrix-")));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // well into its computations
    kill(child.pid, number);
    const int status = child.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), number) << "the exit status still names the signal";
    EXPECT_EQ(fs::exists(folder), folderStays);
    Child next("once 3", fs::current_path());
    EXPECT_EQ(next.line(), diskWork(3, 40));
    EXPECT_EQ(next.wait(), 0);
    EXPECT_FALSE(fs::exists(folder)) << "the next start removes what is left";
    EXPECT_TRUE(fs::is_directory(ownFolder)) << "the folder of a live process stays";
  }
}

// Of what lies under the temporary root, only folders of processes of this
// user that are gone are removed, and no link is followed.
TEST(ScratchFolder, OnlyFoldersOfGoneProcessesOfThisUserAreRemoved) {
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const auto name = [](pid_t pid, const char* end) {
    return fs::path(std::getenv("TMPDIR")) / ("numbrix-" + std::to_string(pid) + "-" + end);
  };
  const auto folder = [&](pid_t pid, const char* end) {
    fs::create_directory(name(pid, end));
    writeBytes((name(pid, end) / "00000000.num").string(), "words");
    return name(pid, end);
  };
  TempDir elsewhere;
  writeBytes(elsewhere.file("precious"), "precious");
  fs::create_directory_symlink(elsewhere.path(), name(gone, "Link01"));
  struct {
    const char* what;
    fs::path entry;
    bool removed;
  } cases[] = {{"a folder of a process that is gone", folder(gone, "Ab3dE9"), true},
               {"a folder of a live process", folder(getppid(), "Ab3dE9"), false},
               {"a folder of another user", folder(gone, "Other1"), false},
               {"a link to a folder, named as one of a gone process", name(gone, "Link01"), false},
               {"a folder whose name only looks alike", folder(gone, "Ab3"), false}};
  const bool otherUser = geteuid() == 0 && chown(cases[2].entry.c_str(), 65534, 65534) == 0;
  bignum::removeOrphanedScratchFolders();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (&c != &cases[2] || otherUser) {
      EXPECT_EQ(fs::exists(fs::symlink_status(c.entry)), !c.removed);
    }
    std::error_code ignored;
    fs::remove_all(c.entry, ignored);
  }
  EXPECT_EQ(readBytes(elsewhere.file("precious")), "precious") << "nothing is followed";
  if (!otherUser) GTEST_SKIP() << "all but the folder of another user, which needs root";
}

bigfloat cut(bigfloat x, long digits) { return x.prec(digits); }

const struct Operation {
  const char* what;
  bigfloat (*compute)(const bigfloat& x, const bigfloat& y);
  bool fullDisk, lostFile;  // the failures tried
  unsigned digits = 3000;   // of the operands
} kOperations[] = {
    {"difference", [](const bigfloat& x, const bigfloat& y) { return x - y; }, true, true},
    {"comparison", [](const bigfloat& x, const bigfloat& y) { return bigfloat(x < y); }, false, true},
    {"product by one word", [](const bigfloat& x, const bigfloat&) { return x * 7; }, true, false},
    {"schoolbook product",
     [](const bigfloat& x, const bigfloat&) { return x * bigfloat(std::string(180, '7').c_str(), bignum::INFINITE); },
     true, false},
    {"transform product", [](const bigfloat& x, const bigfloat& y) { return x * y; }, true, true},
    {"transform product through files",  // longer than the workspace
     [](const bigfloat& x, const bigfloat& y) { return x * y; }, true, false, 45000},
    {"quotient", [](const bigfloat& x, const bigfloat& y) { return cut(x, 2000) / y; }, true, false},
    {"square root", [](const bigfloat& x, const bigfloat&) { return sqrt(cut(x, 2000)); }, true, false},
    {"number from text",
     [](const bigfloat& x, const bigfloat&) {
       std::ostringstream text;
       text << x;
       return bigfloat(text.str().c_str(), bignum::INFINITE);
     },
     true, false}};

// A disk that takes no new number, or an operand's file that a cleaner of old
// temporary files removed, makes an error; the workspace is free again, no
// file stays behind, and the same computation then works on what is left.
TEST(ScratchFolder, FailuresAreErrorsAfterWhichComputingGoesOn) {
  for (const Operation& op : kOperations) {
    SCOPED_TRACE(op.what);
    const bigfloat x = diskNumber(1, op.digits), y = diskNumber(2, op.digits);
    if (op.fullDisk) {
      const bigfloat expected = op.compute(x, y);
      const std::size_t files = bignum::scratchFilesInUse();
      {
        FileSizeLimit full(64);  // as a full disk: no new number on disk can be written
        EXPECT_THROW(op.compute(x, y), bignum::ResourceError);
      }
      EXPECT_FALSE(bignum::workspaceInUse());
      EXPECT_EQ(bignum::scratchFilesInUse(), files) << "no file stays behind";
      EXPECT_TRUE(op.compute(x, y) == expected) << "the operands are as they were";
    }
    if (op.lostFile) {
      const bigfloat expected = op.compute(x, x);
      fs::remove(y.record()->fileName());
      EXPECT_THROW(op.compute(x, y), bignum::ResourceError);
      EXPECT_FALSE(bignum::workspaceInUse());
      EXPECT_TRUE(op.compute(x, x) == expected) << "the other operand is usable";
    }
  }
}

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
