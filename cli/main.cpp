// numbrix-cli: the calculator on the command line.
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "bignum/init.h"
#include "bignum/scratch.h"
#include "cli/Cli.h"
#include "cli/LineEditor.h"
#include "cli/LongWork.h"
#include "cli/PromptHistory.h"
#include "config/AppDirectory.h"
#include "config/StaleFiles.h"

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
  // Only a session at the prompt keeps its lines, in the folder kept between sessions.
  const bool prompting = terminal && options.inputs.empty();
  const std::filesystem::path state = prompting ? stateDirectory() : std::filesystem::path();
  cli::PromptHistory history(state.empty() ? state : state / "cli_history");
  if (prompting) cli::startLineEditing(history, std::cerr);
  const int status = cli::run(
      options, constants, {std::cin, std::cout, std::cerr, terminal, terminal ? cli::editedLine : nullptr, progress});
  if (prompting) cli::endLineEditing(std::cerr);
  return status;
}
