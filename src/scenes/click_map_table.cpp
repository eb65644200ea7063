// Reading maps of the `map` table: the name line, the region count and one line per region.
#include <algorithm>
#include <vector>

#include "resources/sjis.h"
#include "scenes/click_map.h"
#include "script/command_table.h"

namespace torvel {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

std::vector<std::string_view> SplitCommas(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

Rect Ordered(int x1, int y1, int x2, int y2) {
  return Rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

// The next NUL-ended line from `pos`; a last line without its NUL ends with the data. False at
// the end of the data.
bool NextLine(std::string_view text, size_t& pos, std::string_view& line) {
  if (pos >= text.size()) return false;
  size_t end = text.find('\0', pos);
  if (end == std::string_view::npos) end = text.size();
  line = text.substr(pos, end - pos);
  pos = end + 1;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

}  // namespace

ClickRegion ParseClickRegion(std::string_view line) {
  ClickRegion region;
  const std::vector<std::string_view> fields = SplitCommas(line);
  region.name = std::string(SjisCut(fields[0], kClickMapNameMax));
  auto number = [&](size_t i) { return i < fields.size() ? ReadInteger(fields[i]) : 0; };
  const char first = region.name.empty() ? '\0' : region.name[0];
  if (first == '$') {
    region.kind = ClickRegion::Kind::Colour;
    const std::string_view digits = std::string_view(region.name).substr(1);
    auto digit = [&](size_t i) { return static_cast<uint32_t>(i < digits.size() ? HexDigit(digits[i]) : 0); };
    region.key = digit(0) * 0x100000u + digit(1) * 0x1000u + digit(2) * 0x10u;
    region.cursor = number(1);
    return region;
  }
  region.rect = Ordered(number(1), number(2), number(3), number(4));
  if (first == '*') region.kind = ClickRegion::Kind::Shown;
  if (first == '#') {
    region.kind = ClickRegion::Kind::Placed;
    region.source = Rect{number(5), number(6), number(7), number(8)};
    region.destination =
        fields.size() > 10 ? Point{number(9), number(10)} : Point{region.source.left, region.source.top};
  }
  return region;
}

bool FindClickMap(std::span<const uint8_t> table, std::string_view name, ClickMapTable& map) {
  const std::string_view text(reinterpret_cast<const char*>(table.data()), table.size());
  const std::string wanted = SjisUpper(name);
  size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) {
    if (line.empty() || line[0] != ':' || line.size() - 1 < wanted.size()) continue;
    if (SjisUpper(line.substr(1, wanted.size())) != wanted) continue;
    map = ClickMapTable{};
    map.name = std::string(SjisCut(line.substr(1), kClickMapNameMax));
    std::string_view countLine;
    NextLine(text, pos, countLine);
    // A map holds at most 31 regions; a table that ends early holds only the lines it has.
    const int count = std::clamp(ReadInteger(countLine), 0, kClickMapSlots);
    std::string_view regionLine;
    for (int i = 1; i <= count && NextLine(text, pos, regionLine); ++i) {
      map.regions[static_cast<size_t>(i)] = ParseClickRegion(regionLine);
      map.regionCount = i;
    }
    return true;
  }
  return false;
}

bool ColourKeyAt(const Bitmap& parts, int x, int y, uint32_t key) {
  if (x < 0 || y < 0 || x >= parts.width || y >= parts.height) return false;
  const uint8_t* p = parts.At(x, y);
  const uint32_t colour = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  return (colour & 0xF0F0F0u) == key;
}

}  // namespace torvel
