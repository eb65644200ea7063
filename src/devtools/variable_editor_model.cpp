#include "devtools/variable_editor_model.h"

#include "resources/settings_store.h"

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
