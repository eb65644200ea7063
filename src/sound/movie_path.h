#pragma once
// Where a movie named by a script may come from: a file inside the game folder.
#include <filesystem>
#include <string_view>

namespace torvel {

// The file a script's movie path (Shift-JIS, "\\" or "/" between folders, relative to the game
// folder) names, or an empty path when there is no such file or it lies outside the folder: an
// absolute path, a ".." step or a link that leads out is refused.
std::filesystem::path MovieFileInGame(const std::filesystem::path& gameDir, std::string_view scriptPath);

}  // namespace torvel
