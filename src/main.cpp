// torvel: plays the game whose archives are in GAME_DIR (the bundled demo without one).
#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "devtools/game_lint.h"
#include "platform/headless/headless_run.h"
#include "platform/install_paths.h"
#include "platform/instance_lock.h"
#include "platform/user_folders.h"
#include "resources/storage_paths.h"
#ifdef TORVEL_HAVE_QT
#include "platform/qt/qt_main.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: torvel [GAME_DIR]\n"
    "       torvel --headless [--input FILE] [--frames N] [--shot FILE.png] [--state FILE.json] [--seed N] "
    "GAME_DIR\n"
    "       torvel --paths [GAME_DIR]   (where the settings and saves of the game live)\n"
    "       torvel --dev [GAME_DIR]     (with the developer controls beside the picture)\n"
    "       torvel --lint [GAME_DIR]    (checks the game's scripts and tables; exit 0 clean, 1 findings, 2 no game)\n"
    "       torvel --version\n";

bool ParseNumber(std::string_view text, long long& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  torvel::HeadlessRunOptions headless;
  bool isHeadless = false;
  bool printPaths = false;
  bool developer = false;
  bool lint = false;
  std::string gameDir;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        std::cerr << "torvel: " << name << " needs a value\n" << kUsage;
        std::exit(2);
      }
      return argv[++i];
    };
    long long number = 0;
    if (arg == "--headless") {
      isHeadless = true;
    } else if (arg == "--paths") {
      printPaths = true;
    } else if (arg == "--dev") {
      developer = true;
    } else if (arg == "--lint") {
      lint = true;
    } else if (arg == "--input") {
      headless.inputFile = value("--input");
    } else if (arg == "--shot") {
      headless.shotFile = value("--shot");
    } else if (arg == "--state") {
      headless.stateFile = value("--state");
    } else if (arg == "--frames" || arg == "--seed") {
      const char* text = value(argv[i]);
      if (!ParseNumber(text, number) || number < 0 || number > 0xFFFFFFFFLL) {
        std::cerr << "torvel: " << arg << " takes a number\n";
        return 2;
      }
      if (arg == "--frames") {
        headless.frames = static_cast<int>(std::min<long long>(number, 1 << 30));
      } else {
        headless.seed = static_cast<uint32_t>(number);
      }
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "torvel " << TORVEL_VERSION << "\n";
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << "torvel: unknown option " << arg << "\n" << kUsage;
      return 2;
    } else if (gameDir.empty()) {
      gameDir = std::string(arg);
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  const std::filesystem::path executableFolder = torvel::ExecutableFolder();
  if (gameDir.empty()) {
    gameDir = torvel::BundledDemoFolder(executableFolder).string();
    if (gameDir.empty()) {
      std::cerr << "torvel: the bundled demo is not installed; name a game folder\n" << kUsage;
      return 2;
    }
  }
  std::optional<bool> gameDirWritable;
  if (torvel::IsInstalledGameFolder(gameDir, executableFolder)) gameDirWritable = false;
  // The checker reads the archives only: no window, sound, lock or file written.
  if (lint) return torvel::RunLint(gameDir, std::cout, std::cerr);
  if (printPaths) {
    int status = torvel::PrintStoragePaths(gameDir, torvel::UserConfigFolder(), std::cout, torvel::UserDataFolder(),
                                           gameDirWritable);
    if (status != 0) std::cerr << "torvel: no game data in " << gameDir << "\n";
    return status;
  }
  if (isHeadless) {
    headless.gameDir = gameDir;
    headless.settingsFolder = torvel::UserConfigFolder();
    headless.dataFolder = torvel::UserDataFolder();
    headless.gameDirWritable = gameDirWritable;
    return torvel::RunHeadless(headless);
  }
#ifdef TORVEL_HAVE_QT
  // One windowed engine per user; headless runs take no lock, so tests run side by side.
  torvel::InstanceLock lock(torvel::UserRuntimeFolder());
  if (!lock.Held()) return 1;
  return torvel::RunQt(argc, argv, gameDir, gameDirWritable, developer);
#else
  std::cerr << "torvel: built without the window; use --headless\n";
  return 2;
#endif
}
