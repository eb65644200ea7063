// The selection tree on screen: showing a tree, the hover of both columns, the click that calls
// an entry's script, and closing the menu.
#include <algorithm>
#include <cstdio>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "script/command_table.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kChoiceModeTree = 6;

constexpr int kBaseX = 0;
constexpr int kBaseY = 304;
constexpr int kLevelX = 34;
constexpr int kLevelY = 248;

constexpr int kRowTop = 352;
constexpr int kRowPitch = 46;
constexpr int kLabelTop = 360;
constexpr int kLabelPitch = 12;  // each label byte advances this far
constexpr int kColumnHeight = kRowPitch * kSelectionTreeHoverRows;

struct Column {
  int buttonX;
  int width;
  int hitLeft;
  int hitRight;  // inclusive
  int labelCentre;
};
constexpr Column kFirst{100, 280, 100, 379, 230};
constexpr Column kSecond{380, 330, 380, 709, 560};

// While the pointer crosses from a first-column row to the second column, the row keeps the
// hover inside this area.
constexpr int kHoldLeft = 359;
constexpr int kHoldRight = 730;
constexpr int kHoldTop = 322;
constexpr int kHoldBottom = 612;
constexpr int kSecondHoldBottomBase = 382;

constexpr int kBlinkPasses = 8;
constexpr int kBlinkPeriodMs = 80;
constexpr int kFadeStep = 8;
constexpr int kFadePeriodMs = 15;

enum Button { kTree1a, kTree1b, kTree2a, kTree2b, kTree3a, kTree3b };
constexpr const char* kButtonNames[] = {"tree1a", "tree1b", "tree2a", "tree2b", "tree3a", "tree3b"};

Rect ColumnRect(const Column& c) { return Rect{c.buttonX, kRowTop, c.buttonX + c.width, kRowTop + kColumnHeight}; }

Rect RowRect(const Column& c, int row) {
  const int y = kRowTop + kRowPitch * (row % kSelectionTreeHoverRows);
  return Rect{c.buttonX, y, c.buttonX + c.width, y + kRowPitch};
}

bool InRow(const Column& c, int row, int x, int y) {
  return x >= c.hitLeft && x <= c.hitRight && y >= kRowTop + 1 + kRowPitch * row && y < kRowTop + kRowPitch * (row + 1);
}

void CopyRect(const Bitmap& from, Bitmap& to, const Rect& r) {
  CopyRegion(from, r.left, r.top, to, r.left, r.top, r.Width(), r.Height());
}

}  // namespace

void TForm1::LoadSelectionTrees() {
  selectionTree.trees = SelectionTreeTable{};
  if (!LoadScript("seltree", 2)) return;
  selectionTree.trees = ParseSelectionTrees(std::span<const uint8_t>(script.aux.data(), script.auxSize));
}

int TForm1::CmdSeltree(std::string_view arg) {
  const int n = ReadInteger(arg);
  // A tree that does not exist, or has nothing for its first column, would be a menu nobody can
  // leave: the story goes on instead.
  if (n < 0 || n >= kSelectionTreeCount || !TreeHasTopEntry(selectionTree.trees[static_cast<size_t>(n)])) return 0;
  StopSkipAndAuto(false);
  ShowSelectionTree(n);
  return 1;
}

void TForm1::DrawTreeRow(int column, int row, int entry, Bitmap& normal, Bitmap& highlighted) {
  SelectionTreeState& t = selectionTree;
  const Column& c = column == 0 ? kFirst : kSecond;
  const int normalButton = column == 0 ? kTree1a : row == 0 ? kTree2a : kTree3a;
  const int y = kRowTop + kRowPitch * row;
  const std::string& label = t.trees[static_cast<size_t>(t.tree)][static_cast<size_t>(entry)].label;
  DrawStacked(normal, c.buttonX, t.buttons[static_cast<size_t>(normalButton)], y);
  DrawStringPitch(label, c.labelCentre, kLabelPitch, normal, 0, kLabelTop + kRowPitch * row);
  DrawStacked(highlighted, c.buttonX, t.buttons[static_cast<size_t>(normalButton + 1)], y);
  DrawStringPitch(label, c.labelCentre, kLabelPitch, highlighted, 2, kLabelTop + kRowPitch * row);
}

void TForm1::ShowSelectionTree(int n) {
  SelectionTreeState& t = selectionTree;
  t.tree = n;
  t.saved = layers.screen;
  t.base = layers.screen;
  {
    Bitmap picture;
    if (LoadImage("tree_base", picture)) DrawStacked(t.base, kBaseX, picture, kBaseY);
    char level[24];
    std::snprintf(level, sizeof level, "treelv%d", n + 1);
    picture = Bitmap();
    if (LoadImage(level, picture)) DrawStacked(t.base, kLevelX, picture, kLevelY);
  }
  for (size_t i = 0; i < t.buttons.size(); ++i) {
    t.buttons[i] = Bitmap();
    LoadImage(kButtonNames[i], t.buttons[i]);
  }
  t.firstRows.clear();
  t.secondRows.clear();
  t.hover = 0;
  t.target.clear();

  layers.screen = t.base;
  t.highlight = t.base;
  const std::vector<TreeEntry>& entries = t.trees[static_cast<size_t>(n)];
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].depth != 0) continue;
    const int row = static_cast<int>(t.firstRows.size());
    DrawTreeRow(0, row, static_cast<int>(i), layers.screen, t.highlight);
    t.firstRows.push_back(static_cast<int>(i));
  }
  SetTextColour(0);
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
  ctl.choiceMode = kChoiceModeTree;
  ctl.blockingScene = false;
}

