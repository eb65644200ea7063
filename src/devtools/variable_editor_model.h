#pragma once
// The variable editor's rules, apart from any window: its views of the variable store and the
// flag sets, where each cell lies, and what a press, a drag and the value box change. Every
// index a point can reach stays inside its view.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/variables.h"

namespace torvel {

enum class VarView { F, V, S, E, T, G, R, G2, G3 };
enum class VarLayout { None, Bits, Values };

VarLayout LayoutOf(VarView view);

// Bit grids: 50 cells of 16 × 16 in each of 20 rows, from (32, 40). Value tables: 20 cells of
// 40 × 16 in each of 25 rows, from (32, 20).
inline constexpr int kGridLeft = 32;
inline constexpr int kGridRight = 832;  // exclusive
inline constexpr int kBitTop = 40, kBitBottom = 360;
inline constexpr int kValueTop = 20, kValueBottom = 420;

// The cell (0..999) under (x, y) in `layout`, or nothing outside its cells.
std::optional<int> CellAt(VarLayout layout, int x, int y);

struct VariableEditorState {
  VarView view = VarView::F;
  int page = 0;       // 0 "+0", 1 "+500"; value tables only
  int selected = -1;  // index into the variable store, -1 before a press on a value table
  int hovered = -1;
  int drag = 0;  // 0 none, 1 setting, 2 clearing
};

// What an action changed: whether to draw again, and a variable whose new value the menus depend
// on (S000 or S028), when one was set.
struct VarEditResult {
  bool redraw = false;
  bool menusChanged = false;
};

// A press of the left (or another) button at (x, y).
VarEditResult PressAt(VariableEditorState& state, VarStore& vars, int x, int y, bool left);
VarEditResult MoveTo(VariableEditorState& state, VarStore& vars, int x, int y);
void Release(VariableEditorState& state);
// The value box: text that is a whole number within the int range is stored in the selected
// variable; other text stores nothing.
VarEditResult StoreValueText(VariableEditorState& state, VarStore& vars, std::string_view text);

// The hover label of cell `cell` (Shift-JIS): the variable or flag for F, V, S, E and T; for the
// picture views the name in the gallery's picture list (G at the cell, G2 and G3 1000 and 2000
// further on), for R the scene's script in the recollection table; "未登録" past their lists.
std::string HoverLabel(const VariableEditorState& state, int cell, const std::vector<std::string>& pictures,
                       const std::vector<std::string>& sceneScripts);

// The variable-store index of value cell `cell` of the current page, or -1 outside a value view.
int VariableIndexOf(const VariableEditorState& state, int cell);

}  // namespace torvel
