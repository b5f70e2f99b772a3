#include "config/IConfigImpl.h"

#include <fstream>

#include "config/ComponentFactoryT.h"
#include "config/ConfigPath.h"
#include "config/ConfigReader.h"
#include "config/FileReplace.h"
#include "config/InstanceTable.h"

namespace {

using Factory = ComponentFactoryT<std::string>;

// Function-local so that the table exists whenever the first store is asked for.
InstanceTable<IConfig, 16>& stores() {
  static InstanceTable<IConfig, 16> tables;
  return tables;
}

}  // namespace

IConfig* IConfig::instance(int index) {
  return stores().get(index, [](int made) { return new IConfigImpl(made); });
}

void IConfigImpl::release() {
  tree()->setRoot(nullptr);
  stores().clear(index_);  // deletes this object: nothing of it may be used after
}

void IConfigImpl::create(const std::string& rootName) { tree()->setRoot(Factory::createComposite(rootName)); }

IConfig::Node* IConfigImpl::single(const std::string& path) const {
  std::list<Node*> found;
  resolvePath(tree()->getRoot(), path, found);
  return found.size() == 1 ? found.front() : nullptr;
}

void IConfigImpl::add(const std::string& parentPath, const std::string& name, const std::string& value) {
  if (Node* parent = single(parentPath)) parent->add(Factory::createLeaf(name, value));
}

void IConfigImpl::load(const std::string& fileName) {
  tree()->setRoot(nullptr);
  std::ifstream in(fileName, std::ios::in | std::ios::binary);
  if (!in) return;
  tree()->setRoot(readConfig(in).release());
}

void IConfigImpl::save(const std::string& fileName) {
  if (const Node* root = tree()->getRoot()) replaceFile(fileName, root->toString(0));
}

std::string IConfigImpl::get(const std::string& path) {
  const Node* node = single(path);
  return node != nullptr ? node->getValue() : std::string();
}

void IConfigImpl::children(const std::string& path, std::list<Node*>& out) {
  if (Node* node = single(path)) node->getChildren(out);
}

void IConfigImpl::set(const std::string& path, const std::string& value) {
  if (Node* node = single(path)) node->setValue(value);
}
