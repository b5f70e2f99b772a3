#include "ui/HistoryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <string_view>
#include <system_error>

#include "config/AppDirectory.h"
#include "config/FileReplace.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "Numbrix history 1";
constexpr std::string_view kEnd = "End";

void appendEscaped(std::string& out, std::string_view text, bool blanksToo) {
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case ' ':
        out += blanksToo ? "\\s" : " ";
        break;
      default:
        out += c;
    }
  }
}

// The text of an escaped field; false for a raw CR (the file went through
// an editor) or a backslash that is not one of the escapes written.
bool unescape(std::string_view field, std::string& out) {
  out.reserve(field.size());
  for (std::size_t at = 0; at < field.size();) {
    const std::size_t special = std::min(field.find_first_of("\\\r", at), field.size());
    out.append(field.substr(at, special - at));
    if (special == field.size()) break;
    if (field[special] == '\r' || special + 1 == field.size()) return false;
    switch (field[special + 1]) {
      case '\\':
        out += '\\';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 's':
        out += ' ';
        break;
      default:
        return false;
    }
    at = special + 2;
  }
  return true;
}

// The lines of a text whose every line ends with LF.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  // False at the end of the text, and for a last line without its LF.
  bool next(std::string_view& line) {
    const std::size_t end = text_.find('\n', at_);
    if (end == std::string_view::npos) return false;
    line = text_.substr(at_, end - at_);
    at_ = end + 1;
    return true;
  }
  bool atEnd() const { return at_ == text_.size(); }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// The field after the tag `tag` and its blank, or false when `line` is not such a record.
bool field(std::string_view line, std::string_view tag, std::string_view& rest) {
  if (line.size() <= tag.size() || line.substr(0, tag.size()) != tag || line[tag.size()] != ' ') return false;
  rest = line.substr(tag.size() + 1);
  return true;
}

// Fills `out` from `text`; false when it is not a whole history file.
bool parse(std::string_view text, History& out) {
  Lines lines(text);
  std::string_view line;
  if (!lines.next(line) || line != kHeader) return false;
  while (lines.next(line)) {
    std::string_view rest;
    if (line == kEnd) return lines.atEnd();
    if (field(line, "E", rest)) {
      std::string_view answer;
      HistoryEntry entry;
      if (!lines.next(line) || !field(line, "=", answer) || !unescape(rest, entry.expression) ||
          !unescape(answer, entry.answer))
        return false;
      out.entries.push_back(std::move(entry));
    } else if (field(line, "V", rest)) {
      const std::size_t blank = rest.find(' ');
      if (blank == std::string_view::npos) return false;
      auto& [name, value] = out.variables.emplace_back();
      if (!unescape(rest.substr(0, blank), name) || !unescape(rest.substr(blank + 1), value)) return false;
    } else {
      return false;
    }
  }
  return false;  // cut before its last line
}

enum class FileRead { Missing, Read, Refused };

// Reads the regular file `path` whole into `text`. Anything else is refused
// before it is opened (and the open does not wait, should a FIFO take the
// file's place meanwhile).
FileRead readRegularFile(const fs::path& path, std::string& text) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT ? FileRead::Missing : FileRead::Refused;
  if (!S_ISREG(info.st_mode)) return FileRead::Refused;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Refused;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return FileRead::Refused;
  text.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FileRead::Refused;
    if (got == 0) break;  // it shrank meanwhile: a cut file, found out by the parse
    done += static_cast<std::size_t>(got);
  }
  text.resize(done);
  return FileRead::Read;
}

// Moves whatever is at `path` to its ".bad" name, over an older one (also
// where a plain rename cannot replace it: a folder and a file in each other's place).
void moveAside(const fs::path& path) noexcept {
  try {
    const fs::path bad = damagedHistoryPath(path);
    std::error_code failed;
    fs::rename(path, bad, failed);
    if (failed == std::errc::is_a_directory || failed == std::errc::not_a_directory ||
        failed == std::errc::directory_not_empty || failed == std::errc::file_exists) {
      fs::remove_all(bad, failed);
      fs::rename(path, bad, failed);
    }
  } catch (const std::exception&) {
    // Out of memory: the file stays where it is.
  }
}

}  // namespace

fs::path historyFilePath() {
  const fs::path folder = stateDirectory();
  return folder.empty() ? fs::path() : folder / "history";
}

fs::path damagedHistoryPath(const fs::path& path) {
  fs::path bad = path;
  bad += ".bad";
  return bad;
}

HistoryLoad readHistory(const fs::path& path, History& out) {
  out.entries.clear();
  out.variables.clear();
  if (path.empty()) return HistoryLoad::Missing;
  bool loaded = false;
  try {
    std::string text;
    const FileRead read = readRegularFile(path, text);
    if (read == FileRead::Missing) return HistoryLoad::Missing;
    loaded = read == FileRead::Read && parse(text, out);
  } catch (const std::exception&) {
    loaded = false;  // out of memory
  }
  if (loaded) return HistoryLoad::Loaded;
  out = History();
  moveAside(path);
  return HistoryLoad::Damaged;
}

std::string historyText(const History& history) {
  const std::size_t first = history.entries.size() > kHistoryEntries ? history.entries.size() - kHistoryEntries : 0;
  std::size_t size = kHeader.size() + kEnd.size() + 2;
  for (std::size_t i = first; i < history.entries.size(); ++i)
    size += history.entries[i].expression.size() + history.entries[i].answer.size() + 6;
  for (const auto& [name, value] : history.variables) size += name.size() + value.size() + 4;
  std::string text;
  text.reserve(size + size / 16);  // room for a few escapes
  text.append(kHeader) += '\n';
  for (std::size_t i = first; i < history.entries.size(); ++i) {
    text += "E ";
    appendEscaped(text, history.entries[i].expression, false);
    text += "\n= ";
    appendEscaped(text, history.entries[i].answer, false);
    text += '\n';
  }
  for (const auto& [name, value] : history.variables) {
    text += "V ";
    appendEscaped(text, name, true);
    text += ' ';
    appendEscaped(text, value, false);
    text += '\n';
  }
  text.append(kEnd) += '\n';
  return text;
}

bool writeHistory(const fs::path& path, const History& history) {
  if (path.empty()) return true;
  try {
    return replaceFile(path.string(), historyText(history));
  } catch (const std::exception&) {
    return false;  // out of memory
  }
}

bool clearHistory(const fs::path& path) {
  if (path.empty()) return true;
  std::error_code failed;
  fs::remove(path, failed);
  return fs::symlink_status(path, failed).type() == fs::file_type::not_found;
}
