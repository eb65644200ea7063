// Text window commands: opening and closing the window with a fade, and redrawing it.
#include <algorithm>
#include <vector>

#include "graphics/kernels.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// Crossfades from `from` to `to` over the frame clock; the player may cut it short.
void FadeWindow(TForm1& e, const Bitmap& from, const Bitmap& to) {
  e.StartFrameClock();
  e.ctl.interruptibleWait = true;
  e.ctl.blockingScene = true;
  e.ctl.interruptRequest = 0;
  for (int a = 0; a < kFullOpacity;) {
    Crossfade(to, from, a, e.layers.work);
    e.host.Present(e.layers.work, kWholeScreen);
    if (e.ctl.interruptRequest != 0) break;
    a += kWindowFadeStep * e.PaceFrame(kWindowFadePeriodMs);
  }
  e.ctl.interruptibleWait = false;
  e.ctl.blockingScene = false;
}

}  // namespace

int TForm1::CmdWinOpen(std::string_view) {
  OpenWindow();
  return 0;
}

int TForm1::CmdWinClose(std::string_view) {
  CloseWindow();
  return 0;
}

void TForm1::OpenWindow() {
  if (text.windowShown) return;
  layers.previous.pixels = layers.screen.pixels;
  text.windowShown = true;
  ComposeScreen();
  if (!ctl.skipActive) FadeWindow(*this, layers.previous, layers.screen);
  host.Present(layers.screen, kWholeScreen);
  textWindow.page.empty = true;
}

void TForm1::CloseWindow() {
  // Only the window of window mode closes; the full-screen page stays.
  if (vars.S(kVarDisplayMode) != 0) return;
  text.cursorCol = 0;
  text.cursorRow = 0;
  if (!text.windowShown) return;
  ClickWaitErase();
  if (!ctl.skipActive) FadeWindow(*this, layers.screen, layers.scene);
  layers.screen.pixels = layers.scene.pixels;
  host.Present(layers.screen, kWholeScreen);
  text.windowShown = false;
  textWindow.page.empty = true;
}

void TForm1::RedrawTextWindow() {
  if (!text.windowShown) return;
  ComposeScreen();
  host.Present(layers.screen, kWholeScreen);
}

// Draws `text` straight onto the window in the message font, white, without background, ending
// at x = `right`.
void TForm1::DrawStringOnWindow(std::string_view text, int right, int y, int height) {
  GlyphSource& source = glyphs.Source();
  std::vector<GrayGlyph> shapes;
  int width = 0;
  for (size_t pos = 0; pos < text.size();) {
    size_t n = SjisCharLength(text, pos);
    shapes.emplace_back();
    source.Rasterise(GlyphCode(text.substr(pos, n)), height, shapes.back());
    width += shapes.back().advance;
    pos += n;
  }
  // The window shows the screen buffer unless it can be read back; the text goes over that
  // picture and not into any buffer, so the next repaint takes it away.
  Bitmap canvas;
  if (!host.ReadWindow(canvas) || canvas.width != layers.screen.width || canvas.height != layers.screen.height) {
    canvas = layers.screen;
  }
  if (canvas.Empty()) return;
  int ascent = source.Ascent(height);
  int pen = right - width;
  std::vector<uint8_t> white;
  std::vector<uint8_t> mask;
  for (const GrayGlyph& g : shapes) {
    int left = pen + g.originX;
    int from = std::max(0, -left);
    int to = std::min(g.width, canvas.width - left);
    for (int gy = 0; gy < g.height && from < to; ++gy) {
      int dy = y + ascent - g.originY + gy;
      if (dy < 0 || dy >= canvas.height) continue;
      int pixels = to - from;
      white.assign(static_cast<size_t>(pixels) * 3, 0xFF);
      mask.resize(white.size());
      for (int gx = from; gx < to; ++gx) {
        uint8_t c = CoverageOfLevel(g.levels[static_cast<size_t>(gy) * g.width + gx]);
        std::fill_n(mask.begin() + (gx - from) * 3, 3, c);
      }
      uint8_t* d = canvas.At(left + from, dy);
      BlendRowsMaskedPixels(d, white.data(), pixels, mask.data(), d);
    }
    pen += g.advance;
  }
  Rect area{std::max(0, right - width), std::max(0, y), std::min(canvas.width, right + height),
            std::min(canvas.height, y + height + height / 2)};
  if (!area.Empty()) host.Present(canvas, area);
}

}  // namespace torvel
