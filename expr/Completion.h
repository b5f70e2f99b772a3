// The names a front end offers to complete what the user types: the built-in
// functions with their arguments, the named constants PI and E, the user
// constants and the variables.
#pragma once

#include <string>
#include <vector>

class IExprParser;

struct CompletionName {
  std::string name;   // what is typed, e.g. "log"
  std::string shown;  // what the list shows: "log(a, b)" for a function, else the name
  bool function = false;
  // What choosing it inserts: a function's name with its opening bracket, "log(".
  std::string insertion() const { return function ? name + "(" : name; }
};

// Every name of `parser` that starts with `prefix` (case-sensitive, as the
// language is), sorted by name with each name once: a variable or constant
// that shadows a function's name is offered as the function. An empty
// prefix gives all names.
std::vector<CompletionName> completionNames(const IExprParser& parser, const std::string& prefix = {});
// The same with `names` (variables, user constants) in place of the
// evaluator's own, for a caller that must not touch the evaluator.
std::vector<CompletionName> completionNames(const std::vector<std::string>& names, const std::string& prefix);

// The start of the name that ends at `cursor` in `text` (letters, digits and
// underlines, not starting with a digit): where completing would replace
// text. Returns `cursor` when no name ends there.
std::size_t nameStart(const std::string& text, std::size_t cursor);
