#pragma once
// The developer windows' own settings: a settings-store file for the game's GAME_ID under the
// folder "debug" of the per-user settings folder, section "DBG". The player's settings never
// share a file with them.
#include <filesystem>
#include <string_view>

#include "resources/settings_store.h"

namespace torvel {

inline constexpr std::string_view kDebugSettingsSection = "DBG";

inline std::filesystem::path DebugSettingsRoot(const std::filesystem::path& settingsFolder) {
  return settingsFolder / "debug";
}

inline std::filesystem::path DebugSettingsFile(const std::filesystem::path& settingsFolder, std::string_view gameId) {
  return SettingsFilePath(DebugSettingsRoot(settingsFolder), gameId);
}

inline SettingsStore DebugSettingsStore(const std::filesystem::path& settingsFolder, std::string_view gameId) {
  return SettingsStore(DebugSettingsRoot(settingsFolder), gameId, kDebugSettingsSection);
}

}  // namespace torvel
