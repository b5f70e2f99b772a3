// The user constants' file: its root and store, how its value texts are read
// and written, reading its leaves, merging the changes another program made to
// it with this program's, and keeping an unreadable file aside so that nothing
// writes over it.
#pragma once

#include <map>
#include <string>

#include "bignum/bigfloat.h"
#include "config/IConfig.h"

namespace constants_file {

// Constant names to their value texts.
using Texts = std::map<std::string, std::string>;

// The value of a constant's text, as the file holds it or a user types it:
// read at the 81 digits of a literal. The text must be a valid value (see
// IExprParser::isValidValue).
bignum::bigfloat valueOf(const std::string& text);
// The text the file holds for `value`: positional notation, all its digits.
std::string textOf(const bignum::bigfloat& value);

// The leaves under the root of the file at `path` (read through the constants
// store, which is left empty), the last of a repeated name winning. `out` is emptied first
// and stays empty unless the file is Loaded.
IConfig::LoadResult read(const std::string& path, Texts& out);

// Writes `texts` as the constants file at `path` (root "Constant", leaves in
// name order) through the constants store. Returns whether the file was replaced: false
// for a read-only file, a full disk or an unwritable folder, which all leave
// the old file as it was.
bool write(const std::string& path, const Texts& texts);

// A three-way merge by name. `base` is what the file held when this program
// last read or wrote it, `ours` what this program holds now, `theirs` what the
// file holds now. A name this program left as in `base` takes the file's
// entry (added, changed or removed by the other program); any other name
// takes this program's (its edits and deletions win).
Texts merge(const Texts& base, const Texts& ours, const Texts& theirs);

// Renames the file at `path` to "<path>.bad", or "<path>.bad.1", ".bad.2", ...
// when those exist; never replaces anything. Returns the new path, or an empty
// text when it could not be moved.
std::string setAside(const std::string& path);

// Moves a file set aside back to `path`, unless something is there by now.
bool putBack(const std::string& aside, const std::string& path);

}  // namespace constants_file
