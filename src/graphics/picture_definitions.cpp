// The definition lists of composite pictures.
#include "graphics/picture_definitions.h"

#include <algorithm>
#include <cstring>

#include "graphics/picture_arguments.h"
#include "resources/sjis.h"

namespace torvel {

namespace {
constexpr std::string_view kEndLine = ":END";
constexpr std::string_view kDebugOutLine = "$DEBUG_OUT";
}  // namespace

PictureDefinitions ParseDefinitions(std::span<const uint8_t> body) {
  PictureDefinitions list;
  bool exporting = false;
  size_t pos = 0;
  while (pos < body.size()) {
    const void* nul = std::memchr(body.data() + pos, 0, body.size() - pos);
    size_t end = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - body.data()) : body.size();
    std::string line = SjisUpper(std::string_view(reinterpret_cast<const char*>(body.data() + pos), end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    list.lines.push_back(line);
    if (line == kEndLine) break;
    if (line == kDebugOutLine) {
      exporting = true;
    } else if (exporting && line[0] == ':') {
      std::string name = line.substr(1);
      if (std::find(list.exportNames.begin(), list.exportNames.end(), name) == list.exportNames.end()) {
        list.exportNames.push_back(std::move(name));
      }
    }
  }
  return list;
}

bool FindDefinition(const PictureDefinitions& list, std::string_view name, std::vector<DefinitionPart>& parts) {
  parts.clear();
  std::string header = ":" + SjisUpper(name);
  auto it = std::find(list.lines.begin(), list.lines.end(), header);
  if (it == list.lines.end()) return false;
  for (++it; it != list.lines.end() && parts.size() < kMaxDefinitionParts; ++it) {
    const std::string& line = *it;
    if (line[0] == ':') break;
    DefinitionPart part;
    size_t comma = line.find(',');
    part.name = line.substr(0, comma);
    if (comma != std::string::npos) {
      std::string_view rest = std::string_view(line).substr(comma + 1);
      size_t second = rest.find(',');
      part.placed = true;
      part.x = ReadNumber(rest.substr(0, second));
      part.y = second == std::string_view::npos ? 0 : ReadNumber(rest.substr(second + 1));
    }
    parts.push_back(std::move(part));
  }
  return true;
}

}  // namespace torvel
