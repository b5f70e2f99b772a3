#include "bignum/init.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <string>

#include "bignum/check.h"
#include "bignum/largebuffer.h"
#include "bignum/scratch.h"
#include "bignum/storage.h"

namespace bignum {

namespace detail {
bool started = false;
Limits current{};
void startFailed() { assertionFailed("!bignuminitok", "init"); }
}  // namespace detail

namespace {

std::uint32_t* workspaceBlock = nullptr;  // as allocated
std::uint32_t* workspaceStart = nullptr;  // aligned start
bool exitHookSet = false;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// An unsigned decimal number after optional blanks and an optional '+'; text
// after the digits is ignored. False when there are no digits or the number
// does not fit 32 bits.
bool readNumber(const std::string& text, std::uint32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  std::uint64_t number = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    number = number * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (number > 0xFFFFFFFFu) return false;
  }
  if (digits == 0) return false;
  value = static_cast<std::uint32_t>(number);
  return true;
}

struct Key {
  const char* iniName;
  const char* environmentName;
  std::uint32_t Settings::*field;
};

constexpr Key keys[] = {
    {"ramsize", "RAMSIZE", &Settings::ramsize},
    {"cachel1size", "CACHEL1SIZE", &Settings::cachel1size},
    {"cachel2size", "CACHEL2SIZE", &Settings::cachel2size},
    {"cacheburst", "CACHEBURST", &Settings::cacheburst},
    {"memorythreshold", "MEMORYTHRESHOLD", &Settings::memorythreshold},
    {"blocksize", "BLOCKSIZE", &Settings::blocksize},
    {"nprocessors", "NPROCESSORS", &Settings::nprocessors},
};

std::size_t floorPowerOfTwo(std::size_t n) {
  if (n == 0) return 0;
  std::size_t p = 1;
  while (p <= n / 2) p *= 2;
  return p;
}

// Largest 2^k or 3*2^k not above n (0 for 0).
std::size_t floorTransformLength(std::size_t n) {
  const std::size_t p = floorPowerOfTwo(n);
  return (p >= 2 && p / 2 * 3 <= n) ? p / 2 * 3 : p;
}

const char* systemLookup(const char* name) { return std::getenv(name); }

constexpr std::size_t kSettingsFileLimit = std::size_t{1} << 20;

std::string& settingsFolder() {
  static std::string folder;  // set before main or after: built on first use
  return folder;
}

// The settings of "bignum.ini" in the settings folder, when it is a regular file.
void readSettingsFolder(Settings& settings) {
  if (settingsFolder().empty()) return;
  const std::string path = settingsFolder() + "/bignum.ini";
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  // Without blocking and checked again, should it have been swapped for a FIFO meanwhile.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  std::string text;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    char buffer[4096];
    while (text.size() < kSettingsFileLimit) {
      const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, kSettingsFileLimit - text.size()));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      text.append(buffer, static_cast<std::size_t>(got));
    }
  }
  ::close(fd);
  std::istringstream in(text);
  readSettingsFile(in, settings);
}

Limits limitsFromSettings() {
  Settings settings;
  readSettingsFolder(settings);
  readSettingsEnvironment(settings, systemLookup);
  return deriveLimits(settings);
}

// Allocates a workspace for `limits` and puts both in force, giving back any
// workspace before; false, with nothing changed, when it cannot be allocated.
bool start(const Limits& limits) {
  // Aligned to the cache line, and to 64 bytes at least for the vector kernels.
  const std::size_t alignWords = std::max<std::size_t>(limits.Burst, 16);
  auto* block = static_cast<std::uint32_t*>(std::malloc((limits.Maxblocksize + alignWords - 1) * 4));
  if (block == nullptr) return false;
  dropCachedLarge();
  std::free(workspaceBlock);
  workspaceBlock = block;
  const auto address = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t alignBytes = alignWords * 4;
  // Whole words up to the next boundary (malloc's blocks are word-aligned).
  workspaceStart = block + (alignBytes - address % alignBytes) % alignBytes / 4;

  detail::current = limits;
  detail::started = true;
  if (!exitHookSet) {
    exitHookSet = true;
    std::atexit(shutdown);
  }
  return true;
}

}  // namespace

void readSettingsFile(std::istream& in, Settings& settings) {
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    std::size_t start = 0;
    while (start < equals && isBlank(line[start])) ++start;
    std::string key;
    for (std::size_t i = start; i < equals && !isBlank(line[i]); ++i) key += lower(line[i]);
    std::uint32_t value = 0;
    if (!readNumber(line.substr(equals + 1), value)) continue;
    for (const Key& k : keys)
      if (key == k.iniName) settings.*k.field = value;
  }
}

void readSettingsEnvironment(Settings& settings, const char* (*lookup)(const char*)) {
  std::uint32_t value = 0;
  for (const Key& k : keys) {
    const char* text = lookup(k.environmentName);
    if (text != nullptr && readNumber(text, value)) settings.*k.field = value;
  }
  const char* text = lookup("MAXBLOCKSIZE");
  if (text != nullptr && readNumber(text, value)) {
    settings.hasMaxblocksize = true;
    settings.maxblocksize = value;
  }
}

Limits deriveLimits(const Settings& s) {
  constexpr std::size_t reserved = 2097152;        // bytes kept back from the memory budget
  constexpr std::size_t smallestWorkspace = 8192;  // the disk transforms need two rows of 4096
  Limits limits{};
  const std::size_t budget = s.hasMaxblocksize ? s.maxblocksize : (s.ramsize > reserved ? s.ramsize - reserved : 0);
  limits.Maxblocksize = std::max(floorTransformLength(budget / 4), smallestWorkspace);
  limits.Memorythreshold = std::max<std::size_t>(s.memorythreshold, 1);
  limits.Blocksize = std::clamp<std::size_t>(s.blocksize, 1, limits.Memorythreshold);
  limits.NProcessors = std::clamp<std::size_t>(s.nprocessors, 1, 64);
  limits.L2size = std::max<std::size_t>(floorPowerOfTwo(s.cachel2size / 4), 1);
  limits.Burst = std::max<std::size_t>(floorPowerOfTwo(s.cacheburst / 4), 1);
  limits.L1size = std::max<std::size_t>(floorPowerOfTwo(s.cachel1size / 4), 1);
  limits.L1size = std::min(limits.L1size, floorPowerOfTwo(limits.Memorythreshold));
  std::size_t side = 1;
  while ((side * 2) * (side * 2) <= s.cachel1size / 4) side *= 2;
  limits.Blockside = side;
  return limits;
}

bool init() {
  if (detail::started) return true;
  return start(limitsFromSettings());
}

bool setSettingsFolder(const std::string& folder) {
  settingsFolder() = folder;
  if (!detail::started) return true;
  if (workspaceInUse() || scratchFilesInUse() > 0) return false;
  return start(limitsFromSettings());
}

void shutdown() {
  dropCachedLarge();
  std::free(workspaceBlock);
  workspaceBlock = nullptr;
  workspaceStart = nullptr;
  detail::started = false;
}

std::uint32_t* workspace() { return workspaceStart; }

}  // namespace bignum
