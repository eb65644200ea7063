#include "sound/movie_path.h"

#include <algorithm>
#include <system_error>

#include "resources/sjis.h"

namespace torvel {

std::filesystem::path MovieFileInGame(const std::filesystem::path& gameDir, std::string_view scriptPath) {
  std::string text = SjisToUtf8(scriptPath);
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
  const std::filesystem::path relative(text);
  if (text.empty() || relative.is_absolute() || relative.has_root_name() || relative.has_root_directory()) return {};
  for (const auto& part : relative) {
    if (part == "..") return {};
  }
  std::error_code ec;
  const std::filesystem::path root = std::filesystem::canonical(gameDir, ec);
  if (ec) return {};
  const std::filesystem::path file = std::filesystem::canonical(root / relative, ec);
  if (ec || !std::filesystem::is_regular_file(file, ec)) return {};
  const auto [rootEnd, fileAt] = std::mismatch(root.begin(), root.end(), file.begin(), file.end());
  if (rootEnd != root.end()) return {};
  return file;
}
}  // namespace torvel
