// Text window commands and drawing. Empty until the text window lands.
#include <algorithm>
#include <vector>

#include "graphics/kernels.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdWinOpen(std::string_view) { return 0; }

int TForm1::CmdWinClose(std::string_view) { return 0; }

// Draws the text window over the screen buffer again.
void TForm1::RedrawTextWindow() {}

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
