// numbrix-cli: the calculator on the command line.
#include <editline/readline.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>
#include <iostream>

#include "cli/Cli.h"

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
  // The user constants live in "Constant" beside the program.
  std::error_code failed;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
  const std::string constants = ((failed ? std::filesystem::path(argv[0]) : self).parent_path() / "Constant").string();
  const bool terminal = isatty(STDIN_FILENO) != 0;
  return cli::run(options, constants, {std::cin, std::cout, std::cerr, terminal, terminal ? editedLine : nullptr});
}
