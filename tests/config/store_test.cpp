#include <stdexcept>

#include "config/ComponentFactoryT.h"
#include "config/ConfigT.h"
#include "config/StoreFixture.h"

namespace {

using Names = std::list<std::string>;

class Store : public StoreFixture {};

TEST_F(Store, NeverLoadedStoreReadsEmptyAndWritesNothing) {
  IConfig* store = IConfig::instance(0);
  EXPECT_EQ(store->get("/dialogType"), "");
  EXPECT_EQ(store->get("/"), "");
  store->set("/dialogType", "mini");
  store->add("/", "x", "1");
  EXPECT_EQ(store->get("/dialogType"), "");
  EXPECT_EQ(store->get("/x"), "");
  const std::string file = dir.file("Config");
  store->save(file);
  EXPECT_FALSE(std::filesystem::exists(file)) << "a settings file must not be created from nothing";
  std::list<IConfig::Node*> out{nullptr};
  store->children("/", out);
  EXPECT_EQ(out.size(), 1u) << "children of a store without root leaves the list alone";
}

TEST_F(Store, SetChangesOnlyExistingLeaves) {
  loadText("Config { dialogType = normal; topMost = false; }");
  IConfig* store = IConfig::instance(0);
  store->set("/dialogType", "mini");
  store->set("/missing", "1");
  store->set("/", "root value");  // the root is a block: no effect
  EXPECT_EQ(store->get("/dialogType"), "mini");
  EXPECT_EQ(store->get("/missing"), "");
  EXPECT_EQ(savedText(), "Config\n{\n\tdialogType = mini;\n\ttopMost = false;\n}\n");
}

TEST_F(Store, FailedLoadEmptiesAStoreThatHeldATree) {
  loadText("Config { a = 1; }");
  ASSERT_EQ(IConfig::instance(0)->get("a"), "1");
  IConfig::instance(0)->load(dir.file("does-not-exist"));
  EXPECT_EQ(IConfig::instance(0)->get("a"), "");
  EXPECT_EQ(savedText(), "<none>");

  loadText("Config { a = 1; }");
  loadText("Config { a = 1 2; }");
  EXPECT_EQ(savedText(), "<none>");
}

TEST_F(Store, LeavesOfTheSameNameStayInAddOrder) {
  IConfig* store = IConfig::instance(1);
  store->create("Variables");
  store->add("/", "x", "first");
  store->add("/", "a", "other");
  store->add("/", "x", "second");
  EXPECT_EQ(store->get("/x"), "") << "two matches read as nothing";
  store->set("/x", "changed");

  std::list<IConfig::Node*> nodes;
  store->children("/", nodes);
  std::list<std::string> values;
  for (const auto* node : nodes) values.push_back(node->getName() + "=" + node->getValue());
  EXPECT_EQ(values, (Names{"a=other", "x=first", "x=second"}));
}

TEST_F(Store, ChildrenAreSortedByteByByte) {
  IConfig* store = IConfig::instance(2);
  store->create("Constant");
  for (const char* name : {"b", "\xe9t\xe9", "a", "B", "_x", "Z9", "9"}) store->add("/", name, "1");
  EXPECT_EQ(childNames("/", 2), (Names{"9", "B", "Z9", "_x", "a", "b", "\xe9t\xe9"}));
}

TEST_F(Store, PathSpellingsOfOneNode) {
  loadText("Config { dialogType = normal; }");
  for (const char* path :
       {"/dialogType", "dialogType", "  /  dialogType \t", "//dialogType//", "\r\n/dialogType\n", "/ /dialogType/ /"}) {
    EXPECT_EQ(IConfig::instance(0)->get(path), "normal") << "path [" << path << "]";
  }
  for (const char* path : {"/dialogtype", "/dialog Type", "/Config/dialogType", "/dialogType/x"}) {
    EXPECT_EQ(IConfig::instance(0)->get(path), "") << "path [" << path << "]";
  }
}

TEST_F(Store, PathsThroughNestedBlocks) {
  loadText("Root { a { x = 1; b { y = 2; } } a2 { x = 3; } dup { z = 4; } dup { z = 5; } }");
  IConfig* store = IConfig::instance(0);
  EXPECT_EQ(store->get("a/x"), "1");
  EXPECT_EQ(store->get("/a/b/y"), "2");
  EXPECT_EQ(store->get("a2/x"), "3");
  EXPECT_EQ(store->get("dup/z"), "") << "a segment before the last must name one node";
  EXPECT_EQ(store->get("/a"), "") << "a block has no value";
  EXPECT_EQ(childNames("a"), (Names{"b", "x"}));
  EXPECT_EQ(childNames(""), (Names{"a", "a2", "dup", "dup"}));

  store->set("a/b/y", "20");
  store->add("a/b", "w", "9");
  EXPECT_EQ(store->get("a/b/y"), "20");
  EXPECT_EQ(store->get("a/b/w"), "9");
}

TEST_F(Store, ChildrenOfALeafEmptiesTheListAndOfNothingKeepsIt) {
  loadText("Config { leaf = 1; }");
  std::list<IConfig::Node*> out{nullptr, nullptr};
  IConfig::instance(0)->children("/leaf", out);
  EXPECT_TRUE(out.empty());
  out = {nullptr};
  IConfig::instance(0)->children("/nothing", out);
  EXPECT_EQ(out.size(), 1u);
  IConfig::instance(0)->children("/", out);  // appends without emptying first
  EXPECT_EQ(out.size(), 2u);
}

TEST_F(Store, AddNeedsOneBlockAsParent) {
  loadText("Config { leaf = 1; dup { } dup { } }");
  IConfig* store = IConfig::instance(0);
  store->add("/leaf", "x", "1");     // a leaf: the new leaf is dropped
  store->add("/nothing", "x", "1");  // names nothing
  store->add("/dup", "x", "1");      // names two blocks
  EXPECT_EQ(savedText(), "Config\n{\n\tdup\n\t{\n\t}\n\n\tdup\n\t{\n\t}\n\n\tleaf = 1;\n}\n");
}

TEST_F(Store, CreateReplacesTheWholeTree) {
  IConfig* store = IConfig::instance(1);
  store->create("First");
  store->add("/", "x", "1");
  store->create("Second");
  EXPECT_EQ(store->get("x"), "");
  EXPECT_EQ(savedText(1), "Second\n{\n}\n");
}

TEST_F(Store, ReleaseEmptiesTheStoreAndInstanceMakesAFreshObject) {
  IConfig* store = IConfig::instance(3);
  store->create("Root");
  store->add("/", "x", "1");
  store->release();
  IConfig* fresh = IConfig::instance(3);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->get("x"), "");
  EXPECT_EQ(savedText(3), "<none>");
  EXPECT_EQ((ConfigT<std::string, 0>::instance(3)->getRoot()), nullptr);
}

