#include "cli/LongWork.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>

#include "expr/IExprParser.h"

namespace cli {

namespace {

std::atomic<bool> interrupted{false};

void onInterrupt(int) {
  interrupted.store(true);
  IExprParser::cancel();
}

using Clock = std::chrono::steady_clock;

// The progress line's state: touched by the computing thread only.
struct Line {
  int fd = -1;
  std::string statement;
  Clock::time_point start;
  bool shown = false;
  unsigned turn = 0;
  std::string last;  // what shows
};
Line line;

void put(const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(line.fd, text.data() + done, text.size() - done);
    if (n <= 0) return;  // a terminal that takes nothing more: no progress then
    done += static_cast<std::size_t>(n);
  }
}

void onProgress(const char*, double fraction) {
  if (line.fd < 0 || Clock::now() - line.start < std::chrono::seconds(1)) return;
  static const char spinner[] = {'|', '/', '-', '\\'};
  const std::string state =
      fraction >= 0 ? std::to_string(static_cast<int>(fraction * 100)) + "%" : std::string(1, spinner[line.turn++ % 4]);
  const std::string text = "\rcomputing " + line.statement + " ... " + state + "\x1b[K";
  if (line.shown && text == line.last) return;
  put(text);
  line.last = text;
  line.shown = true;
}

}  // namespace

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
}

bool interruptRequested() { return interrupted.load(); }
void forgetInterrupts() { interrupted.store(false); }

void ProgressLine::begin(const std::string& statement, int fd) {
  line.fd = fd;
  line.start = Clock::now();
  line.shown = false;
  // The text on one line, and short.
  line.statement.clear();
  for (const char c : statement.substr(0, 40)) line.statement += c == '\n' || c == '\t' || c == '\r' ? ' ' : c;
  if (statement.size() > 40) line.statement += "...";
  IExprParser::setProgressListener(fd >= 0 ? onProgress : nullptr);
}

void ProgressLine::wipe() {
  if (line.shown) put("\r\x1b[K");
  line.shown = false;
}

void ProgressLine::end() {
  wipe();
  line.fd = -1;
  IExprParser::setProgressListener(nullptr);
}

}  // namespace cli
