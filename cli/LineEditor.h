// The prompt with line editing: the lines of earlier sessions come back with
// the Up key, and Tab completes the name before the cursor.
#pragma once

#include <iosfwd>
#include <string>

namespace cli {

class PromptHistory;

// Sets up the prompt: loads `history` (its warning, if any, goes to `err`)
// into the line editor and makes Tab complete names from the evaluator
// (IExprParser::instance()). `history` must outlive the session.
void startLineEditing(PromptHistory& history, std::ostream& err);

// A line at the prompt into `line` (a LineReader of Cli.h); each line the
// history takes joins the editor's history too. Ctrl+C gives an empty line;
// false at the end of input (Ctrl+D).
bool editedLine(const std::string& prompt, std::string& line);

// Saves the history given to startLineEditing (its warning, if any, to `err`).
void endLineEditing(std::ostream& err);

}  // namespace cli
