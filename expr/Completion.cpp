#include "expr/Completion.h"

#include <map>

#include "expr/Function.h"
#include "expr/IExprParser.h"

namespace {

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::vector<CompletionName> completionNames(const IExprParser& parser, const std::string& prefix) {
  std::vector<std::string> names = parser.variableNames();
  for (const auto& entry : parser.constants()) names.push_back(entry.first);
  return completionNames(names, prefix);
}

std::vector<CompletionName> completionNames(const std::vector<std::string>& names, const std::string& prefix) {
  std::map<std::string, CompletionName> byName;
  const auto offer = [&](const std::string& name, const std::string& shown, bool function) {
    if (name.compare(0, prefix.size(), prefix) != 0) return;
    if (const auto found = byName.find(name); found != byName.end() && found->second.function) return;
    byName[name] = CompletionName{name, shown, function};
  };
  for (const auto& entry : Reflectable<Function>::creators())
    offer(entry.first, entry.first + (entry.first == "log" ? "(a, b)" : "(x)"), true);
  offer("PI", "PI", false);
  offer("E", "E", false);
  for (const std::string& name : names) offer(name, name, false);
  std::vector<CompletionName> offered;
  offered.reserve(byName.size());
  for (auto& entry : byName) offered.push_back(std::move(entry.second));
  return offered;
}

std::size_t nameStart(const std::string& text, std::size_t cursor) {
  if (cursor > text.size()) cursor = text.size();
  std::size_t start = cursor;
  while (start > 0 && isNameChar(text[start - 1])) --start;
  // A run that starts with digits is a number (or a number's tail): the name
  // begins after them, and only if a letter follows.
  while (start < cursor && text[start] >= '0' && text[start] <= '9') ++start;
  return start;
}
