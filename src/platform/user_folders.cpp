#include "platform/user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace torvel {

namespace {
std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return std::filesystem::temp_directory_path();
}
}  // namespace

std::filesystem::path UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base = xdg && *xdg && xdg[0] == '/' ? std::filesystem::path(xdg) : HomeFolder() / ".config";
  return base / "torvel";
}

std::filesystem::path UserDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  std::filesystem::path base =
      xdg && *xdg && xdg[0] == '/' ? std::filesystem::path(xdg) : HomeFolder() / ".local" / "share";
  return base / "torvel";
}

std::filesystem::path UserRuntimeFolder() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  if (xdg && *xdg && xdg[0] == '/') return xdg;
  std::filesystem::path folder = std::filesystem::temp_directory_path() / ("torvel-" + std::to_string(getuid()));
  ::mkdir(folder.c_str(), 0700);
  return folder;
}

}  // namespace torvel
