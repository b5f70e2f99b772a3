#include "config/AppDirectory.h"

#include <unistd.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

fs::path created(const fs::path& folder) {
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  return folder;
}

bool isPortableCopy(const fs::path& folder) {
  std::error_code ignored;
  const bool holdsFiles = fs::exists(folder / "Config", ignored) || fs::exists(folder / "Constant", ignored);
  return holdsFiles && access(folder.c_str(), W_OK) == 0;
}

}  // namespace

fs::path applicationDirectory(const fs::path& executableFolder) {
  if (const std::string home = environment("NUMBRIX_HOME"); !home.empty()) return created(home);
  if (!executableFolder.empty() && isPortableCopy(executableFolder)) return executableFolder;
  // Relative values are invalid (and would name a folder under wherever the program was started).
  if (const fs::path xdg = environment("XDG_CONFIG_HOME"); xdg.is_absolute()) return created(xdg / "numbrix");
  if (const fs::path home = environment("HOME"); home.is_absolute()) return created(home / ".config" / "numbrix");
  return {};
}

fs::path stateDirectory() {
  if (const fs::path xdg = environment("XDG_STATE_HOME"); xdg.is_absolute()) return created(xdg / "numbrix");
  if (const fs::path home = environment("HOME"); home.is_absolute())
    return created(home / ".local" / "state" / "numbrix");
  return {};
}

fs::path executableFolder(const std::string& fallback) {
  std::error_code failed;
  const fs::path self = fs::read_symlink("/proc/self/exe", failed);
  return (failed ? fs::path(fallback) : self).parent_path();
}

fs::path settingsFilePath(const fs::path& folder) { return folder.empty() ? fs::path() : folder / "Config"; }

fs::path constantsFilePath(const fs::path& folder) { return folder.empty() ? fs::path() : folder / "Constant"; }
