// The targets `web` may open.
#include "script/web_target.h"

#include <algorithm>

#include "resources/sjis.h"

namespace torvel {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SjisEqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool IsAddressByte(char c) { return c > ' ' && c < 0x7F; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<std::string> WebTarget(std::string_view text, const std::filesystem::path& gameDir) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
    if (!StartsWithNoCase(text, scheme)) continue;
    if (text.size() == scheme.size() || !std::all_of(text.begin(), text.end(), IsAddressByte)) return std::nullopt;
    return std::string(text);
  }
  // A file of the game: scripts write Windows paths, relative to the game folder.
  if (text.find(':') != std::string_view::npos) return std::nullopt;
  std::string name = SjisToUtf8(text);
  if (name.find("\xEF\xBF\xBD") != std::string::npos) return std::nullopt;  // did not convert
  std::replace(name.begin(), name.end(), '\\', '/');
  std::filesystem::path path(name);
  if (path.is_relative()) path = gameDir / path;
  std::error_code ec;
  const std::filesystem::path file = std::filesystem::canonical(path, ec);
  if (ec || !std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  const std::filesystem::path folder = std::filesystem::canonical(gameDir, ec);
  if (ec) return std::nullopt;
  // Inside the folder: the folder's components are a prefix of the file's.
  auto [f, p] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
  if (f != folder.end() || p == file.end()) return std::nullopt;
  return file.string();
}

}  // namespace torvel
