#include "devtools/variable_editor_model.h"

#include <cstdio>

#include "resources/settings_store.h"
#include "resources/sjis.h"

namespace torvel {

VarLayout LayoutOf(VarView view) {
  switch (view) {
    case VarView::V:
    case VarView::S: return VarLayout::Values;
    case VarView::T: return VarLayout::None;
    default: return VarLayout::Bits;
  }
}

std::optional<int> CellAt(VarLayout layout, int x, int y) {
  if (x < kGridLeft || x >= kGridRight) return std::nullopt;
  if (layout == VarLayout::Bits) {
    if (y < kBitTop || y >= kBitBottom) return std::nullopt;
    return 50 * ((y - kBitTop) / 16) + (x - kGridLeft) / 16;
  }
  if (layout == VarLayout::Values) {
    if (y < kValueTop || y >= kValueBottom) return std::nullopt;
    return 20 * ((y - kValueTop) / 16) + (x - kGridLeft) / 40;
  }
  return std::nullopt;
}

namespace {

// The flag set and bit of bit cell `cell` in a bit view.
void SetBit(VarView view, VarStore& vars, int cell, bool on) {
  switch (view) {
    case VarView::F: vars.F.Set(cell, on); break;
    case VarView::E: vars.E.Set(cell, on); break;
    case VarView::G: vars.D.Set(cell, on); break;
    case VarView::G2: vars.D.Set(1000 + cell, on); break;
    case VarView::G3: vars.D.Set(2000 + cell, on); break;
    case VarView::R: vars.C.Set(cell, on); break;
    default: break;
  }
}

bool AffectsMenus(int index) { return index == kSystemVarBase + 0 || index == kSystemVarBase + 28; }

}  // namespace

int VariableIndexOf(const VariableEditorState& state, int cell) {
  if (cell < 0 || cell >= 500) return -1;
  const int offset = (state.page == 1 ? 500 : 0) + cell;
  if (state.view == VarView::V) return kStoryVarBase + offset;
  if (state.view == VarView::S) return kSystemVarBase + offset;
  return -1;
}

VarEditResult PressAt(VariableEditorState& state, VarStore& vars, int x, int y, bool left) {
  VarEditResult result;
  const VarLayout layout = LayoutOf(state.view);
  const std::optional<int> cell = CellAt(layout, x, y);
  if (!cell) {
    state.drag = 0;
    return result;
  }
  state.drag = left ? 1 : 2;
  state.hovered = *cell;
  if (layout == VarLayout::Bits) {
    SetBit(state.view, vars, *cell, left);
    result.redraw = true;
    return result;
  }
  const int index = VariableIndexOf(state, *cell);
  if (index < 0) return result;
  int32_t& value = vars.vars[static_cast<size_t>(index)];
  // Wraps as the store's 32-bit arithmetic does rather than overflowing.
  value = static_cast<int32_t>(static_cast<uint32_t>(value) + (left ? 1u : 0xFFFFFFFFu));
  state.selected = index;
  result.redraw = true;
  result.menusChanged = AffectsMenus(index);
  return result;
}

VarEditResult MoveTo(VariableEditorState& state, VarStore& vars, int x, int y) {
  VarEditResult result;
  const VarLayout layout = LayoutOf(state.view);
  const std::optional<int> cell = CellAt(layout, x, y);
  if (!cell) {
    state.drag = 0;
    return result;
  }
  if (*cell == state.hovered) return result;
  state.hovered = *cell;
  if (layout == VarLayout::Bits && state.drag != 0) {
    SetBit(state.view, vars, *cell, state.drag == 1);
    result.redraw = true;
  }
  return result;
}

std::string HoverLabel(const VariableEditorState& state, int cell, const std::vector<std::string>& pictures,
                       const std::vector<std::string>& sceneScripts) {
  auto listed = [cell](const std::vector<std::string>& list, int offset) {
    const int index = offset + cell;
    if (cell < 0 || static_cast<size_t>(index) >= list.size()) return Utf8ToSjis("未登録");
    return list[static_cast<size_t>(index)];
  };
  const char* prefix = "F";
  int number = cell;
  switch (state.view) {
    case VarView::G: return listed(pictures, 0);
    case VarView::G2: return listed(pictures, 1000);
    case VarView::G3: return listed(pictures, 2000);
    case VarView::R: return listed(sceneScripts, 0);
    case VarView::F: prefix = "F"; break;
    case VarView::E: prefix = "E"; break;
    case VarView::T: prefix = "T"; break;
    case VarView::V:
    case VarView::S:
      // Value cells name the variable of the page shown.
      prefix = state.view == VarView::V ? "V" : "S";
      number += state.page == 1 ? 500 : 0;
      break;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%s%03d", prefix, number);
  return text;
}

void Release(VariableEditorState& state) { state.drag = 0; }

VarEditResult StoreValueText(VariableEditorState& state, VarStore& vars, std::string_view text) {
  VarEditResult result;
  if (LayoutOf(state.view) != VarLayout::Values || state.selected < 0 || state.selected >= kGlobalVarBase)
    return result;
  const std::optional<int> value = ParseSettingInt(text);
  if (!value) return result;
  vars.vars[static_cast<size_t>(state.selected)] = *value;
  result.redraw = true;
  result.menusChanged = AffectsMenus(state.selected);
  return result;
}

}  // namespace torvel
