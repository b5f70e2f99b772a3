// Start-up of the number library: its settings, the limits derived from them
// and the one large workspace, made once per process before the first number.
//
// Settings come from built-in defaults, then the optional file "bignum.ini" in
// the program's settings folder (lines "key = value"; see setSettingsFolder:
// without a folder there is no file, and the current directory is never
// looked at), then the environment variables RAMSIZE, CACHEL1SIZE,
// CACHEL2SIZE, CACHEBURST, MEMORYTHRESHOLD, BLOCKSIZE, NPROCESSORS and
// MAXBLOCKSIZE. They change only through setSettingsFolder().
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace bignum {

// The digit constants: words hold nine decimal digits.
inline constexpr std::uint32_t Base = 1000000000;
inline constexpr int Basedigit = 10;
inline constexpr int Basedigits = 9;

// The characters of digit values 0 to 35, and the value of every byte:
// '0'-'9' are 0-9, letters of either case 10-35, anything else 256 (no digit).
inline constexpr char digitChars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int digitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  return 256;
}

// The user's settings, in the units of the settings file.
struct Settings {
  std::uint32_t ramsize = 16777216;       // bytes
  std::uint32_t cachel1size = 8192;       // bytes
  std::uint32_t cachel2size = 262144;     // bytes
  std::uint32_t cacheburst = 32;          // bytes
  std::uint32_t memorythreshold = 16384;  // words
  std::uint32_t blocksize = 16384;        // words
  std::uint32_t nprocessors = 1;
  bool hasMaxblocksize = false;  // MAXBLOCKSIZE (environment only), in bytes
  std::uint32_t maxblocksize = 0;
};

// What the library works with, in 32-bit words unless stated.
struct Limits {
  std::size_t Maxblocksize;     // workspace size: largest 2^k or 3*2^k in the memory budget
  std::size_t Memorythreshold;  // longer mantissas live on disk; longer buffers borrow the workspace
  std::size_t Blocksize;        // window length for scanning mantissas
  std::size_t NProcessors;      // threads for the transform rows
  std::size_t L1size;           // first-level cache, a power of two
  std::size_t L2size;           // second-level cache, a power of two
  std::size_t Burst;            // cache line, a power of two
  std::size_t Blockside;        // side of a square transpose block that fits the first-level cache
};

// Reads "key = value" lines. The key is the first word before the first '=',
// in any letter case; the value an unsigned decimal number after it (leading
// blanks skipped, trailing text ignored). Lines without '=' or beginning with
// it, unknown keys and values that are not numbers are ignored. Reading never
// depends on the process locale.
void readSettingsFile(std::istream& in, Settings& settings);

// Overrides settings from the environment variables that are set and hold a number.
// `lookup` is getenv or a stand-in for it.
void readSettingsEnvironment(Settings& settings, const char* (*lookup)(const char*));

// The limits for the given settings. Values that would stop the library from
// working are raised to a working minimum: the workspace holds at least 8192
// words, every other size at least one word, and 1 to 64 threads are used.
Limits deriveLimits(const Settings& settings);

// Starts the library: reads the settings, derives the limits and allocates the
// workspace. A second call does nothing. Returns false if the workspace cannot be allocated.
bool init();

// Makes `folder` the settings folder: "<folder>/bignum.ini" is read at start-up
// when it is a regular file (a link to one is followed; a FIFO, a device or a
// folder is never opened for reading), at most its first MiB. Meant to be
// called before the first number is made. Numbers made during static
// initialisation start the library before main, so a library already started
// is started again with the new settings when that is safe: when no number
// lives on disk and the workspace is not lent out. Returns false when it was
// not (the settings in force stay until the process ends), or when the
// workspace for the new settings cannot be allocated (the old settings stay).
bool setSettingsFolder(const std::string& folder);

// Frees the workspace; runs at process exit.
void shutdown();

namespace detail {
extern bool started;
extern Limits current;
[[noreturn]] void startFailed();
}  // namespace detail

// The limits in force, starting the library on first use. A start that fails
// stops the process with the assertion "!bignuminitok" (source "init").
inline const Limits& limits() {
  if (!detail::started) [[unlikely]] {
    if (!init()) detail::startFailed();
  }
  return detail::current;
}

// The workspace: Maxblocksize words aligned to the cache line (null before start-up).
std::uint32_t* workspace();

}  // namespace bignum
