#include "cli/LineEditor.h"

#include <editline/readline.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "cli/LongWork.h"
#include "cli/PromptHistory.h"
#include "expr/Completion.h"
#include "expr/IExprParser.h"

namespace cli {

namespace {

PromptHistory* sessionHistory = nullptr;

// Every character that cannot be part of a name ends the word that Tab completes.
char wordBreaks[] = " \t\n!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~";

// What the completion under way offers, handed to the editor one at a time.
std::vector<std::string> candidates;

char* nextCandidate(const char* /*text*/, int state) {
  static std::size_t next = 0;
  if (state == 0) next = 0;
  return next < candidates.size() ? strdup(candidates[next++].c_str()) : nullptr;
}

// The editor's completion of the word `text` before the cursor: the names that
// complete the name it ends with, a function's with its opening bracket.
// Nothing when no name ends there (as in a number).
char** completeName(const char* text, int /*start*/, int /*end*/) {
  rl_attempted_completion_over = 1;  // never the editor's own file names
  const std::string word = text;
  const std::size_t start = nameStart(word, word.size());
  candidates.clear();
  if (start == word.size()) return nullptr;
  for (const CompletionName& name : completionNames(*IExprParser::instance(), word.substr(start)))
    candidates.push_back(word.substr(0, start) + name.insertion());
  return candidates.empty() ? nullptr : rl_completion_matches(text, nextCandidate);
}

// The editor's fallback completion: none.
char* noCompletion(const char* /*text*/, int /*state*/) { return nullptr; }

}  // namespace

void startLineEditing(PromptHistory& history, std::ostream& err) {
  sessionHistory = &history;
  rl_readline_name = "numbrix-cli";
  using_history();
  stifle_history(static_cast<int>(PromptHistory::kMaxLines));
  for (const std::string& line : history.load(err)) add_history(line.c_str());
  rl_attempted_completion_function = completeName;
  rl_completion_entry_function = noCompletion;
  rl_basic_word_break_characters = wordBreaks;
  rl_completer_word_break_characters = wordBreaks;
  rl_completion_append_character = '\0';  // "sqrt(" goes on with its argument
}

bool editedLine(const std::string& prompt, std::string& line) {
  char* read = readline(prompt.c_str());
  if (read == nullptr && interruptRequested()) {
    // Ctrl+C at the prompt drops the line being typed, as in a shell.
    forgetInterrupts();
    line.clear();
    std::cout << std::endl;
    return true;
  }
  if (read == nullptr) return false;
  line = read;
  std::free(read);
  if (sessionHistory != nullptr && sessionHistory->add(line)) add_history(line.c_str());
  return true;
}

void endLineEditing(std::ostream& err) {
  if (sessionHistory != nullptr) sessionHistory->save(err);
  sessionHistory = nullptr;
}

}  // namespace cli
