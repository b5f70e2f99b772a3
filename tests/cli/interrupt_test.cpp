// Ctrl+C and progress, through a pseudo-terminal as a user meets them: a
// statement of ten million decimals shows its progress, Ctrl+C stops it
// within a second, the session goes on, and its files on disk are gone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "PtySession.h"
#include "support/TempDir.h"

namespace {

using Clock = PtySession::Clock;

// Files of mantissas under `dir`.
int numFiles(const TempDir& dir) {
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
    count += entry.path().extension() == ".num";
  return count;
}

TEST(Interrupt, CtrlCStopsAStatementAndTheSessionGoesOn) {
  TempDir dir;
  PtySession session(dir, "10000000");
  session.readUntil("> ", 10);
  usleep(300000);        // the line editor reads the terminal
  session.type("\x03");  // at the prompt: a fresh one
  EXPECT_NE(session.readUntil("> ", 5).find("> "), std::string::npos);
  session.type("PI\n");
  EXPECT_NE(session.readUntil("computing PI ... ", 30).find("computing PI ... "), std::string::npos);
  // Ctrl+C once the computation works on disk.
  for (const auto end = Clock::now() + std::chrono::seconds(60); numFiles(dir) == 0 && Clock::now() < end;)
    usleep(20000);
  EXPECT_GT(numFiles(dir), 0);
  session.type("\x03");
  const auto start = Clock::now();
  const std::string after = session.readUntil("> ", 10);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << after;
  EXPECT_NE(after.find("\r\x1b[Kerror: The computation was interrupted !"), std::string::npos) << after;
  EXPECT_EQ(numFiles(dir), 0);
  session.type("x = 6*7\n");
  EXPECT_NE(session.readUntil("42", 10).find("42"), std::string::npos);
}

// Without a terminal Ctrl+C ends the run with status 130.
TEST(Interrupt, ABatchRunEndsWith130) {
  TempDir dir;
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("NUMBRIX_HOME", dir.file("home").c_str(), 1);
    freopen("/dev/null", "w", stderr);
    execl(NUMBRIX_CLI, "numbrix-cli", "-d", "10000000", "-e", "PI", "-e", "1+1", static_cast<char*>(nullptr));
    _exit(127);
  }
  usleep(500000);
  kill(pid, SIGINT);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
}

}  // namespace
