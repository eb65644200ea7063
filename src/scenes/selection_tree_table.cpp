// Reading the `seltree` table into trees of entries.
#include <algorithm>
#include <string_view>

#include "resources/sjis.h"
#include "scenes/selection_tree.h"
#include "script/command_table.h"

namespace torvel {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Fields 0 and 1 end at "," or ":"; the target is counted by commas alone, so a target keeps the
// colon before its label.
std::string_view Field(std::string_view line, int index, std::string_view separators) {
  size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const size_t at = line.find_first_of(separators, start);
    if (at == std::string_view::npos) return {};
    start = at + 1;
  }
  const size_t end = line.find_first_of(separators, start);
  return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace

TreeEntry ParseTreeEntry(std::string_view line) {
  TreeEntry entry;
  while (entry.depth < kSelectionTreeMaxDepth && !line.empty() && line.front() == ' ') {
    line.remove_prefix(1);
    ++entry.depth;
  }
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  entry.label = std::string(Field(line, 0, ",:"));
  entry.number = ReadInteger(Field(line, 1, ",:"));
  entry.target = std::string(TrimBlanks(Field(line, 2, ",")));
  return entry;
}

SelectionTreeTable ParseSelectionTrees(std::span<const uint8_t> table) {
  SelectionTreeTable trees;
  const std::string_view text(reinterpret_cast<const char*>(table.data()), table.size());
  size_t pos = 0;
  int tree = 0;
  while (pos < text.size() && tree < kSelectionTreeCount) {
    size_t end = text.find('\0', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    const std::string_view bare = TrimBlanks(line);
    if (bare.empty()) continue;
    const std::string word = SjisUpper(bare);
    if (word == "ALLEND") break;
    if (word == "END") {
      ++tree;
      continue;
    }
    std::vector<TreeEntry>& entries = trees[static_cast<size_t>(tree)];
    if (entries.size() < static_cast<size_t>(kSelectionTreeEntries)) entries.push_back(ParseTreeEntry(line));
  }
  return trees;
}

bool TreeHasTopEntry(const std::vector<TreeEntry>& tree) {
  return std::any_of(tree.begin(), tree.end(), [](const TreeEntry& e) { return e.depth == 0; });
}

std::vector<int> TreeChildren(const std::vector<TreeEntry>& tree, int parent) {
  std::vector<int> children;
  if (parent < 0 || parent >= static_cast<int>(tree.size())) return children;
  const int depth = tree[static_cast<size_t>(parent)].depth;
  for (size_t i = static_cast<size_t>(parent) + 1; i < tree.size(); ++i) {
    if (tree[i].depth <= depth) break;
    if (tree[i].depth == depth + 1) children.push_back(static_cast<int>(i));
  }
  return children;
}

}  // namespace torvel
