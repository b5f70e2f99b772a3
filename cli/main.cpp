// numbrix-cli: the calculator on the command line.
#include <editline/readline.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "bignum/init.h"
#include "bignum/scratch.h"
#include "cli/Cli.h"
#include "cli/LongWork.h"
#include "config/AppDirectory.h"
#include "config/StaleFiles.h"

namespace {

// A line at the prompt with line editing; each non-blank line joins the
// session's history. Ctrl+C gives an empty line.
bool editedLine(const std::string& prompt, std::string& line) {
  char* read = readline(prompt.c_str());
  if (read == nullptr && cli::interruptRequested()) {
    // Ctrl+C at the prompt drops the line being typed, as in a shell.
    cli::forgetInterrupts();
    line.clear();
    std::cout << std::endl;
    return true;
  }
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
    std::cerr << "numbrix-cli: " << error << "\n"
              << "Try 'numbrix-cli --help'.\n";
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
  // The user constants live in "Constant" in the program's folder (the desktop program's too),
  // the number library's settings in its "bignum.ini".
  const std::filesystem::path folder = applicationDirectory(executableFolder(argv[0]));
  if (folder.empty())
    std::cerr << "numbrix-cli: warning: neither HOME nor XDG_CONFIG_HOME names a folder, so no user constants are "
                 "loaded\n";
  bignum::setSettingsFolder(folder.string());
  removeStaleTemporaries(folder);          // left by a copy of the desktop program killed while saving
  bignum::removeOrphanedScratchFolders();  // of copies that were killed
  const std::string constants = constantsFilePath(folder).string();
  const bool terminal = isatty(STDIN_FILENO) != 0;
  cli::catchInterrupts();
  const int progress = isatty(STDERR_FILENO) != 0 ? STDERR_FILENO : -1;
  return cli::run(options, constants,
                  {std::cin, std::cout, std::cerr, terminal, terminal ? editedLine : nullptr, progress});
}
