// One configuration tree per store index, made on first use.
#pragma once

#include <memory>

#include "config/ComponentT.h"
#include "config/InstanceTable.h"

template <class T, int Tag>
class ConfigT {
 public:
  static constexpr int MaxIndex = 16;

  ConfigT() = default;
  ConfigT(const ConfigT&) = delete;
  ConfigT& operator=(const ConfigT&) = delete;
  virtual ~ConfigT() = default;

  // The tree of store `index` (0 to 15), made with no root on first use and
  // kept until the program exits. Refuses other indices with std::out_of_range.
  static ConfigT* instance(int index) {
    return table().get(index, [](int) { return new ConfigT(); });
  }

  // The root node, or null for an empty store. The tree keeps ownership.
  ComponentT<T>* getRoot() const { return root_.get(); }
  // Replaces the tree: the old one is destroyed, `root` (which may be null) is owned from now on.
  void setRoot(ComponentT<T>* root) { root_.reset(root); }

 private:
  // Function-local so that the table exists whenever the first tree is asked for.
  static InstanceTable<ConfigT, MaxIndex>& table() {
    static InstanceTable<ConfigT, MaxIndex> tables;
    return tables;
  }

  std::unique_ptr<ComponentT<T>> root_;
};
