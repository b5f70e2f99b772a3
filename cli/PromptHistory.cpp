#include "cli/PromptHistory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <utility>

#include "config/FileReplace.h"

namespace cli {

namespace {

// Drops all but the last PromptHistory::kMaxLines of `lines`.
void keepNewest(std::vector<std::string>& lines) {
  if (lines.size() > PromptHistory::kMaxLines)
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(PromptHistory::kMaxLines));
}

// The usable lines of `text`; `cut` when its first line may lack its start.
std::vector<std::string> usableLines(const std::string& text, bool cut) {
  std::vector<std::string> lines;
  std::size_t start = cut ? text.find('\n') : 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('\0') == std::string::npos && line.find_first_not_of(" \t") != std::string::npos)
      lines.push_back(std::move(line));
    start = end + 1;
  }
  keepNewest(lines);
  return lines;
}

// Reads the history file `path` into `lines`; the reason when it cannot be
// read (a missing file is an empty one).
std::string readHistory(const std::filesystem::path& path, std::vector<std::string>& lines) {
  lines.clear();
  // Non-blocking, so that a FIFO in its place never waits for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno == ENOENT ? "" : std::strerror(errno);
  std::string reason;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    reason = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    reason = std::strerror(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    reason = "not a regular file";
  } else {
    // Of a larger file only its end, where the newest lines are.
    const off_t size = info.st_size;
    const off_t from = size > static_cast<off_t>(PromptHistory::kMaxFileBytes)
                           ? size - static_cast<off_t>(PromptHistory::kMaxFileBytes)
                           : 0;
    std::string text(static_cast<std::size_t>(size - from), '\0');
    std::size_t got = 0;
    while (got < text.size()) {
      const ssize_t n = ::pread(fd, text.data() + got, text.size() - got, from + static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) reason = std::strerror(errno);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    if (reason.empty()) lines = usableLines(text, from > 0);
  }
  ::close(fd);
  return reason;
}

}  // namespace

PromptHistory::PromptHistory(std::filesystem::path file) : file_(std::move(file)) {}

const std::vector<std::string>& PromptHistory::load(std::ostream& err) {
  if (file_.empty()) return lines_;
  if (const std::string reason = readHistory(file_, lines_); !reason.empty()) {
    err << "warning: cannot read the prompt history " << file_.string() << ": " << reason << '\n';
    warned_ = true;
  }
  return lines_;
}

bool PromptHistory::add(const std::string& line) {
  if (line.find_first_not_of(" \t") == std::string::npos || (!lines_.empty() && lines_.back() == line)) return false;
  lines_.push_back(line);
  added_.push_back(line);
  return true;
}

void PromptHistory::save(std::ostream& err) {
  if (file_.empty() || added_.empty()) return;
  std::vector<std::string> lines;
  const bool readable = readHistory(file_, lines).empty();
  for (const std::string& line : added_)
    if (lines.empty() || lines.back() != line) lines.push_back(line);
  keepNewest(lines);
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  if ((!readable || !replaceFile(file_.string(), text)) && !warned_) {
    err << "warning: cannot save the prompt history " << file_.string() << '\n';
    warned_ = true;
  }
}

}  // namespace cli
