// The program on a pseudo-terminal, as a user at a terminal meets it.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "support/TempDir.h"

class PtySession {
 public:
  using Clock = std::chrono::steady_clock;

  // numbrix-cli with `digits` decimals, running in `dir` with its folders
  // (TMPDIR, the program's folder, the one kept between sessions) there and
  // numbers above 10^5 words on disk.
  PtySession(const TempDir& dir, const char* digits) {
    pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      setenv("TMPDIR", dir.path().c_str(), 1);
      setenv("MEMORYTHRESHOLD", "100000", 1);
      setenv("NUMBRIX_HOME", dir.file("home").c_str(), 1);
      setenv("XDG_STATE_HOME", dir.file("state").c_str(), 1);
      if (chdir(dir.path().c_str()) != 0) _exit(126);
      execl(NUMBRIX_CLI, "numbrix-cli", "-d", digits, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~PtySession() {
    if (pid_ > 0) kill(pid_, SIGKILL);  // never kill(-1)
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
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
  // The exit status once the program ends within `seconds`, else -1.
  int exitStatus(double seconds) {
    int status = 0;
    for (const auto end = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < end; usleep(20000)) {
      if (waitpid(pid_, &status, WNOHANG) != pid_) continue;
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
  int fd_ = -1;
  std::string shown_;
};
