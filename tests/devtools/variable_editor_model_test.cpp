// The variable editor's hit tests at every edge, presses and drags in each view, and the value
// box.
#include <gtest/gtest.h>

#include "devtools/variable_editor_model.h"
#include "resources/sjis.h"

namespace torvel {
namespace {

TEST(VariableEditorTest, HitTestsAtEveryEdge) {
  struct Case {
    VarLayout layout;
    int x, y;
    int cell;  // -1: outside
  };
  const std::vector<Case> cases = {
      {VarLayout::Bits, 32, 40, 0},     {VarLayout::Bits, 31, 40, -1},    {VarLayout::Bits, 32, 39, -1},
      {VarLayout::Bits, 47, 55, 0},     {VarLayout::Bits, 48, 56, 51},    {VarLayout::Bits, 831, 40, 49},
      {VarLayout::Bits, 832, 40, -1},   {VarLayout::Bits, 831, 359, 999}, {VarLayout::Bits, 32, 360, -1},
      {VarLayout::Bits, 32, 440, -1},   {VarLayout::Values, 32, 20, 0},   {VarLayout::Values, 31, 20, -1},
      {VarLayout::Values, 32, 19, -1},  {VarLayout::Values, 71, 35, 0},   {VarLayout::Values, 72, 36, 21},
      {VarLayout::Values, 831, 20, 19}, {VarLayout::Values, 832, 20, -1}, {VarLayout::Values, 831, 419, 499},
      {VarLayout::Values, 32, 420, -1}, {VarLayout::None, 100, 100, -1},
  };
  for (const Case& c : cases) {
    std::optional<int> cell = CellAt(c.layout, c.x, c.y);
    EXPECT_EQ(cell.value_or(-1), c.cell) << static_cast<int>(c.layout) << " " << c.x << "," << c.y;
  }
}

TEST(VariableEditorTest, ValueCellsNeverLeaveTheirView) {
  struct Case {
    VarView view;
    int page, x, y, index;
  };
  const std::vector<Case> cases = {
      {VarView::V, 0, 32, 20, 0},    {VarView::V, 1, 32, 20, 500},    {VarView::V, 1, 831, 419, 999},
      {VarView::S, 0, 32, 20, 2000}, {VarView::S, 1, 831, 419, 2999}, {VarView::S, 1, 831, 420, -1},
  };
  for (const Case& c : cases) {
    VariableEditorState state;
    state.view = c.view;
    state.page = c.page;
    VarStore vars;
    PressAt(state, vars, c.x, c.y, true);
    EXPECT_EQ(state.selected, c.index) << c.x << "," << c.y;
    if (c.index >= 0) EXPECT_EQ(vars.vars[static_cast<size_t>(c.index)], 1);
    for (int g = 0; g < 10; ++g) EXPECT_EQ(vars.G(g), 0);
  }
}

TEST(VariableEditorTest, DragOverARowOfG2SetsPictureFlagsAndRightDragInG3Clears) {
  VarStore vars;
  VariableEditorState state;
  state.view = VarView::G2;
  const int row = 3;
  const int y = 40 + 16 * row + 5;
  PressAt(state, vars, 32 + 16 * 2, y, true);
  for (int x = 32 + 16 * 2; x <= 32 + 16 * 6 + 15; x += 4) MoveTo(state, vars, x, y);
  Release(state);
  MoveTo(state, vars, 32 + 16 * 9, y);  // no drag after release
  for (int c = 0; c < 50; ++c) EXPECT_EQ(vars.D.Test(1000 + 50 * row + c), c >= 2 && c <= 6) << c;
  EXPECT_FALSE(vars.D.Test(50 * row + 2));

  for (int n = 2000; n < 3000; ++n) vars.D.Set(n);
  state.view = VarView::G3;
  PressAt(state, vars, 32, 40, false);
  MoveTo(state, vars, 32 + 16, 40);
  MoveTo(state, vars, 32 + 16, 40 + 16);  // down to the next row
  EXPECT_FALSE(vars.D.Test(2000));
  EXPECT_FALSE(vars.D.Test(2001));
  EXPECT_FALSE(vars.D.Test(2051));
  EXPECT_TRUE(vars.D.Test(2002));
  // Leaving the cells ends the drag.
  MoveTo(state, vars, 900, 40);
  MoveTo(state, vars, 32 + 16 * 5, 40);
  EXPECT_TRUE(vars.D.Test(2005));
}

TEST(VariableEditorTest, EachBitViewWritesItsOwnSetAndPageDoesNothingThere) {
  struct Case {
    VarView view;
    FlagSet VarStore::*set;
    int base;
  };
  const std::vector<Case> cases = {{VarView::F, &VarStore::F, 0},     {VarView::E, &VarStore::E, 0},
                                   {VarView::G, &VarStore::D, 0},     {VarView::R, &VarStore::C, 0},
                                   {VarView::G2, &VarStore::D, 1000}, {VarView::G3, &VarStore::D, 2000}};
  for (const Case& c : cases) {
    for (int page : {0, 1}) {
      VarStore vars;
      VariableEditorState state;
      state.view = c.view;
      state.page = page;
      PressAt(state, vars, 831, 359, true);  // cell 999
      EXPECT_TRUE((vars.*c.set).Test(c.base + 999)) << static_cast<int>(c.view) << " page " << page;
      EXPECT_EQ(state.selected, -1);
    }
  }
  VarStore vars;
  VariableEditorState t;
  t.view = VarView::T;
  EXPECT_FALSE(PressAt(t, vars, 100, 100, true).redraw);
}

TEST(VariableEditorTest, ValueBoxStoresWholeNumbersOnly) {
  VarStore vars;
  VariableEditorState state;
  state.view = VarView::S;
  EXPECT_FALSE(StoreValueText(state, vars, "5").redraw);  // nothing selected yet
  PressAt(state, vars, 32 + 40 * 8, 20 + 16, true);       // S028
  ASSERT_EQ(state.selected, 2028);
  struct Case {
    const char* text;
    bool stored;
    int value;
  };
  for (Case c : std::vector<Case>{{"-", false, 1},
                                  {"", false, 1},
                                  {"12a", false, 1},
                                  {"99999999999", false, 1},
                                  {"-7", true, -7},
                                  {"2147483647", true, 2147483647},
                                  {"+3", true, 3}}) {
    vars.S(28) = 1;
    VarEditResult r = StoreValueText(state, vars, c.text);
    EXPECT_EQ(r.redraw, c.stored) << c.text;
    EXPECT_EQ(r.menusChanged, c.stored) << c.text;
    EXPECT_EQ(vars.S(28), c.value) << c.text;
  }
  state.page = 0;
  PressAt(state, vars, 32 + 40, 20, false);  // S001 down by one
  EXPECT_EQ(vars.S(1), -1);
  EXPECT_FALSE(StoreValueText(state, vars, "4").menusChanged);
  EXPECT_TRUE(PressAt(state, vars, 32, 20, true).menusChanged);  // S000
}

TEST(VariableEditorTest, HoverLabelsNameTheVariableOrTheGalleryEntry) {
  // Pictures 0..1000 and scenes 0..2; "未登録" past each list.
  std::vector<std::string> pictures(1001);
  pictures[7] = "EV_07";
  pictures[1000] = "EV_1000";
  const std::vector<std::string> scenes = {"", "K_DAY1", "K_DAY2"};
  struct Case {
    VarView view;
    int page;
    int cell;
    std::string label;
  };
  const std::string none = Utf8ToSjis("未登録");
  const std::vector<Case> cases = {
      {VarView::F, 0, 7, "F007"},   {VarView::E, 1, 999, "E999"}, {VarView::T, 0, 3, "T003"},
      {VarView::V, 0, 42, "V042"},  {VarView::V, 1, 42, "V542"},  {VarView::S, 1, 499, "S999"},
      {VarView::G, 0, 7, "EV_07"},  {VarView::G, 0, 999, ""},     {VarView::G2, 0, 0, "EV_1000"},
      {VarView::G2, 0, 1, none},    {VarView::G3, 0, 0, none},    {VarView::R, 0, 0, ""},
      {VarView::R, 0, 2, "K_DAY2"}, {VarView::R, 0, 3, none},     {VarView::G, 0, -1, none},
  };
  for (const Case& c : cases) {
    VariableEditorState state;
    state.view = c.view;
    state.page = c.page;
    EXPECT_EQ(HoverLabel(state, c.cell, pictures, scenes), c.label) << static_cast<int>(c.view) << " " << c.cell;
  }
}

}  // namespace
}  // namespace torvel
