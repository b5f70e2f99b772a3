// Replacing a file's contents without ever leaving it half written.
#pragma once

#include <string>

// How a replacement ended.
enum class ReplaceResult {
  Replaced,
  // Nothing was written: the path is empty, the target is not a regular file
  // or may not be written, or no new file could be made in its folder.
  NotCreated,
  // The new file could not be written in full, flushed or renamed (a full
  // disk, for one); it has been removed.
  NotWritten,
};

// Writes `text` to a new file in the folder of `path` and renames it over
// `path` once the whole text is written and flushed to the disk. A symbolic
// link at `path` is followed, so the file it points to is the one replaced. An
// existing file keeps its permission bits; a new one gets the usual ones for
// the process's umask. An existing file that may not be written (access()
// refuses, or it has no write permission bit at all, which stops root too) is
// refused. The new file is named as temporaryPattern (config/StaleFiles.h)
// says, so that one left by a killed process can be found again. On any
// failure `path` is untouched and the new file has been removed.
ReplaceResult replaceFileWithResult(const std::string& path, const std::string& text);

// As replaceFileWithResult: true when the file was replaced.
bool replaceFile(const std::string& path, const std::string& text);
