#include "expr/ConstantsFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <list>
#include <set>

#include "expr/Arithmetic.h"
#include "expr/FormatValue.h"

namespace constants_file {

namespace {

// Renames without replacing an existing `to`.
bool moveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the flag: a hard link cannot replace anything either.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace

bignum::bigfloat valueOf(const std::string& text) {
  return bignum::bigfloat(text.c_str(), arithmetic::literalDigits());
}

std::string textOf(const bignum::bigfloat& value) { return plainText(value); }

IConfig::LoadResult read(const std::string& path, Texts& out) {
  out.clear();
  IConfig* store = IConfig::instance(IConfig::ConstantsStore);
  const IConfig::LoadResult result = store->load(path);
  std::list<IConfig::Node*> nodes;
  store->children("/", nodes);
  for (const IConfig::Node* node : nodes) out[node->getName()] = node->getValue();
  store->release();
  return result;
}

bool write(const std::string& path, const Texts& texts) {
  IConfig* store = IConfig::instance(IConfig::ConstantsStore);
  store->create("Constant");
  for (const auto& [name, text] : texts) store->add("/", name, text);
  const bool saved = store->save(path) == ReplaceResult::Replaced;
  store->release();
  return saved;
}

Texts merge(const Texts& base, const Texts& ours, const Texts& theirs) {
  std::set<std::string> names;
  for (const Texts* texts : {&base, &ours, &theirs})
    for (const auto& entry : *texts) names.insert(entry.first);
  const auto entry = [](const Texts& texts, const std::string& name) -> const std::string* {
    const auto found = texts.find(name);
    return found == texts.end() ? nullptr : &found->second;
  };
  const auto same = [](const std::string* a, const std::string* b) { return a == b || (a && b && *a == *b); };
  Texts merged;
  for (const std::string& name : names) {
    const std::string* ourEntry = entry(ours, name);
    const std::string* kept = same(ourEntry, entry(base, name)) ? entry(theirs, name) : ourEntry;
    if (kept != nullptr) merged[name] = *kept;
  }
  return merged;
}

std::string setAside(const std::string& path) {
  for (int n = 0; n < 100; ++n) {
    std::string aside = path + ".bad";
    if (n != 0) aside.append(1, '.').append(std::to_string(n));
    if (moveWithoutReplacing(path, aside)) return aside;
    if (errno != EEXIST) return "";
  }
  return "";
}

bool putBack(const std::string& aside, const std::string& path) { return moveWithoutReplacing(aside, path); }

}  // namespace constants_file
