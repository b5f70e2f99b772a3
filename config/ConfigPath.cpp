#include "config/ConfigPath.h"

#include <vector>

namespace {

std::vector<std::string> splitPath(const std::string& path) {
  static const char* const blanks = " \t\r\n";
  std::vector<std::string> segments;
  std::string::size_type start = 0;
  while (start <= path.size()) {
    std::string::size_type end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string segment = path.substr(start, end - start);
    const auto first = segment.find_first_not_of(blanks);
    if (first != std::string::npos) {
      const auto last = segment.find_last_not_of(blanks);
      segments.push_back(segment.substr(first, last - first + 1));
    }
    start = end + 1;
  }
  return segments;
}

}  // namespace

void resolvePath(ComponentT<std::string>* root, const std::string& path, std::list<ComponentT<std::string>*>& out) {
  out.clear();
  if (root == nullptr) return;
  const std::vector<std::string> segments = splitPath(path);
  if (segments.empty()) {
    out.push_back(root);
    return;
  }
  ComponentT<std::string>* current = root;
  for (std::size_t i = 0; i + 1 < segments.size(); ++i) {
    std::list<ComponentT<std::string>*> found;
    current->find(segments[i], found);
    if (found.size() != 1) return;
    current = found.front();
  }
  current->find(segments.back(), out);
}
