#pragma once
// The `view` table of the CG viewer: gallery pages, each a settings block and its sets of up to 50
// cells. Reading is pure: lines in, a page's layout and cell lines out; what is seen and drawn is
// the viewer's (scenes/cg_viewer.cpp).
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

constexpr int kViewCells = 50;          // cells 1–50 of a set
constexpr int kViewCellNames = 50;      // names of a picture cell
constexpr int kViewMaxSets = 100;       // SET is capped here
constexpr int kViewSetButtons = 18;     // P0–P17
constexpr int kViewPageButtons = 10;    // M0–M9
constexpr int kViewSetBlockLines = 51;  // key lines of one set block
constexpr int kViewUnplaced = -999;     // the x of a cell without a position

// A rectangle of the page, right and bottom exclusive; -1 everywhere when undefined.
struct ViewRect {
  int x1 = -1, y1 = -1, x2 = -1, y2 = -1;
  bool Defined() const { return x1 >= 0; }
  bool Contains(int x, int y) const { return Defined() && x >= x1 && x < x2 && y >= y1 && y < y2; }
};

// A set button (P) or a page button (M): active while min ≤ current set ≤ max.
struct ViewButton {
  ViewRect rect;
  int min = 0;
  int max = 99;
  int target = 0;  // set buttons: the set they open
  bool ActiveFor(int set) const { return rect.Defined() && set >= min && set <= max; }
};

// One numeric line of a set block: cell k and its fields (TYPE 0 picture names; TYPE 1 flag,
// script and caption; TYPE 2 a text).
struct ViewCellLine {
  int cell = 0;
  std::vector<std::string> fields;
};

struct ViewSet {
  std::string normal;               // empty: the page's GRA
  std::string highlight;            // empty: the page's GRA
  std::vector<ViewCellLine> cells;  // in the order of the block
};

struct ViewPageTable {
  int type = 0;
  std::string normal, highlight;
  std::string plate, plate2, digits;
  int music = 0;
  int cellWidth = 0, cellHeight = 0;
  int percentX = 0, percentY = 0;
  ViewRect next, prev, exit, caption;
  std::array<ViewButton, kViewSetButtons> setButtons{};
  std::array<ViewButton, kViewPageButtons> pageButtons{};
  std::array<int, kViewCells + 1> cellX{};
  std::array<int, kViewCells + 1> cellY{};
  std::vector<ViewSet> sets;  // SET of them (capped at 100), empty blocks when the table ends
};

// The table's NUL-ended lines, upper-cased (a last line without its NUL counts).
std::vector<std::string> ViewTableLines(std::span<const uint8_t> table);

// The page buttons that `:VIEW_0`'s first block gives every page; undefined ones when it has none.
std::array<ViewButton, kViewPageButtons> ReadGlobalPageButtons(const std::vector<std::string>& lines);

// Page `name` (upper case, without the ":"); nothing when the table has no such section.
std::optional<ViewPageTable> ReadViewPage(const std::vector<std::string>& lines, std::string_view name,
                                          const std::array<ViewButton, kViewPageButtons>& pageButtons);

// Every picture name of a TYPE 0 page in viewing order: set by set, line by line, name by name.
std::vector<std::string> ViewPictureNames(const ViewPageTable& page);

// A scene gallery line whose script field is set: its flag and its upper-case script name (what
// stands before a ":" label).
struct ViewScene {
  int flag = 0;
  std::string script;
};
std::vector<ViewScene> ViewSceneList(const ViewPageTable& page);

}  // namespace torvel
