#include "config/ReadBack.h"

#include <filesystem>
#include <list>

#include "config/IConfig.h"

bool fileHoldsLeaves(const std::string& path, const std::map<std::string, std::string>& leaves, int index) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return false;
  IConfig* store = IConfig::instance(index);
  store->load(path);
  std::list<IConfig::Node*> nodes;
  store->children("/", nodes);
  std::map<std::string, std::string> found;
  for (const IConfig::Node* node : nodes) found[node->getName()] = node->getValue();
  store->release();
  return nodes.size() == leaves.size() && found == leaves;
}
