// The lines typed at the prompt, kept between sessions in a file of one line
// a line (as a shell keeps its history).
#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

class PromptHistory {
 public:
  static constexpr std::size_t kMaxLines = 1000;         // the newest lines kept
  static constexpr std::size_t kMaxFileBytes = 4 << 20;  // of a larger file only its end is read

  // The history kept in `file`; an empty path keeps nothing.
  explicit PromptHistory(std::filesystem::path file);

  // Reads the file: its last kMaxLines lines that can be used (lines holding a
  // NUL byte, blank ones and a line cut by the size cap are skipped), oldest
  // first. A missing file is an empty history; one that is not a regular file
  // or cannot be read gives one warning line on `err` and an empty history.
  // Never waits on a FIFO or device.
  const std::vector<std::string>& load(std::ostream& err);

  // Takes a line typed at the prompt; false, with nothing kept, for a blank
  // line or one equal to the line before it.
  bool add(const std::string& line);

  // Writes the lines added in this session after those the file holds now
  // (another session may have saved meanwhile), the last kMaxLines of them, by
  // replacing the file whole. Nothing is written when nothing was added. A
  // failure gives one warning line on `err`, unless load() already warned.
  void save(std::ostream& err);

 private:
  std::filesystem::path file_;
  std::vector<std::string> lines_;  // loaded and added, oldest first
  std::vector<std::string> added_;  // added in this session
  bool warned_ = false;
};

}  // namespace cli
