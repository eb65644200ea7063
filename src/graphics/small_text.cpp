// Text with a system face: the ruby over the dialogue and every other text that names its face,
// height and colour. Glyphs come from the glyph source's own rasteriser and are blended row by row
// through their coverage, so a line looks as it does in the glyph cells of the same face.
#include "graphics/small_text.h"

#include <algorithm>
#include <vector>

#include "graphics/glyphs.h"
#include "graphics/kernels.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kSmallTextHeight = 9;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

// One pass of a line in one colour with the pen starting at x and the top at y; returns the right
// edge of its ink (x when it left none). `glyphOf` gives a character's glyph, or null when the
// face has none.
template <typename GlyphOf>
int64_t DrawPass(GlyphOf&& glyphOf, int ascent, Bitmap& dst, std::string_view text, int64_t x, int64_t y,
                 uint32_t colour) {
  const uint8_t bgr[3] = {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                          static_cast<uint8_t>(colour)};
  std::vector<uint8_t> fill, mask;
  int64_t pen = x;
  int64_t right = x;
  for (size_t pos = 0; pos < text.size() && pen < dst.width;) {
    const size_t n = SjisCharLength(text, pos);
    const GrayGlyph* glyph = glyphOf(GlyphCode(text.substr(pos, n)));
    pos += n;
    if (glyph == nullptr) continue;
    const GrayGlyph& g = *glyph;
    const int64_t left = pen + g.originX;
    const int from = static_cast<int>(std::clamp<int64_t>(-left, 0, g.width));
    const int to = static_cast<int>(std::clamp<int64_t>(dst.width - left, 0, g.width));
    for (int gy = 0; gy < g.height && from < to; ++gy) {
      const int64_t dy = y + ascent - g.originY + gy;
      if (dy < 0 || dy >= dst.height) continue;
      const int pixels = to - from;
      fill.resize(static_cast<size_t>(pixels) * 3);
      for (int p = 0; p < pixels; ++p) std::copy_n(bgr, 3, fill.begin() + p * 3);
      mask.resize(fill.size());
      for (int gx = from; gx < to; ++gx) {
        std::fill_n(mask.begin() + (gx - from) * 3, 3,
                    CoverageOfLevel(g.levels[static_cast<size_t>(gy) * g.width + gx]));
      }
      uint8_t* d = dst.At(static_cast<int>(left + from), static_cast<int>(dy));
      BlendRowsMaskedPixels(d, fill.data(), pixels, mask.data(), d);
    }
    pen += g.advance;
    right = std::max(right, left + g.width);
  }
  return right;
}

// The rectangle a line drawn at (x, y) may have changed, clipped to `dst`.
Rect LineArea(const Bitmap& dst, int x, int y, int64_t right, int height, int shadow) {
  const int64_t bottom = int64_t{y} + int64_t{std::max(height, 0)} * 2 + shadow;
  return Rect{static_cast<int>(std::clamp<int64_t>(x, 0, dst.width)),
              static_cast<int>(std::clamp<int64_t>(y, 0, dst.height)),
              static_cast<int>(std::clamp<int64_t>(right, 0, dst.width)),
              static_cast<int>(std::clamp<int64_t>(bottom, 0, dst.height))};
}

}  // namespace

int MeasureTextLine(GlyphSource& source, std::string_view text, const TextStyle& style) {
  source.SetFont(style.face, style.height, style.bold);
  GrayGlyph g;
  int64_t width = 0;
  for (size_t pos = 0; pos < text.size();) {
    const size_t n = SjisCharLength(text, pos);
    if (source.Rasterise(GlyphCode(text.substr(pos, n)), style.height, g)) width += g.advance;
    pos += n;
  }
  return static_cast<int>(std::clamp<int64_t>(width, 0, INT32_MAX));
}

Rect DrawTextLine(GlyphSource& source, Bitmap& dst, std::string_view text, int x, int y, const TextStyle& style) {
  if (dst.Empty() || text.empty()) return {};
  source.SetFont(style.face, style.height, style.bold);
  GrayGlyph g;
  auto glyphOf = [&](uint16_t code) { return source.Rasterise(code, style.height, g) ? &g : nullptr; };
  const int ascent = source.Ascent(style.height);
  const int shadow = std::max(style.shadow, 0);
  int64_t right = x;
  if (shadow > 0) right = DrawPass(glyphOf, ascent, dst, text, int64_t{x} + shadow, int64_t{y} + shadow, kBlack);
  right = std::max(right, DrawPass(glyphOf, ascent, dst, text, x, y, style.colour));
  return LineArea(dst, x, y, right, style.height, shadow);
}

void GlyphStrike::Select(GlyphSource& source, const TextStyle& style) {
  if (source_ == &source && style_.face == style.face && style_.height == style.height && style_.bold == style.bold) {
    return;
  }
  source_ = &source;
  style_ = style;
  glyphs_.clear();
  source.SetFont(style.face, style.height, style.bold);
  ascent_ = source.Ascent(style.height);
}

const GrayGlyph* GlyphStrike::Find(uint16_t code) {
  if (source_ == nullptr) return nullptr;
  auto [at, added] = glyphs_.try_emplace(code);
  if (added) {
    // The source is shared with other texts, which may have chosen another face since.
    source_->SetFont(style_.face, style_.height, style_.bold);
    GrayGlyph g;
    if (source_->Rasterise(code, style_.height, g)) at->second = std::move(g);
  }
  return at->second ? &*at->second : nullptr;
}

void GlyphStrike::Clear() {
  source_ = nullptr;
  glyphs_.clear();
}

Rect DrawTextLine(GlyphStrike& strike, Bitmap& dst, std::string_view text, int x, int y, uint32_t colour) {
  if (dst.Empty() || text.empty()) return {};
  auto glyphOf = [&](uint16_t code) { return strike.Find(code); };
  const int64_t right = DrawPass(glyphOf, strike.Ascent(), dst, text, x, y, colour);
  return LineArea(dst, x, y, right, strike.Height(), 0);
}

int TForm1::MeasureSystemText(std::string_view text, const TextStyle& style) {
  return MeasureTextLine(glyphs.SystemSource(), text, style);
}

Rect TForm1::DrawSystemText(Bitmap& target, std::string_view text, int x, int y, const TextStyle& style) {
  return DrawTextLine(glyphs.SystemSource(), target, text, x, y, style);
}

void TForm1::DrawSmallText(std::string_view text, int x, int y) {
  Bitmap& screen = layers.screen;
  const TextStyle ruby{settings.FontName, kSmallTextHeight, kWhite, settings.FONTBold != 0, 0};
  const Rect area = DrawSystemText(screen, text, x, y, ruby);
  if (!area.Empty()) host.Present(screen, area);
}

}  // namespace torvel
