// Replacing a file's contents without ever leaving it half written.
#pragma once

#include <string>

// Writes `text` to a new file in the folder of `path` and renames it over
// `path` once the whole text is written and flushed to the disk. A symbolic
// link at `path` is followed, so the file it points to is the one replaced. An
// existing file keeps its permission bits; a new one gets the usual ones for
// the process's umask. Returns false on any failure, in which case `path` is
// untouched and the new file has been removed.
bool replaceFile(const std::string& path, const std::string& text);
