// numbrix-cli: the calculator on the command line.
#include <editline/readline.h>
#include <unistd.h>

#include <cstdlib>

#include <iostream>

#include "cli/Cli.h"
#include "config/AppDirectory.h"

namespace {

// A line at the prompt with line editing; each non-blank line joins the
// session's history.
bool editedLine(const std::string& prompt, std::string& line) {
  char* read = readline(prompt.c_str());
  if (read == nullptr) return false;
  line = read;
  std::free(read);
  if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  cli::Options options;
  std::string error;
  if (!cli::parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::cerr << "numbrix-cli: " << error << "\n" << "Try 'numbrix-cli --help'.\n";
    return 2;
  }
  if (options.help) {
    std::cout << cli::helpText();
    return 0;
  }
  if (options.version) {
    std::cout << "numbrix-cli " NUMBRIX_VERSION "\n";
    return 0;
  }
  // The user constants live in "Constant" in the program's folder (the desktop program's too).
  const std::string constants = (applicationDirectory(executableFolder(argv[0])) / "Constant").string();
  const bool terminal = isatty(STDIN_FILENO) != 0;
  return cli::run(options, constants, {std::cin, std::cout, std::cerr, terminal, terminal ? editedLine : nullptr});
}
