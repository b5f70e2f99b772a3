// The history file: the main window's log and variables, kept between
// sessions in the state folder. UTF-8 text, one record a line:
//   Numbrix history 1        the first line: the format and its version
//   E <expression>           a log entry, oldest first, each followed by
//   = <answer>               its answer (possibly empty)
//   V <name> <value>         a variable, in the results list's order
//   End                      the last line, so that a cut file is noticed
// Every line ends with LF. Texts are written with backslash escapes: "\\"
// for a backslash, "\r" for CR, "\n" for LF, and in a name "\s" for a blank,
// so any text comes back as it was. Bytes that are not valid UTF-8 are kept
// as they are, on writing and on reading.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct HistoryEntry {
  std::string expression, answer;
  bool operator==(const HistoryEntry&) const = default;
};

struct History {
  std::vector<HistoryEntry> entries;  // oldest first
  // name, value in plain notation at full precision, in order
  std::vector<std::pair<std::string, std::string>> variables;
  bool operator==(const History&) const = default;
};

// How many log entries the file keeps (the newest).
inline constexpr std::size_t kHistoryEntries = 1000;

// stateDirectory() / "history", or an empty path when there is no state folder.
std::filesystem::path historyFilePath();

// The name a damaged file at `path` is moved to: `path` with ".bad" appended.
std::filesystem::path damagedHistoryPath(const std::filesystem::path& path);

enum class HistoryLoad { Missing, Loaded, Damaged };

// Reads `path` into `out` (cleared first). Missing: nothing is at `path` (or
// the path is empty). Loaded: a file as writeHistory writes it. Damaged:
// anything else is there: a file that cannot be read (also when memory runs
// out reading it), a folder, a FIFO or device (refused without being opened,
// so nothing blocks), a wrong first line, a malformed or unknown line, a file
// cut short. A damaged file is moved to damagedHistoryPath(path), replacing
// what was there (it stays in place when it cannot be moved), and `out` is
// left empty. Never throws.
HistoryLoad readHistory(const std::filesystem::path& path, History& out);

// The text writeHistory writes for `history`: only the last kHistoryEntries
// entries, all the variables.
std::string historyText(const History& history);

// Writes historyText(history) to `path` atomically (replaceFile). Returns
// false when it could not be written (the old file then stays as it was). An
// empty path (no state folder) writes nothing and returns true. Never throws.
bool writeHistory(const std::filesystem::path& path, const History& history);

// Deletes the file at `path` (Clear All). Returns true when nothing is at
// `path` afterwards (always for an empty path). Never throws.
bool clearHistory(const std::filesystem::path& path);
