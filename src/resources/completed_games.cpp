// The completed-games counter in the per-user settings store.
//
// A minimal reader and writer of its one value until the settings store lands: the key path's
// file in the host's settings folder, INI style, other lines kept as they are.
#include "resources/completed_games.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "resources/file_io.h"
#include "resources/sjis.h"

namespace torvel {

namespace {

constexpr std::string_view kKeyFile = "Software_Grevholt.ini";
constexpr std::string_view kSection = "vesk";
constexpr std::string_view kValue = "Clear";

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

int IncrementCompletedGames(Host& host) {
  const std::filesystem::path file = host.SettingsFolder() / std::string(kKeyFile);
  std::vector<uint8_t> bytes;
  std::vector<std::string> lines;
  if (ReadWholeFile(file, bytes)) {
    std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    while (!all.empty()) {
      size_t end = all.find('\n');
      lines.emplace_back(all.substr(0, end));
      all.remove_prefix(end == std::string_view::npos ? all.size() : end + 1);
    }
  }
  // Find the value in its section, remembering where the section is.
  int sectionLine = -1;
  int valueLine = -1;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = Trim(lines[i]);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      inSection = SjisEqualNoCase(line.substr(1, line.size() - 2), kSection);
      if (inSection && sectionLine < 0) sectionLine = static_cast<int>(i);
      continue;
    }
    size_t eq = line.find('=');
    if (inSection && eq != std::string_view::npos && SjisEqualNoCase(Trim(line.substr(0, eq)), kValue)) {
      valueLine = static_cast<int>(i);
    }
  }
  int count = 0;
  if (valueLine >= 0) {
    std::string_view value = Trim(std::string_view(lines[static_cast<size_t>(valueLine)])
                                      .substr(lines[static_cast<size_t>(valueLine)].find('=') + 1));
    std::from_chars(value.data(), value.data() + value.size(), count);
  }
  count = static_cast<int>(static_cast<unsigned>(count) + 1u);
  std::string entry = std::string(kValue) + "=" + std::to_string(count);
  if (valueLine >= 0) {
    lines[static_cast<size_t>(valueLine)] = entry;
  } else if (sectionLine >= 0) {
    lines.insert(lines.begin() + sectionLine + 1, entry);
  } else {
    lines.push_back("[" + std::string(kSection) + "]");
    lines.push_back(entry);
  }
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  WriteFileAtomically(file, out);
  return count;
}

}  // namespace torvel
