// The quick buttons and the auto-speed gauge drawn over the window or the screen. Each button is
// blended from its state's sheet over the clean picture (what lies under it: the scene with the
// empty window, or the darkened full-screen page) into the composite picture, from which it is
// copied where it shows.
#include <algorithm>
#include <cstdint>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr const char* kSheetNames[2 * kQuickButtonStates] = {"sys_qbtn1", "sys_qbtn1_om", "sys_qbtn1_on",
                                                             "sys_qbtn2", "sys_qbtn2_om", "sys_qbtn2_on"};
constexpr char kGaugeBarPicture[] = "sys_autobar";
constexpr char kGaugeDotPicture[] = "sys_auto";
constexpr int kVarAutoSpeedSetting = 26;
constexpr int kVarWindowUpper = 79;
constexpr int kStateOn = 2;
// Positions come from the configuration and script variables; far enough outside the screen
// they all draw nothing, and the kernels' edge sums must not overflow.
constexpr int64_t kFarOutside = 1 << 20;
int Place(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kFarOutside, kFarOutside)); }

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// The screen rectangle of w × h at (x, y), clipped to the screen.
Rect OnScreen(int64_t x, int64_t y, int64_t w, int64_t h) {
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(x + w, kScreenWidth), bottom = std::min<int64_t>(y + h, kScreenHeight);
  if (right <= left || bottom <= top) return {};
  return Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
}

}  // namespace

void TForm1::InitQuickButtons() {
  QuickButtons& q = quickButtons;
  q.composite.Resize(kScreenWidth, kScreenHeight);
  for (size_t i = 0; i < q.sheets.size(); ++i) {
    q.sheets[i] = Bitmap();
    LoadImage(kSheetNames[i], q.sheets[i]);
  }
  q.gaugeBar = Bitmap();
  q.gaugeDot = Bitmap();
  LoadImage(kGaugeBarPicture, q.gaugeBar);
  LoadImage(kGaugeDotPicture, q.gaugeDot);
  q.gauge.Resize(textWindow.autoBacking.width, textWindow.autoBacking.height);
  q.hovered = 0;
  textWindow.x = config.TXW_OFS_X;
  textWindow.y = config.TXW_OFS_Y;
}

namespace {

// The dots i = first..last (inclusive) whose position start + step × i lies strictly between lo
// and hi; empty (first > last) when none does.
std::pair<int64_t, int64_t> VisibleDots(int64_t start, int64_t step, int64_t lo, int64_t hi, int64_t count) {
  int64_t first, last;
  if (step > 0) {
    first = FloorDiv(lo - start, step) + 1;
    last = CeilDiv(hi - start, step) - 1;
  } else {
    first = FloorDiv(start - hi, -step) + 1;
    last = CeilDiv(start - lo, -step) - 1;
  }
  return {std::max<int64_t>(first, 0), std::min<int64_t>(last, count - 1)};
}

}  // namespace

