// Reading the `view` table.
#include "scenes/view_table.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "resources/sjis.h"
#include "script/command_table.h"

namespace torvel {

namespace {

struct KeyLine {
  std::string key;
  std::string value;
};

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// Fields of a value, split at any of `separators`; an empty value has one empty field.
std::vector<std::string> SplitFields(std::string_view value, std::string_view separators) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t i = 0; i < value.size(); i += SjisCharLength(value, i)) {
    if (separators.find(value[i]) != std::string_view::npos) {
      fields.emplace_back(value.substr(start, i - start));
      start = i + 1;
    }
  }
  fields.emplace_back(value.substr(start));
  return fields;
}

int Field(const std::vector<std::string>& fields, size_t i, int fallback) {
  return i < fields.size() && !fields[i].empty() ? ReadInteger(fields[i]) : fallback;
}

ViewRect ReadRect(const std::vector<std::string>& f) {
  return ViewRect{Field(f, 0, -1), Field(f, 1, -1), Field(f, 2, -1), Field(f, 3, -1)};
}

// One block from `pos`: empty lines and "{" lines are passed over, every other line up to "}" is a
// key line; a block of `maxLines` key lines also ends there (a "}" right after it belongs to it).
std::vector<KeyLine> ReadBlock(const std::vector<std::string>& lines, size_t& pos, size_t maxLines) {
  std::vector<KeyLine> block;
  while (pos < lines.size()) {
    const std::string& line = lines[pos++];
    if (line.empty() || line == "{") continue;
    if (line == "}") return block;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
      block.push_back(KeyLine{line, std::string()});
    } else {
      block.push_back(KeyLine{line.substr(0, colon), line.substr(colon + 1)});
    }
    if (block.size() >= maxLines) {
      while (pos < lines.size() && lines[pos].empty()) ++pos;
      if (pos < lines.size() && lines[pos] == "}") ++pos;
      return block;
    }
  }
  return block;
}

// M0–M9: a page button with an optional active range.
bool ReadPageButton(const KeyLine& k, std::array<ViewButton, kViewPageButtons>& buttons) {
  if (k.key.size() != 2 || k.key[0] != 'M' || !std::isdigit(static_cast<unsigned char>(k.key[1]))) return false;
  const std::vector<std::string> f = SplitFields(k.value, ",:");
  ViewButton& b = buttons[static_cast<size_t>(k.key[1] - '0')];
  b.rect = ReadRect(f);
  b.min = Field(f, 4, 0);
  b.max = Field(f, 5, 99);
  return true;
}

size_t FindSection(const std::vector<std::string>& lines, std::string_view name) {
  const std::string wanted = ":" + std::string(name);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == wanted) return i + 1;
  }
  return lines.size() + 1;
}

}  // namespace

std::vector<std::string> ViewTableLines(std::span<const uint8_t> table) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < table.size()) {
    const void* nul = std::memchr(table.data() + start, 0, table.size() - start);
    const size_t end = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - table.data()) : table.size();
    std::string_view line(reinterpret_cast<const char*>(table.data() + start), end - start);
    // Tables written on Windows may keep the carriage return of their line ends.
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    lines.push_back(SjisUpper(line));
    start = end + 1;
  }
  return lines;
}

std::array<ViewButton, kViewPageButtons> ReadGlobalPageButtons(const std::vector<std::string>& lines) {
  std::array<ViewButton, kViewPageButtons> buttons{};
  size_t pos = FindSection(lines, "VIEW_0");
  if (pos > lines.size()) return buttons;
  for (const KeyLine& k : ReadBlock(lines, pos, lines.size())) ReadPageButton(k, buttons);
  return buttons;
}

