// Variables files (".cvf"): the configuration file syntax with the root
// "Variables" and one leaf per variable, its value in full plain text.
#pragma once

#include <string>
#include <vector>

// Writes the variables `names` (in that order) to `path`, each with its value
// in full plain text (0 for a name the evaluator does not know). Returns false
// when the file does not hold them afterwards (it then keeps what it held).
bool exportVariables(const std::string& path, const std::vector<std::string>& names);

// Reads `path` and sets each entry as a variable, its value read at 81 digits,
// in the file's order. Only entries that are real variables are taken: a
// valid name, and a value that is a valid number after at most one leading
// "-" and not beyond the evaluator's value limit. Returns how many entries
// were skipped, or kUnreadable, having set nothing, when the file is not
// there or cannot be read as a variables file (also when memory runs out).
int importVariables(const std::string& path);
inline constexpr int kUnreadable = -1;
