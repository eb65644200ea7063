#pragma once
// Plays a game in the real window. Returns the process exit code.
#include <filesystem>

namespace torvel {

int RunQt(int argc, char** argv, const std::filesystem::path& gameDir);

}  // namespace torvel
