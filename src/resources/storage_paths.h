#pragma once
// Where a game keeps what it writes: the player settings in the per-user store, the save slots
// and the global data files in the game's folder. `torvel --paths` prints it for the player.
#include <filesystem>
#include <optional>
#include <ostream>

namespace torvel {

// Reads the game's `_config` for its settings location and prints the places, one per line. The
// saves are in the game's folder, or under `dataFolder` when nothing can be created in the game's
// folder (`gameDirWritable` overrides the probe). Returns 0, or 1 when the folder holds no game
// data.
int PrintStoragePaths(const std::filesystem::path& gameDir, const std::filesystem::path& settingsFolder,
                      std::ostream& out, const std::filesystem::path& dataFolder = {},
                      std::optional<bool> gameDirWritable = {});

}  // namespace torvel
