#include <random>

#include "config/ComponentFactoryT.h"
#include "config/ConfigT.h"
#include "config/StoreFixture.h"

namespace {

using Node = ComponentT<std::string>;
using Factory = ComponentFactoryT<std::string>;

class FileFormat : public StoreFixture {};

TEST_F(FileFormat, TheVariablesExampleIsWrittenByteForByte) {
  IConfig* store = IConfig::instance(1);
  store->create("Variables");
  store->add("/", "y", "3.5");
  store->add("/", "x", "2");
  EXPECT_EQ(savedText(1), "Variables\n{\n\tx = 2;\n\ty = 3.5;\n}\n");
}

TEST_F(FileFormat, NestedBlocksAreFollowedByAnEmptyLine) {
  loadText("Root { b { c = 1; d { } } a = ; }");
  const std::string expected =
      "Root\n{\n"
      "\ta = ;\n"
      "\tb\n\t{\n\t\tc = 1;\n\t\td\n\t\t{\n\t\t}\n\n\t}\n\n"
      "}\n";
  const std::string first = savedText();
  EXPECT_EQ(first, expected);
  loadText(first);
  EXPECT_EQ(savedText(), expected) << "what the writer writes reads back to the same tree";
}

struct Readable {
  const char* what;
  std::string text;
  std::string saved;  // what save writes after loading `text`
};

class ReadableFiles : public StoreFixture, public ::testing::WithParamInterface<Readable> {};

TEST_P(ReadableFiles, LoadAsExpected) {
  loadText(GetParam().text);
  EXPECT_EQ(savedText(), GetParam().saved);
}

const std::string kAB = "R\n{\n\ta = 1;\n\tb = 2;\n}\n";

INSTANTIATE_TEST_SUITE_P(
    Reader, ReadableFiles,
    ::testing::Values(Readable{"plain", "R{a=1;b=2;}", kAB},
                      Readable{"comments and blank lines everywhere",
                               "# head\n\n  # indented\nR # after the name\n{ # brace\n\n a = 1; # one\n# between\n "
                               "b\n=\n2\n;\n}\n# tail\n",
                               kAB},
                      Readable{"carriage return line ends", "# c\r\nR\r\n{\r\n\ta = 1;\r\n\tb = 2;\r\n}\r\n", kAB},
                      Readable{"children sorted, comments dropped", "R { b = 2; # x\n a = 1; }", kAB},
                      Readable{"empty value", "R { a = ; }", "R\n{\n\ta = ;\n}\n"},
                      Readable{"only the first block is read", "R { a = 1; b = 2; } S { c = 3; }", kAB},
                      Readable{"text after the first block is never read", "R { a = 1; b = 2; } = ; { \x01 \x02", kAB},
                      Readable{"unterminated comment after the block", "R { a = 1; b = 2; } # no line end", kAB},
                      Readable{"no line end at all", "R{a=1;b=2;}", kAB},
                      Readable{"case and high bytes kept",
                               "Wurzel { Gr\xf6\xdf"
                               "e = \xe4\xf6\xfc; gr\xf6\xdf"
                               "e = X; }",
                               "Wurzel\n{\n\tGr\xf6\xdf"
                               "e = \xe4\xf6\xfc;\n\tgr\xf6\xdf"
                               "e = X;\n}\n"},
                      Readable{"quotes, slashes and control bytes 3..8 are word characters",
                               "R { \"q\" = a/b\\c; \x03\x08 = \x7f\xff; }",
                               "R\n{\n\t\x03\x08 = \x7f\xff;\n\t\"q\" = a/b\\c;\n}\n"},
                      Readable{"duplicate names keep file order", "R { k = 2; k = 1; k = 3; }",
                               "R\n{\n\tk = 2;\n\tk = 1;\n\tk = 3;\n}\n"}),
    [](const ::testing::TestParamInfo<Readable>& info) { return "case" + std::to_string(info.index); });

class UnreadableFiles : public StoreFixture,
                        public ::testing::WithParamInterface<std::pair<const char*, std::string>> {};

TEST_P(UnreadableFiles, LoadAsAnEmptyStore) {
  loadText("Previous { kept = no; }");
  loadText(GetParam().second);
  EXPECT_EQ(savedText(), "<none>") << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Reader, UnreadableFiles,
    ::testing::Values(std::pair<const char*, std::string>{"empty file", ""},
                      std::pair<const char*, std::string>{"only comments", "# one\n# two\n"},
                      std::pair<const char*, std::string>{"only blanks", " \t\r\n"},
                      std::pair<const char*, std::string>{"value of two words", "R { a = two words; }"},
                      std::pair<const char*, std::string>{"unterminated comment inside", "R { a = 1; # no line end"},
                      std::pair<const char*, std::string>{"unterminated comment before", "# no line end"},
                      std::pair<const char*, std::string>{"lone carriage return after a comment", "R { # c\r a = 1; }"},
                      std::pair<const char*, std::string>{"byte 0", std::string("R { a\0 = 1; }", 13)},
                      std::pair<const char*, std::string>{"byte 1", "R { \x01 = 1; }"},
                      std::pair<const char*, std::string>{"byte 2 in a comment", "# \x02\nR { a = 1; }"},
                      std::pair<const char*, std::string>{"missing semicolon", "R { a = 1 }"},
                      std::pair<const char*, std::string>{"missing closing brace", "R { a = 1;"},
                      std::pair<const char*, std::string>{"leaf without a name", "R { = 1; }"},
                      std::pair<const char*, std::string>{"two equals signs", "R { a = b = c; }"},
                      std::pair<const char*, std::string>{"does not begin with a block", "a = 1; R { }"},
                      std::pair<const char*, std::string>{"block without a name", "{ a = 1; }"},
                      std::pair<const char*, std::string>{"two words before the brace", "R S { }"},
                      std::pair<const char*, std::string>{"error in a nested block", "R { a = 1; N { b = ; c } }"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(FileFormat, NestingIsLimited) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "b{";
    text += "x=1;";
    for (int i = 0; i < depth; ++i) text += "}";
    return text;
  };
  auto loads = [this](const std::string& text) {
    loadText(text);
    return savedText() != "<none>";
  };
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

// Structural equality, independent of the writer.
void expectSameTree(const Node& a, const Node& b, const std::string& where) {
  const std::string here = where + "/" + a.getName();
  ASSERT_EQ(a.getName(), b.getName()) << here;
  ASSERT_EQ(a.childCount(), b.childCount()) << here;
  std::list<const Node*> left, right;
  a.getChildren(left);
  b.getChildren(right);
  const bool aIsLeaf = dynamic_cast<const Factory::Leaf*>(&a) != nullptr;
  ASSERT_EQ(aIsLeaf, dynamic_cast<const Factory::Leaf*>(&b) != nullptr) << here;
  if (aIsLeaf) {
    ASSERT_EQ(a.getValue(), b.getValue()) << here;
    return;
  }
  for (auto l = left.begin(), r = right.begin(); l != left.end(); ++l, ++r) expectSameTree(**l, **r, here);
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
    expectSameTree(*original, *tree->getRoot(), "");
    if (HasFatalFailure()) {
      ADD_FAILURE() << "round " << round << ":\n" << original->toString(0);
      return;
    }
    IConfig::instance(4)->save(file);
    EXPECT_EQ(readBytes(file), original->toString(0));
  }
}

}  // namespace
