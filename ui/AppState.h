// What the application keeps for its windows: where its files are, whether
// the windows stay on top, the user's settings and the main window's layout.
#pragma once

#include <filesystem>
#include <string>

struct AppState {
  // The folder of "Config", "Constant" and the help file.
  std::filesystem::path directory{};
  // The folder of the running program (where the built-in manual lies).
  std::filesystem::path programFolder{};
  bool alwaysOnTop = false;
  // The log and results are kept between sessions.
  bool keepHistory = true;
  // Enter evaluates and Shift+Enter starts a new line (else Ctrl+Enter evaluates).
  bool enterEvaluates = false;
  // The main window's QWidget::saveGeometry and its splitter's QSplitter::saveState
  // as base64 texts; empty: the default layout.
  std::string mainGeometry{}, splitterState{};
};
