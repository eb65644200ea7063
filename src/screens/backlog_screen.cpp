// The backlog screen: past message lines over the darkened scene, with a scroll bar, arrow
// buttons and a voice icon beside each line that had a voice.
#include <algorithm>
#include <cstdint>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarViewsEnabled = 28;
constexpr int kVarBacklogButton = 65;
constexpr int kDarkenLevel = 40;  // the scene behind the backlog: every byte × 40 / 256
constexpr int kVoiceIconRaise = 4;
constexpr uint32_t kLogColour = 0xFFFFFF;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// Rows far above or below the picture draw nothing; this keeps their positions in int.
bool RowOnScreen(int64_t y) { return y > -kScreenHeight && y < 2 * kScreenHeight; }

Rect Clipped(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return Rect{static_cast<int>(std::clamp<int64_t>(left, 0, kScreenWidth)),
              static_cast<int>(std::clamp<int64_t>(top, 0, kScreenHeight)),
              static_cast<int>(std::clamp<int64_t>(right, 0, kScreenWidth)),
              static_cast<int>(std::clamp<int64_t>(bottom, 0, kScreenHeight))};
}

void LoadSkin(TForm1& e, const char* name, Bitmap& target) {
  target = Bitmap();
  if (!e.LoadImage(name, target)) target = Bitmap();
}

}  // namespace

void TForm1::OpenBacklog() {
  if (vars.S(kVarViewsEnabled) == 0 || ctl.backlogOpen) return;
  BacklogScreen& b = backlogViews.screen;
  PlayVoiceLine("SSE09");
  layers.work.pixels = layers.screen.pixels;
  b.darkened.Resize(kScreenWidth, kScreenHeight);
  Darken(layers.scene, b.darkened, kDarkenLevel);
  b.canvas.Resize(kScreenWidth, kScreenHeight);

  BacklogSkins& k = b.skins;
  LoadSkin(*this, "sys_bl_bar", k.bar);
  LoadSkin(*this, "sys_bl_cur", k.knob);
  LoadSkin(*this, "sys_bl_VR1", k.voice);
  LoadSkin(*this, "sys_bl_VR2", k.voiceLit);
  LoadSkin(*this, "sys_bl_up1", k.up);
  LoadSkin(*this, "sys_bl_up2", k.upLit);
  LoadSkin(*this, "sys_bl_down1", k.down);
  LoadSkin(*this, "sys_bl_down2", k.downLit);
  DrawSideBySide(b.darkened, config.LOG_BAR[0], k.bar, config.LOG_BAR[1]);
  DrawSideBySide(b.darkened, config.LOG_BAR_UP[0], k.up, config.LOG_BAR_UP[1]);
  DrawSideBySide(b.darkened, config.LOG_BAR_DOWN[0], k.down, config.LOG_BAR_DOWN[1]);

  const int64_t track = int64_t{config.LOG_BAR_INSIDE[3]} - config.LOG_BAR_INSIDE[1] - k.knob.height;
  b.track = static_cast<int>(std::clamp<int64_t>(track, INT32_MIN, INT32_MAX));
  b.scroll = 0;
  b.rows = std::clamp(config.LOG_LINES, 0, kBacklogRowsMax);
  b.pitch = config.LOG_PITCH;
  b.originX = config.LOG_WINDOW[0];
  b.originY = config.LOG_WINDOW[1];
  b.voices.assign(static_cast<size_t>(b.rows), std::string());
  b.button = BacklogButton::None;
  b.repeat = 0;
  b.hoveredArrow = 0;
  b.hoveredVoice = 0;
  b.strike.Select(glyphs.SystemSource(),
                  TextStyle{settings.FontName, config.LOG_FONTSIZE, kLogColour, settings.FONTBold != 0, 0});
  DrawBacklog();

  ctl.backlogOpen = true;
  SetMenuLock(true);
}

