#include "config/StaleFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace {

constexpr const char* kMarker = ".numbrix-";
constexpr std::size_t kRandomLength = 6;  // the XXXXXX mkstemp fills in

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool isAsciiAlphanumeric(char c) { return isAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string temporaryPattern(const std::string& target, pid_t writer) {
  return target + kMarker + std::to_string(static_cast<long long>(writer)) + "-XXXXXX";
}

pid_t temporaryWriter(const std::string& fileName) {
  const std::size_t marker = fileName.rfind(kMarker);
  if (marker == std::string::npos || marker == 0) return 0;
  std::size_t at = marker + std::char_traits<char>::length(kMarker);
  const std::size_t digits = at;
  long long pid = 0;
  while (at < fileName.size() && isAsciiDigit(fileName[at])) {
    pid = pid * 10 + (fileName[at] - '0');
    if (pid > INT_MAX) return 0;
    ++at;
  }
  if (at == digits || fileName[digits] == '0') return 0;  // no pid, or a leading zero (or pid 0)
  if (at >= fileName.size() || fileName[at] != '-') return 0;
  ++at;
  if (fileName.size() - at != kRandomLength) return 0;
  for (; at < fileName.size(); ++at)
    if (!isAsciiAlphanumeric(fileName[at])) return 0;
  return static_cast<pid_t>(pid);
}

int removeStaleTemporaries(const std::filesystem::path& folder) {
  if (folder.empty()) return 0;
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return 0;
  // Every look and removal goes through the folder opened once, so a folder
  // renamed meanwhile cannot send them elsewhere.
  const int at = ::dirfd(listing);
  int removed = 0;
  while (const dirent* entry = ::readdir(listing)) {
    const pid_t writer = temporaryWriter(entry->d_name);
    if (writer <= 0) continue;
    struct stat info {};
    if (::fstatat(at, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
    // A pid that exists, even one this process may not signal, keeps the file.
    if (::kill(writer, 0) == 0 || errno != ESRCH) continue;
    if (::unlinkat(at, entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(listing);
  return removed;
}
