// Small white text without shadow (ruby over the dialogue), drawn onto the screen buffer and
// shown on the window at once.
#include <algorithm>
#include <vector>

#include "graphics/kernels.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kSmallTextHeight = 9;
}

void TForm1::DrawSmallText(std::string_view text, int x, int y) {
  GlyphSource& source = glyphs.Source();
  Bitmap& screen = layers.screen;
  if (screen.Empty() || text.empty()) return;
  const int ascent = source.Ascent(kSmallTextHeight);
  GrayGlyph g;
  std::vector<uint8_t> white, mask;
  int64_t pen = x;
  int64_t right = x;
  for (size_t pos = 0; pos < text.size() && pen < kScreenWidth;) {
    const size_t n = SjisCharLength(text, pos);
    const bool drawn = source.Rasterise(GlyphCode(text.substr(pos, n)), kSmallTextHeight, g);
    pos += n;
    if (!drawn) continue;
    const int64_t left = pen + g.originX;
    const int from = static_cast<int>(std::clamp<int64_t>(-left, 0, g.width));
    const int to = static_cast<int>(std::clamp<int64_t>(screen.width - left, 0, g.width));
    for (int gy = 0; gy < g.height && from < to; ++gy) {
      const int64_t dy = int64_t{y} + ascent - g.originY + gy;
      if (dy < 0 || dy >= screen.height) continue;
      const int pixels = to - from;
      white.assign(static_cast<size_t>(pixels) * 3, 0xFF);
      mask.resize(white.size());
      for (int gx = from; gx < to; ++gx) {
        std::fill_n(mask.begin() + (gx - from) * 3, 3,
                    CoverageOfLevel(g.levels[static_cast<size_t>(gy) * g.width + gx]));
      }
      uint8_t* d = screen.At(static_cast<int>(left + from), static_cast<int>(dy));
      BlendRowsMaskedPixels(d, white.data(), pixels, mask.data(), d);
    }
    pen += g.advance;
    right = std::max(right, left + g.width);
  }
  const Rect area{static_cast<int>(std::clamp<int64_t>(x, 0, screen.width)),
                  static_cast<int>(std::clamp<int64_t>(y, 0, screen.height)),
                  static_cast<int>(std::clamp<int64_t>(right, 0, screen.width)),
                  static_cast<int>(std::clamp<int64_t>(int64_t{y} + kSmallTextHeight * 2, 0, screen.height))};
  if (!area.Empty()) host.Present(screen, area);
}

}  // namespace torvel
