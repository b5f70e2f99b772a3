#include "config/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "config/StaleFiles.h"

namespace {

// Follows a symbolic link so that the file it points to is replaced, not the link.
std::string targetOf(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) return resolved;
  }
  return path;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool writeAll(int fd, const std::string& text) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

mode_t currentUmask() {
  const mode_t mask = umask(022);
  umask(mask);
  return mask;
}

// Not writable for this process, or not meant to be written by anyone: with
// no write bit set even root, whom access() never refuses, leaves it alone.
bool isReadOnly(const std::string& path, const struct stat& info) {
  return ::access(path.c_str(), W_OK) != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

ReplaceResult replaceFileWithResult(const std::string& path, const std::string& text) {
  if (path.empty()) return ReplaceResult::NotCreated;
  const std::string target = targetOf(path);

  // The replaced file keeps its permissions; a new one gets what a plain
  // create would have given it.
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && (!S_ISREG(old.st_mode) || isReadOnly(target, old))) return ReplaceResult::NotCreated;
  const mode_t mode = existed ? (old.st_mode & 07777) : (0666 & ~currentUmask());

  std::string temporary = temporaryPattern(target, ::getpid());
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return ReplaceResult::NotCreated;

  bool ok = writeAll(fd, text) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return ReplaceResult::NotWritten;
  }
  // Make the rename itself durable; failing to is not a failure of the save.
  const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return ReplaceResult::Replaced;
}

bool replaceFile(const std::string& path, const std::string& text) {
  return replaceFileWithResult(path, text) == ReplaceResult::Replaced;
}
