#include "bignum/scratch.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "bignum/resource_error.h"

namespace bignum {

namespace {

constexpr char kPrefix[] = "numbrix-";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCreateAttempts = 64;  // numbers tried when a name is taken (by a forked child)

// What the signal handler reads: the folder's path is written before
// `folderMade` is set, the counters are lock-free atomics.
char folderPath[PATH_MAX];
std::size_t folderLength = 0;
std::atomic<bool> folderMade{false};
std::atomic<pid_t> folderOwner{0};
std::atomic<std::uint32_t> nextNumber{0};  // every number below has been handed out
std::atomic<std::uint32_t> lowestLive{0};  // no file that is not removed has a lower number
std::atomic<std::size_t> liveFiles{0};     // never below the files not removed

bool exitHookSet = false;
bool handlersSet = false;

// The numbers of the files not removed yet. Never destroyed, so that numbers
// that outlive the static objects of this file can still be removed.
std::set<std::uint32_t>& live() {
  static auto* numbers = new std::set<std::uint32_t>;
  return *numbers;
}

[[noreturn]] void fail(const std::string& what) {
  const int error = errno;
  throw ResourceError(what + ": " + std::strerror(error));
}

std::string temporaryRoot() {
  const char* root = std::getenv("TMPDIR");
  return root != nullptr && *root != '\0' ? root : "/tmp";
}

// "<folder>/<number, 8 digits or more>.num" into `out`, which holds PATH_MAX +
// 32 bytes; no library calls, so that the signal handler can use it.
void formatPath(std::uint32_t number, char* out) {
  std::size_t n = 0;
  for (; n < folderLength; ++n) out[n] = folderPath[n];
  out[n++] = '/';
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number > 0);
  while (count < 8) digits[count++] = '0';
  while (count > 0) out[n++] = digits[--count];
  for (const char c : {'.', 'n', 'u', 'm', '\0'}) out[n++] = c;
}

// Removes the files and the folder with async-signal-safe calls only: the
// numbers from the lowest live one to the last handed out, newest first, until
// as many files as may exist are gone.
void removeFolderQuickly() {
  if (!folderMade.load() || folderOwner.load() != ::getpid()) return;
  char path[PATH_MAX + 32];
  std::size_t left = liveFiles.load();
  for (std::uint32_t number = nextNumber.load(); left > 0 && number-- > lowestLive.load();) {
    formatPath(number, path);
    if (::unlink(path) == 0) --left;
  }
  ::rmdir(folderPath);
}

void onSignal(int signal) {
  const int savedErrno = errno;
  removeFolderQuickly();
  // The default action again, and the signal once more: it ends the process
  // as soon as this handler returns, so that the exit status still names it.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
  ::raise(signal);
  errno = savedErrno;
}

// Handlers for the signals whose action is the default one; a handler of the
// program's own, or an ignored signal, stays as it is.
void installHandlers() {
  for (const int signal : kSignals) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) != 0) continue;
    if ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int other : kSignals) sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
  }
}

void removeAtExit() { removeScratchFolder(); }

