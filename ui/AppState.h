// What the application keeps for its windows: where its files are and
// whether the windows stay on top.
#pragma once

#include <filesystem>

struct AppState {
  // The folder of "Config", "Constant" and the help file.
  std::filesystem::path directory;
  // The folder of the running program (where the built-in manual lies).
  std::filesystem::path programFolder;
  bool alwaysOnTop = false;
};
