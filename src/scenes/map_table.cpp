#include "scenes/map_table.h"

#include "graphics/picture_arguments.h"
#include "resources/sjis.h"

namespace torvel {

namespace {

// The next line of a NUL-separated text, moving `pos` past it.
std::string_view NextLine(std::string_view text, size_t& pos) {
  const size_t end = std::min(text.find('\0', pos), text.size());
  std::string_view line = text.substr(pos, end - pos);
  pos = end + 1;
  return line;
}

// The field of a line at `index`, split at ","; `present` tells whether the line has it.
std::string_view Field(std::string_view line, int index, bool& present) {
  for (int i = 0; i < index; ++i) {
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
      present = false;
      return {};
    }
    line.remove_prefix(comma + 1);
  }
  present = true;
  return line.substr(0, line.find(','));
}

}  // namespace

MapSection ReadMapSection(std::string_view table, int chapter, const std::function<bool(int)>& flagSet) {
  MapSection out;
  const std::string heading = ":" + std::to_string(chapter);
  size_t pos = 0;
  while (pos < table.size() && !out.found) {
    const std::string line = SjisUpper(NextLine(table, pos));
    if (line == ":END") return out;
    out.found = line == heading;
  }
  if (!out.found) return out;
  while (pos < table.size()) {
    const std::string_view line = NextLine(table, pos);
    if (line.empty()) continue;
    if (line[0] == ':') break;
    bool present = false;
    const int area = ReadNumber(Field(line, 0, present));
    if (area < 1 || area > kMapAreas) continue;
    std::vector<MapDestination>& list = out.destinations[static_cast<size_t>(area)];
    if (list.size() >= static_cast<size_t>(kMaxDestinations)) continue;
    const std::string_view caption = Field(line, 1, present);
    const int value = ReadNumber(Field(line, 2, present));
    const std::string_view flag = Field(line, 3, present);
    if (present && !flag.empty() && !flagSet(ReadNumber(flag))) continue;
    list.push_back(MapDestination{std::string(caption), value});
  }
  return out;
}

}  // namespace torvel
