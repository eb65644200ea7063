// Reading `sys_flashbak`: the tab rows of page labels, then the titles and scripts by line.
#include <cstring>

#include "resources/sjis.h"
#include "scenes/recollection.h"

namespace torvel {

namespace {

std::vector<std::string> SplitAt(std::string_view text, std::string_view separators) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); i += SjisCharLength(text, i)) {
    if (separators.find(text[i]) != std::string_view::npos) {
      pieces.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

}  // namespace

RecollectionTable ParseRecollectionTable(std::span<const uint8_t> table) {
  RecollectionTable t;
  t.loaded = true;
  bool settings = true;
  int row = 0;
  size_t start = 0;
  while (start < table.size()) {
    const void* nul = std::memchr(table.data() + start, 0, table.size() - start);
    const size_t end = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - table.data()) : table.size();
    std::string_view raw(reinterpret_cast<const char*>(table.data() + start), end - start);
    start = end + 1;
    while (!raw.empty() && (raw.back() == '\r' || raw.back() == '\n')) raw.remove_suffix(1);
    const std::string line = SjisUpper(raw);
    if (line.empty()) continue;
    if (line == ":END") {
      if (!settings) {
        t.titles.push_back(line);
        t.scripts.emplace_back();
      }
      break;
    }
    if (settings) {
      if (line.rfind(":SETTING", 0) == 0) {
        row = 0;
        continue;
      }
      if (line[0] != ':') {
        if (row >= kRecollectionTabRows) continue;
        const std::vector<std::string> pieces = SplitAt(line, ",");
        int count = 0;
        for (const std::string& piece : pieces) {
          if (count >= kRecollectionTabPages) break;
          t.pages[static_cast<size_t>(row)][static_cast<size_t>(count++)] = ":" + piece;
        }
        t.pageCounts[static_cast<size_t>(row)] = count;
        ++row;
        continue;
      }
      t.tabCount = row;
      settings = false;
    }
    if (line[0] == ':' || line[0] == '*') {
      t.titles.push_back(line);
      t.scripts.emplace_back();
    } else {
      const std::vector<std::string> fields = SplitAt(line, ",:");
      t.titles.push_back(fields[0]);
      t.scripts.push_back(fields.size() > 1 ? fields[1] : std::string());
    }
  }
  if (settings) t.tabCount = row;
  return t;
}

RecollectionUnlock FindRecollectionUnlock(const RecollectionTable& table, std::string_view upperName) {
  RecollectionUnlock unlock;
  if (upperName.empty()) return unlock;
  for (size_t i = 0; i < table.scripts.size(); ++i) {
    if (table.scripts[i] != upperName) continue;
    unlock.line = static_cast<int>(i);
    for (size_t j = i; j-- > 1;) {
      const std::string& title = table.titles[j];
      if (!title.empty() && title[0] == '*' && title != "*") {
        unlock.header = static_cast<int>(j);
        break;
      }
    }
    break;
  }
  return unlock;
}

bool IsRecollectionScene(const RecollectionTable& table, int line) {
  return line > 0 && static_cast<size_t>(line) < table.scripts.size() &&
         !table.scripts[static_cast<size_t>(line)].empty();
}

}  // namespace torvel