void TForm1::DrawBacklog() {
  BacklogScreen& b = backlogViews.screen;
  const BacklogSkins& k = b.skins;
  Bitmap& screen = layers.screen;
  screen.pixels = b.darkened.pixels;
  const int count = text.backlog.Lines();
  const int first = std::max(0, count - b.rows - b.scroll);
  std::fill(b.voices.begin(), b.voices.end(), std::string());
  for (int i = 0; i < b.rows && first + i < count; ++i) {
    const std::string_view record = text.backlog.Line(first + i);
    const int64_t y = int64_t{i} * b.pitch + b.originY;
    if (!record.empty() && record[0] == '@') {
      // A voice mark on the top row belongs to a line scrolled out of view.
      if (i == 0) continue;
      b.voices[static_cast<size_t>(i)] = std::string(record.substr(1));
      if (RowOnScreen(y)) DrawStacked(screen, b.originX, k.voice, static_cast<int>(y - kVoiceIconRaise));
    } else if (RowOnScreen(y)) {
      DrawTextLine(b.strike, screen, record, b.originX, static_cast<int>(y), kLogColour);
    }
  }
  if (count > b.rows) {
    const int64_t f = int64_t{b.scroll} * b.track / (count - b.rows);
    const int64_t x = int64_t{config.LOG_BAR[0]} + config.LOG_BAR_INSIDE[0];
    const int64_t y = int64_t{config.LOG_BAR[1]} + config.LOG_BAR_INSIDE[1] + b.track - f;
    if (RowOnScreen(x) && RowOnScreen(y)) DrawSideBySide(screen, static_cast<int>(x), k.knob, static_cast<int>(y));
  }
  host.Present(screen, kWholeScreen);

  // Highlights belong to the window alone: the screen buffer keeps the plain arrows and icons.
  auto highlight = [&](const Bitmap& picture, bool stacked, int64_t x, int64_t y) {
    if (picture.Empty() || !RowOnScreen(x) || !RowOnScreen(y)) return;
    const int64_t w = stacked ? picture.width : picture.width / 2;
    const int64_t h = stacked ? picture.height / 2 : picture.height;
    const Rect area = Clipped(x, y, x + w, y + h);
    if (area.Empty()) return;
    CopyRegion(screen, area.left, area.top, b.canvas, area.left, area.top, area.Width(), area.Height());
    if (stacked) {
      DrawStacked(b.canvas, static_cast<int>(x), picture, static_cast<int>(y));
    } else {
      DrawSideBySide(b.canvas, static_cast<int>(x), picture, static_cast<int>(y));
    }
    host.Present(b.canvas, area);
  };
  if (b.hoveredArrow == 1 || b.button == BacklogButton::Up) {
    highlight(k.upLit, false, config.LOG_BAR_UP[0], config.LOG_BAR_UP[1]);
  }
  if (b.hoveredArrow == 2 || b.button == BacklogButton::Down) {
    highlight(k.downLit, false, config.LOG_BAR_DOWN[0], config.LOG_BAR_DOWN[1]);
  }
  if (b.hoveredVoice > 0 && b.hoveredVoice < b.rows && !b.voices[static_cast<size_t>(b.hoveredVoice)].empty()) {
    highlight(k.voiceLit, true, b.originX, int64_t{b.hoveredVoice} * b.pitch + b.originY - kVoiceIconRaise);
  }
}

bool TForm1::ScrollBacklogTo(int64_t scroll) {
  BacklogScreen& b = backlogViews.screen;
  const int most = std::max(0, text.backlog.Lines() - b.rows);
  const int s = static_cast<int>(std::clamp<int64_t>(scroll, 0, most));
  if (s == b.scroll) return false;
  b.scroll = s;
  DrawBacklog();
  return true;
}

void TForm1::CloseBacklog() {
  if (!ctl.backlogOpen) return;
  BacklogScreen& b = backlogViews.screen;
  layers.screen.pixels = layers.work.pixels;
  host.Present(layers.screen, kWholeScreen);
  b.darkened = Bitmap();
  b.canvas = Bitmap();
  b.skins = BacklogSkins();
  b.strike.Clear();
  b.button = BacklogButton::None;
  b.repeat = 0;
  b.voices.clear();
  ctl.backlogOpen = false;
  SetMenuLock(false);
  vars.S(kVarBacklogButton) = 0;
  DrawQuickButtons(1);
}

}  // namespace torvel
