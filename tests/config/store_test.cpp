// The configuration stores: paths, children and indices, and the file format
// they load and save.
#include <random>
#include <stdexcept>

#include "config/ComponentFactoryT.h"
#include "config/ConfigT.h"
#include "config/StoreFixture.h"

namespace {

using Names = std::list<std::string>;
using Node = ComponentT<std::string>;
using Factory = ComponentFactoryT<std::string>;

class Store : public StoreFixture {};

TEST_F(Store, NeverLoadedStoreReadsEmptyAndWritesNothing) {
  IConfig* store = IConfig::instance(0);
  store->set("/dialogType", "mini");
  store->add("/", "x", "1");
  EXPECT_EQ(store->get("/dialogType") + store->get("/") + store->get("/x"), "");
  EXPECT_EQ(savedText(), "<none>") << "a settings file must not be created from nothing";
  const std::string file = dir.file("Config");
  writeBytes(file, "old");
  store->save(file);
  EXPECT_EQ(readBytes(file), "old") << "nor one written over";
  std::list<IConfig::Node*> out{nullptr};
  store->children("/", out);
  EXPECT_EQ(out.size(), 1u) << "children of a store without root leaves the list alone";
}

// Set changes only a leaf its path names alone; add needs one block as parent.
TEST_F(Store, SetAndAddChangeOnlyWhatOnePathNames) {
  loadText("Config { dialogType = normal; leaf = 1; dup { } dup { } x = 1; x = 2; }");
  IConfig* store = IConfig::instance(0);
  store->set("/dialogType", "mini");
  store->set("/x", "changed");  // names two leaves
  store->set("/missing", "1");
  store->set("/", "root value");     // the root is a block
  store->add("/leaf", "x", "1");     // a leaf: the new leaf is dropped
  store->add("/nothing", "x", "1");  // names nothing
  store->add("/dup", "x", "1");      // names two blocks
  EXPECT_EQ(
      savedText(),
      "Config\n{\n\tdialogType = mini;\n\tdup\n\t{\n\t}\n\n\tdup\n\t{\n\t}\n\n\tleaf = 1;\n\tx = 1;\n\tx = 2;\n}\n");
  // Children of a leaf empty the list, of nothing keep it; they are appended.
  std::list<IConfig::Node*> out{nullptr, nullptr}, kept{nullptr};
  store->children("/leaf", out);
  store->children("/nothing", kept);
  store->children("/", kept);
  EXPECT_EQ(std::pair(out.size(), kept.size()), std::pair(std::size_t{0}, std::size_t{7}));
}

// Blanks, line ends and empty segments around names do not count; case does,
// and a segment before the last must name one block.
TEST_F(Store, PathsThroughNestedBlocks) {
  loadText("Root { dialogType = normal; a { x = 1; b { y = 2; } } a2 { x = 3; } dup { z = 4; } dup { z = 5; } }");
  IConfig* store = IConfig::instance(0);
  const struct {
    const char* path;
    const char* value;
  } cases[] = {
      // clang-format off
      {"/dialogType", "normal"}, {"dialogType", "normal"},      {"  /  dialogType \t", "normal"},
      {"//dialogType//", "normal"}, {"\r\n/dialogType\n", "normal"}, {"/ /dialogType/ /", "normal"},
      {"/dialogtype", ""},       {"/dialog Type", ""},          {"/Root/dialogType", ""},
      {"/dialogType/x", ""},     {"a/x", "1"},                  {"/a/b/y", "2"},
      {"a2/x", "3"},             {"dup/z", ""},                 {"/a", ""},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(store->get(c.path), c.value) << "path [" << c.path << "]";
  EXPECT_EQ(childNames("a"), (Names{"b", "x"}));
  EXPECT_EQ(childNames(""), (Names{"a", "a2", "dialogType", "dup", "dup"}));
  store->set("a/b/y", "20");
  store->add("a/b", "w", "9");
  EXPECT_EQ(store->get("a/b/y") + store->get("a/b/w"), "209");
}

// Sixteen stores apart from each other; create replaces a whole tree, release
// empties one, and instance makes it afresh; other indices are refused.
TEST_F(Store, IndicesAreIndependentAndReleaseEmptiesOne) {
  for (int i = 0; i < 16; ++i) {
    IConfig::instance(i)->create("Root");
    IConfig::instance(i)->add("/", "index", std::to_string(i));
  }
  for (int i = 0; i < 16; ++i) EXPECT_EQ(IConfig::instance(i)->get("index"), std::to_string(i));
  IConfig::instance(1)->create("Second");
  EXPECT_EQ(savedText(1), "Second\n{\n}\n");
  IConfig::instance(5)->release();
  EXPECT_EQ(savedText(5) + IConfig::instance(6)->get("index"), "<none>6");
  EXPECT_THROW(IConfig::instance(16), std::out_of_range);
  EXPECT_THROW(IConfig::instance(-1), std::out_of_range);
  EXPECT_THROW((ConfigT<std::string, 0>::instance(16)), std::out_of_range);
}

// The nodes on their own, as the reader and callers use them.
TEST(Nodes, LeafAndCompositeBehaviour) {
  std::unique_ptr<Node> block(Factory::createComposite("Root"));

  block->setValue("ignored");
  block->getValue() = "scribbled on";  // the non-const form must not let a value stick
  EXPECT_EQ(block->getValue(), "");

  // The key is the name at the time of adding.
  Node* child = Factory::createLeaf("b", "1");
  block->add(child);
  child->setName("a");
  block->add(Factory::createLeaf("a", "2"));
  std::list<Node*> out;
  block->find("b", out);
  EXPECT_EQ(out, std::list<Node*>{child});
  block->remove(child);  // no effect
  EXPECT_EQ(block->childCount(), 2);
}

// --- the file format -------------------------------------------------------

class FileFormat : public StoreFixture {};

// What save writes after loading each text: what the reader takes.
TEST_F(FileFormat, ReadableFilesLoadAsExpected) {
  const std::string ab = "R\n{\n\ta = 1;\n\tb = 2;\n}\n";
  const struct {
    const char* what;
    std::string text, saved;
  } cases[] = {
      {"plain, no line end at all", "R{a=1;b=2;}", ab},
      {"comments and blank lines everywhere",
       "# head\n\n  # indented\nR # after the name\n{ # brace\n\n a = 1; # one\n# between\n b\n=\n2\n;\n}\n# tail\n",
       ab},
      {"carriage return line ends", "# c\r\nR\r\n{\r\n\ta = 1;\r\n\tb = 2;\r\n}\r\n", ab},
      {"children sorted byte by byte, comments dropped", "R { b = 2; # x\n \xe9t = 5; a = 1; _x = 4; B = 3; 9 = 6; }",
       "R\n{\n\t9 = 6;\n\tB = 3;\n\t_x = 4;\n\ta = 1;\n\tb = 2;\n\t\xe9t = 5;\n}\n"},
      {"empty value", "R { a = ; }", "R\n{\n\ta = ;\n}\n"},
      {"text after the first block is never read", "R { a = 1; b = 2; } = ; { \x01 \x02", ab},
      {"unterminated comment after the block", "R { a = 1; b = 2; } # no line end", ab},
      {"case and high bytes kept", "Wurzel { Gr\xf6\xdf\x65 = \xe4\xf6\xfc; gr\xf6\xdf\x65 = X; }",
       "Wurzel\n{\n\tGr\xf6\xdf\x65 = \xe4\xf6\xfc;\n\tgr\xf6\xdf\x65 = X;\n}\n"},
      {"quotes, slashes and control bytes 3..8 are word characters", "R { \"q\" = a/b\\c; \x03\x08 = \x7f\xff; }",
       "R\n{\n\t\x03\x08 = \x7f\xff;\n\t\"q\" = a/b\\c;\n}\n"},
      {"duplicate names keep file order", "R { k = 2; k = 1; k = 3; }", "R\n{\n\tk = 2;\n\tk = 1;\n\tk = 3;\n}\n"},
      {"nested blocks, each followed by an empty line", "Root { b { c = 1; d { } } a = ; }",
       "Root\n{\n\ta = ;\n\tb\n\t{\n\t\tc = 1;\n\t\td\n\t\t{\n\t\t}\n\n\t}\n\n}\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    loadText(c.text);
    EXPECT_EQ(savedText(), c.saved);
  }
}

// A file the reader refuses, or one that is not there, empties a store that held a tree.
TEST_F(FileFormat, UnreadableFilesLoadAsAnEmptyStore) {
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      // clang-format off
      {"empty file", ""}, {"only comments", "# one\n# two\n"}, {"only blanks", " \t\r\n"},
      {"value of two words", "R { a = two words; }"}, {"unterminated comment inside", "R { a = 1; # no line end"},
      {"unterminated comment before", "# no line end"}, {"lone carriage return after a comment", "R { # c\r a = 1; }"},
      {"byte 0", std::string("R { a\0 = 1; }", 13)}, {"byte 1", "R { \x01 = 1; }"},
      {"byte 2 in a comment", "# \x02\nR { a = 1; }"}, {"missing semicolon", "R { a = 1 }"},
      {"missing closing brace", "R { a = 1;"}, {"leaf without a name", "R { = 1; }"},
      {"two equals signs", "R { a = b = c; }"}, {"does not begin with a block", "a = 1; R { }"},
      {"block without a name", "{ a = 1; }"}, {"two words before the brace", "R S { }"},
      {"error in a nested block", "R { a = 1; N { b = ; c } }"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    loadText("Previous { kept = no; }");
    loadText(c.text);
    EXPECT_EQ(savedText(), "<none>");
  }
  loadText("Previous { kept = no; }");
  IConfig::instance(0)->load(dir.file("does-not-exist"));
  EXPECT_EQ(savedText(), "<none>");
}

TEST_F(FileFormat, NestingIsLimited) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "b{";
    return text + "x=1;" + std::string(depth, '}');
  };
  const auto loads = [this](const std::string& text) { return loadText(text), savedText() != "<none>"; };
  EXPECT_TRUE(loads(nested(1000))) << "a thousand levels are read";
  EXPECT_FALSE(loads(nested(1001)));
  // Deeper files must neither exhaust the stack nor load.
  EXPECT_FALSE(loads(nested(200000)));
  EXPECT_FALSE(loads(nested(200000).substr(0, 400000)));
}

// --- Round trip of random trees --------------------------------------------

// Any word: bytes 3..255 but blank, tab, line ends and # ; = { }.
std::string randomWord(std::mt19937& rng, bool mayBeEmpty) {
  static const std::string forbidden = std::string("\t\n\r #;={}");
  std::uniform_int_distribution<int> length(mayBeEmpty ? 0 : 1, 6);
  std::uniform_int_distribution<int> byte(3, 255);
  std::uniform_int_distribution<int> letter(0, 5);
  std::string word;
  for (int n = length(rng); static_cast<int>(word.size()) < n;) {
    // Mostly a few letters, so that equal names happen; sometimes any byte.
    const char c = letter(rng) < 4 ? static_cast<char>("aAbB\xe9Z"[letter(rng)]) : static_cast<char>(byte(rng));
    if (forbidden.find(c) == std::string::npos) word += c;
  }
  return word;
}

Node* randomTree(std::mt19937& rng, int depth) {
  Node* block = Factory::createComposite(randomWord(rng, false));
  std::uniform_int_distribution<int> count(0, 5);
  std::uniform_int_distribution<int> kind(0, 3);
  for (int n = count(rng); n > 0; --n) {
    if (depth < 4 && kind(rng) == 0)
      block->add(randomTree(rng, depth + 1));
    else
      block->add(Factory::createLeaf(randomWord(rng, false), randomWord(rng, true)));
  }
  return block;
}

// The tree in a notation of its own, independent of the writer.
std::string dump(const Node& node) {
  std::list<const Node*> children;
  node.getChildren(children);
  const bool leaf = dynamic_cast<const Factory::Leaf*>(&node) != nullptr;
  std::string text = std::to_string(node.getName().size()) + ":" + node.getName();
  text += leaf ? "=" + std::to_string(node.getValue().size()) + ":" + node.getValue() : "{";
  for (const Node* child : children) text += dump(*child);
  return leaf ? text : text + "}";
}

TEST_F(FileFormat, RandomTreesReadBackEqual) {
  std::mt19937 rng(20261206);
  auto* tree = ConfigT<std::string, 0>::instance(4);
  for (int round = 0; round < 300; ++round) {
    std::unique_ptr<Node> original(randomTree(rng, 0));
    tree->setRoot(Factory::createComposite("placeholder"));
    const std::string file = dir.file("round-trip");
    writeBytes(file, original->toString(0));
    IConfig::instance(4)->load(file);
    ASSERT_NE(tree->getRoot(), nullptr) << "round " << round << ":\n" << original->toString(0);
    ASSERT_EQ(dump(*tree->getRoot()), dump(*original)) << "round " << round << ":\n" << original->toString(0);
    IConfig::instance(4)->save(file);
    EXPECT_EQ(readBytes(file), original->toString(0));
  }
}

}  // namespace