void TForm1::SelectionTreeHover(int x, int y) {
  SelectionTreeState& t = selectionTree;
  if (ctl.choiceMode != kChoiceModeTree || t.tree < 0) return;
  const int firstCount = static_cast<int>(t.firstRows.size());
  const int secondCount = static_cast<int>(t.secondRows.size());
  // Only five rows of each column answer the pointer: the hover codes have room for no more.
  int v = 0;
  for (int r = 0; r < std::min(firstCount, kSelectionTreeHoverRows) && v == 0; ++r) {
    if (InRow(kFirst, r, x, y)) v = r + 1;
  }
  for (int r = 0; r < std::min(secondCount, kSelectionTreeHoverRows) && v == 0; ++r) {
    if (InRow(kSecond, r, x, y)) v = r + kSelectionTreeSecondBase;
  }
  const int c = t.hover;
  if (v == 0 && x > kHoldLeft && x < kHoldRight && y > kHoldTop) {
    if (c >= 1 && c < kSelectionTreeSecondBase) {
      if (y < kHoldBottom) v = c;
    } else if (static_cast<long long>(y) < kSecondHoldBottomBase + static_cast<long long>(kRowPitch) * secondCount) {
      v = c;
    }
  }
  if (v == c) return;

  const std::vector<TreeEntry>& entries = t.trees[static_cast<size_t>(t.tree)];
  const Rect secondArea = ColumnRect(kSecond);
  if (v >= 1 && v < kSelectionTreeSecondBase) {
    const int j = v - 1;
    CopyRect(t.base, layers.screen, secondArea);
    CopyRect(t.base, t.highlight, secondArea);
    host.Present(layers.screen, ColumnRect(kFirst));
    host.Present(t.highlight, RowRect(kFirst, j));
    const int parent = t.firstRows[static_cast<size_t>(j)];
    t.target = entries[static_cast<size_t>(parent)].target;
    t.secondRows = TreeChildren(entries, parent);
    // Rows below the column's area would stay behind when the column is cleared: only those
    // inside it are drawn.
    const int drawn = std::min(static_cast<int>(t.secondRows.size()), kSelectionTreeHoverRows);
    for (int k = 0; k < drawn; ++k) DrawTreeRow(1, k, t.secondRows[static_cast<size_t>(k)], layers.screen, t.highlight);
    SetTextColour(0);
    host.Present(layers.screen, secondArea);
  } else if (v >= kSelectionTreeSecondBase) {
    const int j = v - kSelectionTreeSecondBase;
    if (c != 0 && j < secondCount) {
      host.Present(layers.screen, secondArea);
      host.Present(t.highlight, RowRect(kSecond, j));
      t.target = entries[static_cast<size_t>(t.secondRows[static_cast<size_t>(j)])].target;
    }
  } else {
    CopyRect(t.base, layers.screen, secondArea);
    CopyRect(t.base, t.highlight, secondArea);
    host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
    t.target.clear();
    t.secondRows.clear();
  }
  t.hover = v;
}

void TForm1::SelectionTreeClick() {
  SelectionTreeState& t = selectionTree;
  if (ctl.choiceMode != kChoiceModeTree || t.tree < 0 || t.target.empty()) return;

  if (t.hover >= 1) {
    const bool second = t.hover >= kSelectionTreeSecondBase;
    const Rect row = second ? RowRect(kSecond, t.hover - kSelectionTreeSecondBase) : RowRect(kFirst, t.hover - 1);
    ctl.blockingScene = true;
    StartFrameClock();
    for (int pass = 0; pass < kBlinkPasses; ++pass) {
      host.Present(pass % 2 == 0 ? layers.screen : t.highlight, row);
      PaceFrame(kBlinkPeriodMs);
    }
    ctl.blockingScene = false;
  }

  layers.previous = layers.screen;
  layers.screen = t.saved;
  CrossfadeAnimated(kFadeStep, kFadePeriodMs);

  const std::string target = t.target;
  DropSelectionTree();
  const size_t colon = target.find(':');
  const std::string name = target.substr(0, colon);
  const std::string label = colon == std::string::npos ? std::string() : target.substr(colon + 1);
  // As a script call, except that a call that cannot be made changes nothing: the story goes on
  // after `seltree`, and the label is never looked for in the calling script.
  if (script.callDepth < kCallStackFrames) {
    const std::string caller = script.currentScript;
    const int returnPc = script.pc;
    if (LoadScript(name, 1)) {
      script.callStack[static_cast<size_t>(script.callDepth)] = CallFrame{caller, returnPc};
      script.currentScript = name.substr(0, std::min(name.size(), kScriptNameMax));
      WaitReset();
      ++script.callDepth;
      if (!label.empty()) Jump(label);
    }
  }
  SetTextColour(0);
  ctl.choiceMode = 0;
}

void TForm1::SelectionTreeRightClick() { ClickChoice(); }

void TForm1::DropSelectionTree() {
  SelectionTreeState& t = selectionTree;
  if (t.tree >= 0 && ctl.choiceMode == kChoiceModeTree) ctl.choiceMode = 0;
  t.tree = -1;
  t.firstRows.clear();
  t.secondRows.clear();
  t.hover = 0;
  t.target.clear();
  t.saved = Bitmap();
  t.base = Bitmap();
  t.highlight = Bitmap();
  for (Bitmap& b : t.buttons) b = Bitmap();
}

void TForm1::CloseSelectionTree() {
  if (selectionTree.tree < 0) return;
  // The story's picture comes back; the menu leaves nothing behind.
  layers.screen = selectionTree.saved;
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
  DropSelectionTree();
  ctl.choiceMode = 0;
}

}  // namespace torvel
