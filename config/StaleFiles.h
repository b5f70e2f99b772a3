// The temporaries that replaceFile writes beside a file: how they are named,
// so that one left behind by a killed writer can be told from anything else,
// and clearing those away.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

// The mkstemp pattern for a temporary that process `writer` writes to
// replace `target`: "<target>.numbrix-<writer>-XXXXXX", in the target's folder.
std::string temporaryPattern(const std::string& target, pid_t writer);

// The process that wrote the temporary called `fileName` (a name without a
// folder), or 0 when the name is not one that temporaryPattern gives
// ("<name>.numbrix-<pid>-" and six letters or digits, with a name that is not
// empty and a pid without a sign or leading zero).
pid_t temporaryWriter(const std::string& fileName);

// Removes, from `folder` itself (not its subfolders), the temporaries whose
// writer is gone: entries whose name temporaryWriter accepts, that are
// regular files (a symbolic link is never followed nor removed), owned by the
// effective user, and whose writing process no longer exists. A temporary of
// a live process, or of one that cannot be checked, is kept. Returns how many
// were removed; a folder that cannot be read (or an empty path) removes none.
int removeStaleTemporaries(const std::filesystem::path& folder);
