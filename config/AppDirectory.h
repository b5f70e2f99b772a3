// The folder that holds the program's own files ("Config", "Constant", the
// help file). The folder of an installed executable is not writable, so:
//   1. $NUMBRIX_HOME when it is set and not empty;
//   2. the executable's folder when it is writable and already holds a
//      "Config" or "Constant" file (a portable copy);
//   3. $XDG_CONFIG_HOME/numbrix when that is an absolute path, else
//      $HOME/.config/numbrix when $HOME is an absolute path (a relative
//      value of either counts as unset);
//   4. none: an empty path, when neither of them applies.
// The folder of 1 and 3 is created when it does not exist (failures are silent:
// the files then simply cannot be read or written). Unless $NUMBRIX_HOME says
// so, nothing is created relative to the working folder: with no folder the
// caller must do without one.
#pragma once

#include <filesystem>
#include <string>

// `executableFolder` is the folder of the running program. Returns the folder
// chosen as above, or an empty path when there is none.
std::filesystem::path applicationDirectory(const std::filesystem::path& executableFolder);

// The folder of what the programs keep between sessions (the desktop
// program's history, the command line's prompt history):
// $XDG_STATE_HOME/numbrix when that is an absolute path, else
// $HOME/.local/state/numbrix when $HOME is; created when missing. An empty
// path when neither applies: nothing is then kept.
std::filesystem::path stateDirectory();

// The folder of the running program (from /proc/self/exe, else `fallback`'s folder).
std::filesystem::path executableFolder(const std::string& fallback);

// The settings file "Config" and the constants file "Constant" in the program
// folder `folder`; empty paths when there is no program folder.
std::filesystem::path settingsFilePath(const std::filesystem::path& folder);
std::filesystem::path constantsFilePath(const std::filesystem::path& folder);
