#pragma once
// The selection tree: a two-level jump menu over the picture. The trees come from the `seltree`
// table, read once at start-up; `seltree N` shows tree N until the player clicks an entry that
// names a script to call.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

constexpr int kSelectionTreeCount = 12;
constexpr int kSelectionTreeEntries = 500;
constexpr int kSelectionTreeMaxDepth = 9;  // leading blanks counted as depth
// Hover codes: 1–5 a first-column row + 1, 6–10 a second-column row + 6.
constexpr int kSelectionTreeHoverRows = 5;
constexpr int kSelectionTreeSecondBase = 6;

struct TreeEntry {
  std::string label;
  int number = 0;      // kept from the table; the menu does not use it
  std::string target;  // SCRIPT or SCRIPT:LABEL; empty: the entry calls nothing
  int depth = 0;
};

using SelectionTreeTable = std::array<std::vector<TreeEntry>, kSelectionTreeCount>;

// Reads the `seltree` table: NUL-ended lines, trees one after another, each ended by "END";
// "ALLEND" ends the table. Entries past the 500th of a tree are read and dropped; trees past the
// twelfth are not read.
SelectionTreeTable ParseSelectionTrees(std::span<const uint8_t> table);

// One table line as an entry (depth from the leading blanks, then label, number and target).
TreeEntry ParseTreeEntry(std::string_view line);

// A tree can be shown when it has an entry at depth 0, the first column's only source.
bool TreeHasTopEntry(const std::vector<TreeEntry>& tree);

// The children of entry `parent`: the following entries one level deeper, up to the first entry
// no deeper than the parent; entries further down are passed over without ending the list.
std::vector<int> TreeChildren(const std::vector<TreeEntry>& tree, int parent);

struct SelectionTreeState {
  SelectionTreeTable trees;

  // The menu on screen; tree -1 when none is shown.
  int tree = -1;
  std::vector<int> firstRows;   // row → entry index
  std::vector<int> secondRows;  // row → entry index
  int hover = 0;
  std::string target;  // what a click calls; empty: nothing

  // The screen before the menu, the menu without buttons, and the highlighted buttons. The
  // normal look is the screen buffer itself while the menu is up.
  Bitmap saved;
  Bitmap base;
  Bitmap highlight;
  // tree1a, tree1b, tree2a, tree2b, tree3a, tree3b: image above mask.
  std::array<Bitmap, 6> buttons;
};

}  // namespace torvel
