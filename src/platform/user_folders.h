#pragma once
// The per-user folders of the engine on the desktop.
#include <filesystem>

namespace torvel {

// $XDG_CONFIG_HOME/torvel, or ~/.config/torvel: the settings store (the registry's place).
std::filesystem::path UserConfigFolder();

// $XDG_RUNTIME_DIR, or a private folder under the temporary folder: the single-instance lock.
std::filesystem::path UserRuntimeFolder();

}  // namespace torvel
