// Finding nodes of a configuration tree by path.
#pragma once

#include <list>
#include <string>

#include "config/ComponentT.h"

// Fills `out` (emptied first) with the nodes `path` names in the tree under
// `root` (which may be null: nothing matches). The path is split at "/";
// segments are trimmed of blanks, tabs and line ends, and empty ones dropped.
// No segment names the root itself. Otherwise every segment but the last must
// name exactly one node, or nothing matches; the last segment gives every
// child of that name, in order. The root's own name is never part of a path.
void resolvePath(ComponentT<std::string>* root, const std::string& path, std::list<ComponentT<std::string>*>& out);
