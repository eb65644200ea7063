// The notification banner shown after a save and before a load: the game's panel picture, or a
// dark blue band across the picture, faded in, held and faded out while the player waits.
#include <algorithm>
#include <array>
#include <vector>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "graphics/small_text.h"
#include "screens/save_screen_layout.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kBandTop = 214;
constexpr int kBandHeight = 52;
constexpr int kBandEdgeRows = 8;
constexpr int kBandEdgeStep = 20;
constexpr int kBandOpacity = 160;
constexpr int kBandFadeStep = 16;
constexpr int kBandFadeOutStart = 240;
constexpr int kBandTextHeight = 48;
constexpr int kPanelFadeStep = 32;
constexpr int kBannerFrameMs = 20;
constexpr std::array<uint8_t, 3> kBandBlue{0x80, 0x40, 0x00};  // blue, green, red
constexpr int kBandTextTop = 3;
constexpr int kBandTextShadow = 3;

int BandRowOpacity(int row) {
  if (row < kBandEdgeRows) return kBandEdgeStep * row;
  if (row >= kBandHeight - kBandEdgeRows) return kBandEdgeStep * (kBandHeight - 1 - row);
  return kBandOpacity;
}

// frame := (over × level + under × (256 − level)) >> 8 on the rows and columns of `area`.
void BlendArea(const Bitmap& under, const Bitmap& over, int level, const Rect& area, Bitmap& frame) {
  const int pixels = area.Width();
  for (int y = area.top; y < area.bottom; ++y) {
    BlendRowsAlphaPixels(under.At(area.left, y), over.At(area.left, y), pixels, level, frame.At(area.left, y));
    // The bytes after the last whole group get the same formula.
    for (int b = (pixels * 3) / 8 * 8; b < pixels * 3; ++b) {
      const int i = area.left * 3 + b;
      frame.Row(y)[i] = static_cast<uint8_t>((over.Row(y)[i] * level + under.Row(y)[i] * (256 - level)) >> 8);
    }
  }
}

}  // namespace

void TForm1::ShowBanner(std::string_view text, int ms) {
  saves.lastBanner = std::string(text);
  // The player waits while the banner is up, as for any blocking scene: input is held back and
  // the timer goes on.
  const bool wasBlocking = ctl.blockingScene;
  ctl.blockingScene = true;
  const uint32_t hold = static_cast<uint32_t>(std::max(ms, 0));

  // Both looks blend a finished banner over what the window shows, on a full-size frame.
  Bitmap under;
  Bitmap banner;
  Rect area;
  int step = kBandFadeStep;
  if (config.PANEL_USE != 0) {
    if (!saveScreen.panelLoaded) {
      saveScreen.panelLoaded = true;
      if (!LoadImage("sys_panel", saveScreen.panel)) saveScreen.panel = Bitmap();
    }
    const Bitmap& panel = saveScreen.panel;
    const int x = config.PANEL_BASE[0], y = config.PANEL_BASE[1];
    under = layers.screen;
    banner = layers.screen;
    area = ClippedScreenRect(x, y, panel.width, panel.height / 2);
    if (!panel.Empty()) DrawStacked(banner, x, panel, y);
    const int64_t tx = int64_t{x} + panel.width / 2 - 10, ty = int64_t{y} + panel.height / 4 - 10;
    if (tx > -kScreenWidth && tx < 2 * kScreenWidth && ty > -kScreenHeight && ty < kScreenHeight) {
      DrawStringCentred(text, static_cast<int>(tx), banner, 0, static_cast<int>(ty));
    }
    step = kPanelFadeStep;
  } else {
    if (!host.ReadWindow(under) || under.width != kScreenWidth || under.height != kScreenHeight) under = layers.screen;
    banner = under;
    area = Rect{0, kBandTop, kScreenWidth, kBandTop + kBandHeight};
    std::vector<uint8_t> blue(static_cast<size_t>(kScreenWidth) * 3);
    for (size_t i = 0; i < blue.size(); i += 3) std::copy(kBandBlue.begin(), kBandBlue.end(), blue.begin() + i);
    for (int row = 0; row < kBandHeight; ++row) {
      uint8_t* r = banner.Row(kBandTop + row);
      BlendRowsConstant(r, blue.data(), kScreenWidth * 3 / 8, BandRowOpacity(row), r);
    }
    // White in the player's text face, over a black copy 3 pixels right and down.
    const TextStyle style{settings.FontName, kBandTextHeight, 0xFFFFFF, settings.FONTBold != 0, kBandTextShadow};
    const int x = (kScreenWidth - MeasureSystemText(text, style)) / 2;
    DrawSystemText(banner, text, x, kBandTop + kBandTextTop, style);
  }

  Bitmap& frame = layers.work;
  frame = under;
  auto show = [&](int level) {
    if (area.Empty()) return;
    BlendArea(under, banner, std::clamp(level, 0, 256), area, frame);
    host.Present(frame, area);
  };
  StartFrameClock();
  for (int level = 0; level < 256; level += step * PaceFrame(kBannerFrameMs)) show(level);
  show(256);
  WaitUntil(host.TickCount() + hold);
  StartFrameClock();
  if (config.PANEL_USE != 0) {
    for (int level = 256; level > 0; level -= step * PaceFrame(kBannerFrameMs)) show(level);
  } else {
    for (int level = kBandFadeOutStart; level >= 0; level -= step * PaceFrame(kBannerFrameMs)) show(level);
  }
  if (!area.Empty()) host.Present(under, area);
  ctl.blockingScene = wasBlocking;
}

}  // namespace torvel
