#pragma once
// Plays a game in the real window. Returns the process exit code.
#include <filesystem>
#include <optional>

namespace torvel {

int RunQt(int argc, char** argv, const std::filesystem::path& gameDir, std::optional<bool> gameDirWritable = {});

}  // namespace torvel
