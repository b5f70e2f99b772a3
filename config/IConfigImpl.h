// The store of one index: every operation works on that index's tree.
#pragma once

#include "config/ConfigT.h"
#include "config/IConfig.h"

class IConfigImpl : public IConfig {
 public:
  using Tree = ConfigT<std::string, 0>;

  explicit IConfigImpl(int index) : index_(index) {}

  void release() override;
  void create(const std::string& rootName) override;
  void add(const std::string& parentPath, const std::string& name, const std::string& value) override;
  LoadResult load(const std::string& fileName) override;
  ReplaceResult save(const std::string& fileName) override;
  std::string get(const std::string& path) override;
  void children(const std::string& path, std::list<Node*>& out) override;
  void set(const std::string& path, const std::string& value) override;

 private:
  Tree* tree() const { return Tree::instance(index_); }
  // The one node `path` names, or null when it names none or several.
  Node* single(const std::string& path) const;

  int index_;
};
