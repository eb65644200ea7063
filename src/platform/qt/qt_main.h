#pragma once
// Plays a game in the real window; `developer` adds the developer controls beside the picture.
// Returns the process exit code.
#include <filesystem>

namespace torvel {

int RunQt(int argc, char** argv, const std::filesystem::path& gameDir, bool developer = false);

}  // namespace torvel