TEST_F(Store, IndicesAreIndependent) {
  for (int i = 0; i < 16; ++i) {
    IConfig::instance(i)->create("Root");
    IConfig::instance(i)->add("/", "index", std::to_string(i));
  }
  EXPECT_EQ(IConfig::instance(0), IConfig::instance(0));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(IConfig::instance(i)->get("index"), std::to_string(i));
  IConfig::instance(5)->release();
  EXPECT_EQ(IConfig::instance(5)->get("index"), "");
  EXPECT_EQ(IConfig::instance(6)->get("index"), "6");
}

TEST_F(Store, IndicesOutsideTheTableAreRefused) {
  EXPECT_THROW(IConfig::instance(16), std::out_of_range);
  EXPECT_THROW(IConfig::instance(-1), std::out_of_range);
  EXPECT_THROW((ConfigT<std::string, 0>::instance(16)), std::out_of_range);
}

// The nodes on their own, as the reader and callers use them.
TEST(Nodes, LeafAndCompositeBehaviour) {
  using Factory = ComponentFactoryT<std::string>;
  std::unique_ptr<ComponentT<std::string>> block(Factory::createComposite("Root"));
  std::unique_ptr<ComponentT<std::string>> leaf(Factory::createLeaf("x", "2"));

  block->setValue("ignored");
  EXPECT_EQ(block->getValue(), "");
  block->getValue() = "scribbled on";  // the non-const form must not let a value stick
  EXPECT_EQ(block->getValue(), "");

  leaf->add(Factory::createLeaf("y", "3"));  // dropped (and freed)
  EXPECT_EQ(leaf->childCount(), 0);
  std::list<ComponentT<std::string>*> out{leaf.get()};
  leaf->getChildren(out);
  EXPECT_TRUE(out.empty());

  // The key is the name at the time of adding.
  ComponentT<std::string>* child = Factory::createLeaf("b", "1");
  block->add(child);
  child->setName("a");
  block->add(Factory::createLeaf("a", "2"));
  out.clear();
  block->find("b", out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out.front(), child);
  EXPECT_EQ(block->childCount(), 2);
  block->remove(child);  // no effect
  EXPECT_EQ(block->childCount(), 2);
  EXPECT_EQ(leaf->toString(2), "\t\tx = 2;");
}

}  // namespace
