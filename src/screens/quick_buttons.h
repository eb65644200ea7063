#pragma once
// The quick buttons and the auto-speed gauge: the six sheets the buttons take their looks from,
// the picture they are blended into, and the gauge's pictures.
#include <array>

#include "graphics/bitmap.h"

namespace torvel {

// Button indexes, in the order of the QB_ keys; each button's state is S060 + index.
enum QuickButton : int {
  qbSkip = 0,
  qbAuto = 1,
  qbHideWindow = 2,
  qbQuickSave = 3,
  qbQuickLoad = 4,
  qbBacklog = 5,
  qbVoiceReplay = 6,
  qbConfig = 7,
  qbWindowUp = 8,    // exists only while S079 = 0
  qbWindowDown = 9,  // exists only while S079 ≠ 0
  qbFaster = 10,
  qbSlower = 11,
  qbStatus = 12,  // the title's first screen; 13..18 its others
};

constexpr int kQuickButtonFirstVar = 60;  // S060..S078
constexpr int kQuickButtonStates = 3;     // 0 normal, 1 hovered, 2 on or pressed

// What DrawQuickButtons updates: 0 the screen buffer, 1 also the window and both window pictures,
// 2 only the first window picture (while the window is composed).
enum QuickButtonDraw : int { qbdScreen = 0, qbdFull = 1, qbdWindowPicture = 2 };

struct QuickButtons {
  // Type 1 sheets for states 0..2, then type 2 sheets; a missing one is empty.
  std::array<Bitmap, 2 * kQuickButtonStates> sheets;
  Bitmap composite;  // 800 × 600: the buttons blended over what lies under them
  Bitmap gaugeBar;   // `sys_autobar`, colour left and mask right
  Bitmap gaugeDot;   // `sys_auto`, colour left and mask right
  Bitmap gauge;      // the gauge as drawn: its base with the bar and the dots
  int hovered = 0;   // 0 none, else the hovered button's index + 1
};

}  // namespace torvel
