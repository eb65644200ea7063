// Text in the engine's font at any height and colour, without a shadow: the ruby over the
// dialogue (small and white, shown on the window at once) and the banner's text.
#include <algorithm>
#include <vector>

#include "graphics/kernels.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kSmallTextHeight = 9;
}

int TForm1::FontTextWidth(std::string_view text, int height) {
  GlyphSource& source = glyphs.Source();
  GrayGlyph g;
  int64_t width = 0;
  for (size_t pos = 0; pos < text.size();) {
    const size_t n = SjisCharLength(text, pos);
    if (source.Rasterise(GlyphCode(text.substr(pos, n)), height, g)) width += g.advance;
    pos += n;
  }
  return static_cast<int>(std::min<int64_t>(width, kScreenWidth * 4));
}

int TForm1::DrawFontText(Bitmap& target, std::string_view text, int x, int y, int height, const TextColour& colour) {
  GlyphSource& source = glyphs.Source();
  if (target.Empty() || text.empty()) return x;
  const int ascent = source.Ascent(height);
  GrayGlyph g;
  std::vector<uint8_t> ink, mask;
  int64_t pen = x;
  int64_t right = x;
  for (size_t pos = 0; pos < text.size() && pen < target.width;) {
    const size_t n = SjisCharLength(text, pos);
    const bool drawn = source.Rasterise(GlyphCode(text.substr(pos, n)), height, g);
    pos += n;
    if (!drawn) continue;
    const int64_t left = pen + g.originX;
    const int from = static_cast<int>(std::clamp<int64_t>(-left, 0, g.width));
    const int to = static_cast<int>(std::clamp<int64_t>(target.width - left, 0, g.width));
    for (int gy = 0; gy < g.height && from < to; ++gy) {
      const int64_t dy = int64_t{y} + ascent - g.originY + gy;
      if (dy < 0 || dy >= target.height) continue;
      const int pixels = to - from;
      ink.resize(static_cast<size_t>(pixels) * 3);
      for (int p = 0; p < pixels; ++p) std::copy(colour.begin(), colour.end(), ink.begin() + p * 3);
      mask.resize(ink.size());
      for (int gx = from; gx < to; ++gx) {
        std::fill_n(mask.begin() + (gx - from) * 3, 3,
                    CoverageOfLevel(g.levels[static_cast<size_t>(gy) * g.width + gx]));
      }
      uint8_t* d = target.At(static_cast<int>(left + from), static_cast<int>(dy));
      BlendRowsMaskedPixels(d, ink.data(), pixels, mask.data(), d);
    }
    pen += g.advance;
    right = std::max(right, left + g.width);
  }
  return static_cast<int>(std::clamp<int64_t>(right, INT32_MIN, INT32_MAX));
}

void TForm1::DrawSmallText(std::string_view text, int x, int y) {
  Bitmap& screen = layers.screen;
  if (screen.Empty() || text.empty()) return;
  const int right = DrawFontText(screen, text, x, y, kSmallTextHeight, TextColour{0xFF, 0xFF, 0xFF});
  const Rect area{std::clamp(x, 0, screen.width), std::clamp(y, 0, screen.height), std::clamp(right, 0, screen.width),
                  static_cast<int>(std::clamp<int64_t>(int64_t{y} + kSmallTextHeight * 2, 0, screen.height))};
  if (!area.Empty()) host.Present(screen, area);
}

}  // namespace torvel
