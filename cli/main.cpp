// numbrix-cli: the calculator on the command line.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "cli/Cli.h"

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
  return cli::run(options, constants, {std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) != 0});
}
