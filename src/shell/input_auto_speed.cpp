// The auto-speed indicator: a click on its step marks chooses the auto speed.
#include <algorithm>

#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kVarChosenAutoSpeed = 27;
constexpr int kVarWindowUpper = 79;
constexpr int kPlacedOnScreen = 3;
}  // namespace

bool TForm1::AutoSpeedIndicatorClick(int x, int y) {
  const GameConfig& c = config;
  if (!text.windowShown || ctl.skipActive || vars.S(kVarAutoSpeed) == 0) return false;
  if (c.SPD_TW < 1 || c.SPD_TW > kPlacedOnScreen) return false;
  // Without marks or with marks of no length there is nothing to click on.
  if (c.SPD_MAX < 1 || c.SPD_DOT_SIZE < 1) return false;

  Point corner{c.SPD_OFS_X, c.SPD_OFS_Y};
  if (c.SPD_TW != kPlacedOnScreen) {
    corner.x += c.TXW_OFS_X;
    corner.y += vars.S(kVarWindowUpper) != 0 ? c.TXW_OFS_Y2 : c.TXW_OFS_Y;
  }
  const bool downwards = c.SPD_DIR == 0;
  // Along the marks: the space before the first mark, the marks, one mark's length after them.
  // Across: the marks' own offset and one mark's length.
  const long long along = downwards ? static_cast<long long>(y) - corner.y : static_cast<long long>(x) - corner.x;
  const long long across = downwards ? static_cast<long long>(x) - corner.x : static_cast<long long>(y) - corner.y;
  const long long firstMark = downwards ? c.SPD_DOT_OFS_Y : c.SPD_DOT_OFS_X;
  const long long acrossEnd = static_cast<long long>(downwards ? c.SPD_DOT_OFS_X : c.SPD_DOT_OFS_Y) + c.SPD_DOT_SIZE;
  const long long marksEnd = firstMark + static_cast<long long>(c.SPD_MAX) * c.SPD_DOT_SIZE;
  if (across < 0 || across >= acrossEnd || along < 0 || along >= marksEnd + c.SPD_DOT_SIZE) return false;

  int& speed = vars.S(kVarAutoSpeed);
  if (along < firstMark) {
    speed = static_cast<int>(std::min<long long>(speed + 1LL, c.SPD_MAX));
  } else if (along >= marksEnd) {
    speed = static_cast<int>(std::max<long long>(speed - 1LL, 1));
  } else {
    const int mark = static_cast<int>((along - firstMark) / c.SPD_DOT_SIZE);
    speed = downwards ? mark + 1 : c.SPD_MAX - mark;
  }
  vars.S(kVarChosenAutoSpeed) = speed;
  DrawQuickButtons(1);
  return true;
}

}  // namespace torvel
