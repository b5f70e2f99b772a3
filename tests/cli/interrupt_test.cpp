// Ctrl+C and progress, through a pseudo-terminal as a user meets them: a
// statement of ten million decimals shows its progress, Ctrl+C stops it
// within a second, the session goes on, and its files on disk are gone.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// The program on a pseudo-terminal, with TMPDIR in `dir` and numbers above
// 10^5 words on disk.
class Session {
 public:
  Session(const TempDir& dir, const char* digits) {
    pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      setenv("TMPDIR", dir.path().c_str(), 1);
      setenv("MEMORYTHRESHOLD", "100000", 1);
      setenv("NUMBRIX_HOME", dir.file("home").c_str(), 1);
      execl(NUMBRIX_CLI, "numbrix-cli", "-d", digits, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Session() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    close(fd_);
  }
  void type(const std::string& keys) {
    EXPECT_EQ(write(fd_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  // What the terminal shows until `text` appears (with it) or `seconds` pass.
  std::string readUntil(const std::string& text, double seconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (shown_.find(text) == std::string::npos && Clock::now() < end) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      shown_.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t at = shown_.find(text);
    std::string seen = shown_.substr(0, at == std::string::npos ? shown_.size() : at + text.size());
    shown_.erase(0, seen.size());
    return seen;
  }

 private:
  pid_t pid_ = -1;
  int fd_ = -1;
  std::string shown_;
};

// Files of mantissas under `dir`.
int numFiles(const TempDir& dir) {
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
    count += entry.path().extension() == ".num";
  return count;
}

TEST(Interrupt, CtrlCStopsAStatementAndTheSessionGoesOn) {
  TempDir dir;
  Session session(dir, "10000000");
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
