// Movie paths from scripts: any bytes either name a file inside the game folder or nothing.
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "sound/movie_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path game = std::filesystem::temp_directory_path();
  const std::filesystem::path found =
      torvel::MovieFileInGame(game, std::string_view(reinterpret_cast<const char*>(data), size));
  if (!found.empty()) {
    const std::filesystem::path root = std::filesystem::canonical(game);
    if (found.string().compare(0, root.string().size(), root.string()) != 0) __builtin_trap();
  }
  return 0;
}
