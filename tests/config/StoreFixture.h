// Every configuration test starts and ends with all sixteen stores empty.
#pragma once

#include <gtest/gtest.h>

#include <list>
#include <string>

#include "config/IConfig.h"
#include "support/TempDir.h"

class StoreFixture : public ::testing::Test {
 protected:
  void SetUp() override { releaseAll(); }
  void TearDown() override { releaseAll(); }

  static void releaseAll() {
    for (int i = 0; i < 16; ++i) IConfig::instance(i)->release();
  }

  // Loads `text` into store `index` through a file.
  void loadText(const std::string& text, int index = 0) {
    const std::string file = dir.file("load-" + std::to_string(++loads_));
    writeBytes(file, text);
    IConfig::instance(index)->load(file);
  }

  // The text `save` writes for store `index`, or "<none>" when it writes nothing.
  std::string savedText(int index = 0) {
    const std::string file = dir.file("save-" + std::to_string(++saves_));
    IConfig::instance(index)->save(file);
    return std::filesystem::exists(file) ? readBytes(file) : "<none>";
  }

  static std::list<std::string> childNames(const std::string& path, int index = 0) {
    std::list<IConfig::Node*> nodes;
    IConfig::instance(index)->children(path, nodes);
    std::list<std::string> names;
    for (const auto* node : nodes) names.push_back(node->getName());
    return names;
  }

  TempDir dir;

 private:
  int loads_ = 0;
  int saves_ = 0;
};
