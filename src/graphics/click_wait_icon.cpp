// The click-wait icon: frames of `sys_clickw` blended over the screen on the service timer, in
// the window's corner or, on the full-screen page, after the last character.
#include <algorithm>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "shell/engine.h"

namespace torvel {

namespace {

Point IconPosition(const TForm1& e) {
  if (e.vars.S(kVarDisplayMode) == 1) {
    return {e.text.cursorCol * e.config.TX2_PITCH_X + e.config.TX2_OFS_X,
            e.text.cursorRow * e.config.TX2_PITCH_Y + e.config.TX2_OFS_Y};
  }
  return {e.textWindow.x + e.config.CLICK_WAIT_OFS_X, e.textWindow.y + e.config.CLICK_WAIT_OFS_Y};
}

}  // namespace

void TForm1::AnimateClickWaitIcon() {
  if (ctl.skipActive || BackgroundAnimationRunning()) return;
  TextWindow& w = textWindow;
  if (w.iconShown) ClickWaitErase();
  ++w.clickCounter;
  const int sizeX = w.clickWork.width;
  const int sizeY = w.clickWork.height;
  const int frames = std::max(1, config.CLICK_WAIT_PAT);
  const int timing = std::clamp(config.CLICK_WAIT_TIMING, 0, 31);
  const int frame = static_cast<int>((w.clickCounter >> timing) % static_cast<uint32_t>(frames));
  const Point at = IconPosition(*this);
  if (vars.S(kVarDisplayMode) == 1 && int64_t{at.y} + sizeY > kClickWaitLowestRow) return;
  if (sizeX == 0 || sizeY == 0) return;
  // The icon blends over the screen buffer's picture; parts off the screen or off the icon
  // sheet stay as the screen shows them.
  Rect shown = CopyRegion(layers.screen, at.x, at.y, w.clickWork, 0, 0, sizeX, sizeY);
  if (shown.Empty()) return;
  Bitmap colour(sizeX, sizeY), opacity(sizeX, sizeY);
  CopyRegion(w.clickIcon, frame * sizeX, 0, colour, 0, 0, sizeX, sizeY);
  CopyRegion(w.clickIcon, frame * sizeX, sizeY, opacity, 0, 0, sizeX, sizeY);
  const int groups = sizeX * 3 / 8;
  for (int r = 0; r < sizeY; ++r) {
    BlendRowsMasked(w.clickWork.Row(r), colour.Row(r), groups, opacity.Row(r), w.clickWork.Row(r));
  }
  Bitmap onWindow;
  if (!host.ReadWindow(onWindow) || onWindow.width != kScreenWidth || onWindow.height != kScreenHeight) {
    onWindow = layers.screen;
  }
  // `shown` is the part of the work buffer that lies on the screen.
  Rect area = CopyRegion(w.clickWork, shown.left, shown.top, onWindow, at.x + shown.left, at.y + shown.top,
                         shown.Width(), shown.Height());
  w.iconX = at.x;
  w.iconY = at.y;
  w.iconShown = true;
  if (!area.Empty()) host.Present(onWindow, area);
}

void TForm1::ClickWaitErase() {
  TextWindow& w = textWindow;
  if (vars.S(kVarDisplayMode) != 1) {
    w.iconX = w.x + config.CLICK_WAIT_OFS_X;
    w.iconY = w.y + config.CLICK_WAIT_OFS_Y;
  }
  const Rect area{std::max(0, w.iconX), std::max(0, w.iconY), std::min(kScreenWidth, w.iconX + w.clickWork.width),
                  std::min(kScreenHeight, w.iconY + w.clickWork.height)};
  if (!area.Empty() && !layers.screen.Empty()) host.Present(layers.screen, area);
  w.iconShown = false;
}

}  // namespace torvel
