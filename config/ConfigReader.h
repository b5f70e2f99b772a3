// Reading a configuration tree from its text form.
#pragma once

#include <istream>
#include <memory>

#include "config/ComponentT.h"

// Reads the first block of `in` and returns it, or null when the text up to
// that block's closing brace has a lexical or syntax error or blocks nested
// more than a thousand deep. Nothing after the first block is read.
std::unique_ptr<ComponentT<std::string>> readConfig(std::istream& in);