// Removes the regular files in folder `name` (under `parent`) and then the
// folder, following no link; with `checkOwner` only a folder of this user.
bool removeFolderTree(int parent, const char* name, bool checkOwner) {
  const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat folder {};
  if (::fstat(fd, &folder) != 0 || (checkOwner && folder.st_uid != ::geteuid())) {
    ::close(fd);
    return false;
  }
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return false;
  }
  while (const dirent* entry = ::readdir(dir)) {
    struct stat file {};
    if (::fstatat(fd, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(file.st_mode))
      ::unlinkat(fd, entry->d_name, 0);
  }
  ::closedir(dir);
  return ::unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

// Whether `name` is "numbrix-<pid>-<six characters>", with its pid.
bool folderOfProcess(const char* name, pid_t& pid) {
  if (std::strncmp(name, kPrefix, kPrefixLength) != 0) return false;
  const char* p = name + kPrefixLength;
  long long value = 0;
  int digits = 0;
  for (; *p >= '0' && *p <= '9' && digits < 10; ++p, ++digits) value = value * 10 + (*p - '0');
  if (digits == 0 || *p != '-' || std::strlen(p + 1) != 6 || value <= 0 || value > INT_MAX) return false;
  pid = static_cast<pid_t>(value);
  return true;
}

void makeFolder() {
  std::string root = temporaryRoot();
  // A relative root is taken from here, so that a later change of directory does not lose the folder.
  char here[PATH_MAX];
  if (root.front() != '/' && ::getcwd(here, sizeof here) != nullptr) root = std::string(here) + "/" + root;
  removeOrphanedScratchFolders();
  std::string pattern = root + "/" + kPrefix + std::to_string(::getpid()) + "-XXXXXX";
  if (pattern.size() + 32 >= sizeof folderPath) {
    errno = ENAMETOOLONG;
    fail("cannot make a folder for long numbers in " + root);
  }
  if (::mkdtemp(pattern.data()) == nullptr) fail("cannot make a folder for long numbers in " + root);
  std::memcpy(folderPath, pattern.c_str(), pattern.size() + 1);
  folderLength = pattern.size();
  folderOwner.store(::getpid());
  folderMade.store(true);
  if (!exitHookSet) {
    exitHookSet = true;
    std::atexit(removeAtExit);
  }
  if (!handlersSet) {
    handlersSet = true;
    installHandlers();
  }
}

}  // namespace

ScratchFile createScratchFile() {
  if (!folderMade.load()) makeFolder();
  for (int attempt = 1;; ++attempt) {
    const std::uint32_t number = nextNumber.load();
    live().insert(number);
    // Counted before the file exists, so that the signal handler never looks for too few.
    if (liveFiles.fetch_add(1) == 0) lowestLive.store(number);
    nextNumber.store(number + 1);
    const std::string path = scratchFilePath(number);
    int fd;
    do {
      fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) return ScratchFile{number, fd};
    const int error = errno;
    live().erase(number);
    liveFiles.fetch_sub(1);
    errno = error;
    if (error != EEXIST || attempt == kCreateAttempts) fail("cannot create " + path);
  }
}

int openScratchFile(std::uint32_t number, int flags) {
  const std::string path = scratchFilePath(number);
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) fail("cannot open " + (path.empty() ? std::string("a file of a long number") : path));
  return fd;
}

void removeScratchFile(std::uint32_t number) {
  if (folderMade.load()) ::unlink(scratchFilePath(number).c_str());
  // Forgotten only once it is gone, so that the signal handler never looks for too few.
  if (live().erase(number) == 0) return;
  liveFiles.fetch_sub(1);
  lowestLive.store(live().empty() ? nextNumber.load() : *live().begin());
}

std::string scratchFilePath(std::uint32_t number) {
  if (!folderMade.load()) return {};
  char path[PATH_MAX + 32];
  formatPath(number, path);
  return path;
}

std::string scratchFolder() { return folderMade.load() ? std::string(folderPath, folderLength) : std::string(); }

std::size_t scratchFilesInUse() { return live().size(); }

void removeScratchFolder() {
  if (!folderMade.load() || folderOwner.load() != ::getpid()) return;
  removeFolderTree(AT_FDCWD, folderPath, false);
  folderMade.store(false);
  live().clear();
  liveFiles.store(0);
  folderLength = 0;
  folderPath[0] = '\0';
}

std::size_t removeOrphanedScratchFolders() {
  const std::string root = temporaryRoot();
  const int rootFd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) return 0;
  DIR* dir = ::fdopendir(rootFd);
  if (dir == nullptr) {
    ::close(rootFd);
    return 0;
  }
  // Names first: removing entries while reading the folder could skip some.
  std::vector<std::string> orphans;
  while (const dirent* entry = ::readdir(dir)) {
    pid_t pid = 0;
    struct stat folder {};
    if (folderOfProcess(entry->d_name, pid) && pid != ::getpid() &&
        ::fstatat(rootFd, entry->d_name, &folder, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(folder.st_mode) &&
        folder.st_uid == ::geteuid() && ::kill(pid, 0) != 0 && errno == ESRCH)
      orphans.emplace_back(entry->d_name);
  }
  std::size_t removed = 0;
  for (const std::string& name : orphans)
    if (removeFolderTree(rootFd, name.c_str(), true)) ++removed;
  ::closedir(dir);
  return removed;
}

}  // namespace bignum
