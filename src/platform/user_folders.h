#pragma once
// The per-user folders of the engine on the desktop.
#include <filesystem>

namespace torvel {

// $XDG_CONFIG_HOME/torvel, or ~/.config/torvel: the settings store (the registry's place).
std::filesystem::path UserConfigFolder();

// $XDG_DATA_HOME/torvel, or ~/.local/share/torvel: save files of games whose own folder cannot be
// written, one subfolder per game (named from MAKER_REG and GAME_ID).
std::filesystem::path UserDataFolder();

// $XDG_RUNTIME_DIR, or a private folder under the temporary folder: the single-instance lock.
std::filesystem::path UserRuntimeFolder();

}  // namespace torvel
