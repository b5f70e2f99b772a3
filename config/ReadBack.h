// Checking what a save reached: the store reports no failure of its own, so a
// caller that must know reads the file back.
#pragma once

#include <map>
#include <string>

// Whether the file `path` holds a block whose leaves are exactly `leaves`
// (name to value), read through store `index` (which is emptied afterwards).
// False for a missing or unreadable file.
bool fileHoldsLeaves(const std::string& path, const std::map<std::string, std::string>& leaves, int index);
