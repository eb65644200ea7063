#pragma once
// Where the program finds the games it brings along. Everything is found from the executable's
// own place, so an installed copy never depends on the folders of the machine that built it.
#include <filesystem>

namespace torvel {

// The folder holding the running executable (empty when it cannot be told).
std::filesystem::path ExecutableFolder();

// The bundled demo: `../share/torvel/demo` beside an installed executable, else the demo built
// beside it in the build tree (`../demo/game`). Empty when neither holds a game.
std::filesystem::path BundledDemoFolder(const std::filesystem::path& executableFolder);

// True for a game folder inside the installation's shared data (`../share/torvel`): such a folder
// belongs to the system, so its game keeps its saves in the per-user folder even when the
// folder could be written (by root).
bool IsInstalledGameFolder(const std::filesystem::path& gameDir, const std::filesystem::path& executableFolder);

}  // namespace torvel