void TForm1::DrawQuickButtons(int kind) {
  if (ctl.interruptibleWait) return;
  if (ctl.screenMode != smScenario && ctl.screenMode != smPageBack) return;
  if (ctl.choiceMode == 6 || BackgroundAnimationRunning()) return;
  QuickButtons& q = quickButtons;
  if (q.composite.Empty()) return;  // before start-up made the pictures
  TextWindow& w = textWindow;
  const GameConfig& c = config;
  const int speed = vars.S(kVarAutoSpeedSetting);
  int& autoState = vars.S(kQuickButtonFirstVar + qbAuto);
  int& skipState = vars.S(kQuickButtonFirstVar + qbSkip);
  const bool shown = text.windowShown;
  const bool fullPage = vars.S(kVarDisplayMode) != 0;

  if (speed != 0) {
    autoState = kStateOn;
  } else if (autoState == kStateOn) {
    autoState = 0;
  }

  // The gauge: its base with the bar and one dot for each step faster than the slowest.
  if (c.SPD_TW != 0 && !q.gauge.Empty()) {
    q.gauge.pixels = w.autoBacking.pixels;
    if (speed != 0) {
      DrawSideBySide(q.gauge, 0, q.gaugeBar, 0);
      const int64_t slowest = std::max(c.SPD_MAX, 0);
      const int64_t count = std::clamp<int64_t>(int64_t{c.SPD_MAX} - speed + 1, 0, slowest);
      const int64_t size = std::max(c.SPD_DOT_SIZE, 1);
      const int dotW = q.gaugeDot.width / 2, dotH = q.gaugeDot.height;
      if (c.SPD_DIR != 0) {
        auto [first, last] = VisibleDots(c.SPD_DOT_OFS_X, size, -dotW, q.gauge.width, count);
        for (int64_t i = first; i <= last; ++i) {
          DrawSideBySide(q.gauge, Place(i * size + c.SPD_DOT_OFS_X), q.gaugeDot, Place(c.SPD_DOT_OFS_Y));
        }
      } else {
        // Counted from the bottom: dot 0 lies lowest.
        const int64_t start = slowest * size + c.SPD_DOT_OFS_Y;
        auto [first, last] = VisibleDots(start, -size, -dotH, q.gauge.height, count);
        for (int64_t i = first; i <= last; ++i) {
          DrawSideBySide(q.gauge, Place(c.SPD_DOT_OFS_X), q.gaugeDot, Place(start - i * size));
        }
      }
    }
    const int gw = q.gauge.width, gh = q.gauge.height;
    auto toScreen = [&](int64_t x, int64_t y) {
      const Rect r = CopyRegion(q.gauge, 0, 0, layers.screen, Place(x), Place(y), gw, gh);
      if (kind == qbdFull && !r.Empty()) host.Present(layers.screen, r);
    };
    switch (c.SPD_TW) {
      case 1:
        if (kind == qbdFull) {
          if (shown) toScreen(int64_t{w.x} + c.SPD_OFS_X, int64_t{w.y} + c.SPD_OFS_Y);
          CopyRegion(q.gauge, 0, 0, w.buffer, Place(c.SPD_OFS_X), Place(c.SPD_OFS_Y), gw, gh);
          CopyRegion(q.gauge, 0, 0, w.clean, Place(c.SPD_OFS_X), Place(c.SPD_OFS_Y), gw, gh);
        } else if (kind == qbdWindowPicture) {
          CopyRegion(q.gauge, 0, 0, w.buffer, Place(c.SPD_OFS_X), Place(c.SPD_OFS_Y), gw, gh);
        }
        break;
      case 2:
        if (shown && kind != qbdWindowPicture) toScreen(int64_t{w.x} + c.SPD_OFS_X, int64_t{w.y} + c.SPD_OFS_Y);
        break;
      case 3:
        if ((fullPage || shown) && kind != qbdWindowPicture) toScreen(c.SPD_OFS_X, c.SPD_OFS_Y);
        break;
      default: break;
    }
  }

  if (speed != 0) autoState = kStateOn;
  // A running mode keeps its button on, also while it is hovered (a hover left it at 1).
  if (ctl.skipActive) skipState = kStateOn;

  const bool upper = vars.S(kVarWindowUpper) != 0;
  const Bitmap& clean = w.overScene;
  for (int i = 0; i < kQuickButtonCount; ++i) {
    if ((i == qbWindowUp && upper) || (i == qbWindowDown && !upper)) continue;
    const QuickButtonConfig& b = c.QB[static_cast<size_t>(i)];
    if ((b.type != 1 && b.type != 2) || b.w <= 0 || b.h <= 0) continue;
    int state = vars.S(kQuickButtonFirstVar + i);
    if (state < 0 || state >= kQuickButtonStates) state = 0;  // scripts may write anything there
    const Bitmap& sheet = q.sheets[static_cast<size_t>((b.type - 1) * kQuickButtonStates + state)];
    const int64_t X = b.type == 1 ? int64_t{w.x} + b.x : b.x;
    const int64_t Y = b.type == 1 ? int64_t{w.y} + b.y : b.y;
    const Rect area = OnScreen(X, Y, b.w, b.h);
    if (area.Empty() || clean.width < kScreenWidth || clean.height < kScreenHeight) continue;
    // What the sheet does not cover shows what lies under the button.
    CopyRegion(clean, area.left, area.top, q.composite, area.left, area.top, area.Width(), area.Height());
    const int64_t c0 = std::max<int64_t>(area.left - X, -int64_t{b.sx});
    const int64_t c1 = std::min<int64_t>(area.right - X, int64_t{sheet.width} - b.sx);
    for (int row = area.top; row < area.bottom && c1 > c0; ++row) {
      const int64_t j = row - Y;
      const int64_t colourRow = b.sy + j, maskRow = int64_t{b.sy} + b.h + j;
      if (colourRow < 0 || maskRow >= sheet.height) continue;
      const int left = static_cast<int>(X + c0), sheetLeft = static_cast<int>(b.sx + c0);
      BlendRowsMaskedPixels(clean.At(left, row), sheet.At(sheetLeft, static_cast<int>(colourRow)),
                            static_cast<int>(c1 - c0), sheet.At(sheetLeft, static_cast<int>(maskRow)),
                            q.composite.At(left, row));
    }
    auto copy = [&](Bitmap& target, int64_t dx, int64_t dy) {
      return CopyRegion(q.composite, area.left, area.top, target, Place(dx), Place(dy), area.Width(), area.Height());
    };
    const bool onScreen = b.type == 1 ? (!fullPage && shown) : (fullPage || shown);
    if (onScreen && kind != qbdWindowPicture) {
      const Rect r = copy(layers.screen, area.left, area.top);
      if (kind == qbdFull && !r.Empty()) host.Present(layers.screen, r);
    }
    if (b.type == 1 && kind != qbdScreen) {
      copy(w.buffer, int64_t{area.left} - w.x, int64_t{area.top} - w.y);
      if (kind == qbdFull) copy(w.clean, int64_t{area.left} - w.x, int64_t{area.top} - w.y);
    }
  }
}

void TForm1::AppendQuickButtonState(std::string& out) const {
  out += ",\"quickButtons\":{\"hovered\":" + std::to_string(quickButtons.hovered) + "}";
}

}  // namespace torvel
