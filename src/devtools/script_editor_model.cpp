#include "devtools/script_editor_model.h"

#include <algorithm>
#include <cmath>

#include "resources/settings_store.h"
#include "resources/sjis.h"

namespace torvel {

int ClassifyEditedLine(std::string_view sjisLine) {
  if (sjisLine.empty()) return 0;
  const std::string upper = SjisUpper(sjisLine);
  const std::string_view rest = std::string_view(upper).substr(1);
  switch (upper[0]) {
    case '!': return kEditedVariable;
    case '*':
    case '@':
      if (rest.starts_with("SPR") || rest.starts_with("GR") || rest.starts_with("BG")) return kEditedPicture;
      if (rest.starts_with("IF")) return kEditedBranch;
      return kEditedCommand;
    case ';': return kEditedOther;
    case '{':
    case '}': return kEditedBranch;
    default: return kEditedText;
  }
}

int EditorTopLine(const DebugScriptSet& set, int pc) { return std::max(set.FirstLineAtOrAfter(pc) - 4, 0); }

int RestartTenLinesBack(const DebugScriptSet& set, int pc, int scriptSize) {
  const int line = set.FirstLineAtOrAfter(pc);
  return ClampRestartPosition(set.LineStart(std::max(line - 10, 0)), scriptSize);
}

int InsertionLine(const DebugScriptSet& set, int caretLine, int lineCount, std::optional<int> recordedPc, int pc) {
  const int last = std::max(lineCount, 0);
  if (caretLine >= 0 && caretLine < last) return caretLine;
  return std::clamp(set.FirstLineAtOrAfter(recordedPc.value_or(pc)), 0, last);
}

PictureSearchResult SearchPictures(const std::vector<const std::vector<std::string>*>& archiveNames,
                                   std::string_view word1, std::string_view word2, SearchMode mode) {
  PictureSearchResult result;
  std::string first = SjisUpper(word1);
  const std::string second = SjisUpper(word2);
  if (first.empty()) return result;
  if (first[0] == '#') {
    first.erase(0, 1);
    result.trim = true;
  }
  for (const std::vector<std::string>* names : archiveNames) {
    if (!names) continue;
    for (const std::string& stored : *names) {
      const std::string name = SjisUpper(stored);
      const bool hasFirst = name.find(first) != std::string::npos;
      const bool hasSecond = !second.empty() && name.find(second) != std::string::npos;
      bool take = false;
      if (hasFirst) {
        take = second.empty() || mode == SearchMode::Or || (mode == SearchMode::And && hasSecond) ||
               (mode == SearchMode::Not && !hasSecond);
      } else {
        take = mode == SearchMode::Or && hasSecond;
      }
      if (take) result.names.push_back(stored);
      if (result.names.size() > static_cast<size_t>(kThumbnailsDrawnMax)) break;
    }
  }
  return result;
}

ThumbnailGrid GridForResults(int results) {
  ThumbnailGrid grid;
  if (results <= 8) {
    grid = {5, 192, 150, 0};
  } else if (results <= 24) {
    grid = {8, 120, 100, 0};
  } else if (results <= 40) {
    grid = {10, 96, 75, 0};
  } else {
    grid = {12, 80, 60, 0};
  }
  grid.drawn = std::clamp(results, 0, kThumbnailsDrawnMax);
  return grid;
}

int ThumbnailAt(const ThumbnailGrid& grid, int x, int y) {
  if (x < 0 || y < 0 || x >= kThumbnailAreaWidth || y >= kThumbnailAreaHeight) return -1;
  const int column = x / grid.cellWidth;
  if (column >= grid.columns) return -1;
  const int cell = column + (y / grid.cellHeight) * grid.columns;
  return cell < grid.drawn ? cell : -1;
}

PixelRect TrimRegion(int width, int height, int start, int size) {
  const int w = static_cast<int>(std::floor(size * 1.333));
  const int left = static_cast<int>(std::floor(width / 2 - size * 1.333 * 0.5));
  const int x0 = std::clamp(left, 0, std::max(width, 0));
  const int y0 = std::clamp(start, 0, std::max(height, 0));
  const int x1 = std::clamp(left + w, 0, std::max(width, 0));
  const int y1 = std::clamp(start + size, 0, std::max(height, 0));
  if (x1 <= x0 || y1 <= y0) return {};
  return {x0, y0, x1 - x0, y1 - y0};
}

std::string FormatFilter(const PictureFilter& filter) {
  std::string out = filter.name;
  for (const std::string& word : filter.words) out += "," + word;
  out += "," + filter.word2;
  out += "," + std::to_string(static_cast<int>(filter.mode));
  out += "," + std::to_string(filter.trimStart);
  out += "," + std::to_string(filter.trimSize);
  return out;
}

PictureFilter ParseFilter(std::string_view record) {
  std::vector<std::string> fields;
  std::string field;
  for (char c : record) {
    if (c == ',' || c == ':') {
      fields.push_back(std::move(field));
      field.clear();
    } else {
      field.push_back(c);
    }
  }
  fields.push_back(std::move(field));
  auto text = [&](size_t i) { return i < fields.size() ? fields[i] : std::string(); };
  PictureFilter filter;
  filter.name = text(0);
  for (size_t i = 0; i < 8; ++i) filter.words[i] = text(1 + i);
  filter.word2 = text(9);
  auto number = [&](size_t i, int low, int high) -> std::optional<int> {
    if (i >= fields.size()) return std::nullopt;
    std::optional<int> value = ParseSettingInt(fields[i]);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
  };
  const std::optional<int> mode = number(10, 0, 2);
  if (!mode) return filter;
  filter.mode = static_cast<SearchMode>(*mode);
  const std::optional<int> start = number(11, 0, 300);
  if (!start) return filter;
  filter.trimStart = *start;
  const std::optional<int> size = number(12, 100, 600);
  if (!size) return filter;
  filter.trimSize = *size;
  return filter;
}

}  // namespace torvel