std::optional<ViewPageTable> ReadViewPage(const std::vector<std::string>& lines, std::string_view name,
                                          const std::array<ViewButton, kViewPageButtons>& pageButtons) {
  size_t pos = FindSection(lines, name);
  if (pos > lines.size()) return std::nullopt;
  ViewPageTable page;
  page.pageButtons = pageButtons;
  page.cellX.fill(kViewUnplaced);
  page.cellY.fill(kViewUnplaced);
  int setCount = 0;
  for (const KeyLine& k : ReadBlock(lines, pos, lines.size())) {
    const std::vector<std::string> f = SplitFields(k.value, ",:");
    const std::string& key = k.key;
    if (key == "TYPE") {
      page.type = Field(f, 0, 0);
    } else if (key == "GRA") {
      page.normal = f[0];
      page.highlight = f.size() > 1 ? f[1] : std::string();
    } else if (key == "PLATE") {
      page.plate = f[0];
    } else if (key == "PLATE2") {
      page.plate2 = f[0];
    } else if (key == "SET") {
      setCount = std::clamp(Field(f, 0, 0), 0, kViewMaxSets);
    } else if (key == "MUSIC") {
      page.music = Field(f, 0, 0);
    } else if (key == "THM_SIZE") {
      page.cellWidth = Field(f, 0, 0);
      page.cellHeight = Field(f, 1, 0);
    } else if (key == "NEXT") {
      page.next = ReadRect(f);
    } else if (key == "PREV") {
      page.prev = ReadRect(f);
    } else if (key == "EXIT") {
      page.exit = ReadRect(f);
    } else if (key == "CAPTION") {
      page.caption = ReadRect(f);
    } else if (key == "PER_NUM") {
      page.digits = f[0];
    } else if (key == "PER_POS") {
      page.percentX = Field(f, 0, 0);
      page.percentY = Field(f, 1, 0);
    } else if (key.size() >= 2 && key.size() <= 3 && key[0] == 'P' && AllDigits(key.substr(1))) {
      const int n = ReadInteger(key.substr(1));
      if (n >= kViewSetButtons) continue;  // P18 and up name no button
      ViewButton& b = page.setButtons[static_cast<size_t>(n)];
      b.rect = ReadRect(f);
      b.min = Field(f, 4, 0);
      b.max = Field(f, 5, 99);
      b.target = Field(f, 6, n);
    } else if (ReadPageButton(k, page.pageButtons)) {
    } else if (AllDigits(key)) {
      const int n = ReadInteger(key);
      if (n < 0 || n > kViewCells) continue;
      page.cellX[static_cast<size_t>(n)] = Field(f, 0, kViewUnplaced);
      page.cellY[static_cast<size_t>(n)] = Field(f, 1, kViewUnplaced);
    }
  }
  page.sets.resize(static_cast<size_t>(setCount));
  for (ViewSet& set : page.sets) {
    for (const KeyLine& k : ReadBlock(lines, pos, kViewSetBlockLines)) {
      if (k.key == "GRA") {
        const std::vector<std::string> f = SplitFields(k.value, ",:");
        set.normal = f[0];
        set.highlight = f.size() > 1 ? f[1] : std::string();
        continue;
      }
      if (!AllDigits(k.key)) continue;
      const int n = k.key.size() > 3 ? 0 : ReadInteger(k.key);
      if (n < 1 || n > kViewCells) continue;
      // A scene's script may carry a ":" label, so scene lines are split at commas only.
      std::vector<std::string> f = SplitFields(k.value, page.type == 1 ? "," : ",:");
      if (page.type == 0) {
        std::erase(f, std::string());
        if (f.size() > static_cast<size_t>(kViewCellNames)) f.resize(kViewCellNames);
      }
      set.cells.push_back(ViewCellLine{n, std::move(f)});
    }
  }
  return page;
}

std::vector<std::string> ViewPictureNames(const ViewPageTable& page) {
  std::vector<std::string> names;
  if (page.type != 0) return names;
  for (const ViewSet& set : page.sets) {
    for (const ViewCellLine& cell : set.cells) names.insert(names.end(), cell.fields.begin(), cell.fields.end());
  }
  return names;
}

std::vector<ViewScene> ViewSceneList(const ViewPageTable& page) {
  std::vector<ViewScene> scenes;
  for (const ViewSet& set : page.sets) {
    for (const ViewCellLine& cell : set.cells) {
      if (cell.fields.size() < 2 || cell.fields[1].empty()) continue;
      const std::string& script = cell.fields[1];
      scenes.push_back(ViewScene{ReadInteger(cell.fields[0]), script.substr(0, script.find(':'))});
    }
  }
  return scenes;
}

}  // namespace torvel
