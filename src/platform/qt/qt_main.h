#pragma once
// Plays a game in the real window; `developer` adds the developer controls beside the picture.
// Returns the process exit code.
#include <filesystem>
#include <optional>

namespace torvel {

int RunQt(int argc, char** argv, const std::filesystem::path& gameDir, std::optional<bool> gameDirWritable = {},
          bool developer = false);

}  // namespace torvel
