#pragma once
// The glyph source: gray-level glyph bitmaps from FreeType, faces found through fontconfig.
// Coverage comes in the 65 levels 0..64 the glyph cells are made for, with the glyph's black box
// and origin, so the cells place glyphs the same way whatever rasteriser stands behind them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

// One rasterised glyph: `width` × `height` levels 0..64, rows top first, packed tightly.
// (`originX`, `originY`) is the black box's top-left corner relative to the pen position on the
// base line, y upwards.
struct GrayGlyph {
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
  int advance = 0;  // pixels to the next pen position
  std::vector<uint8_t> levels;
};

constexpr int kGrayLevels = 64;

// The Unicode character of a Shift-JIS code (one byte below 0x100, else lead × 256 + trail)
// through code page 932; 0 when the code stands for no character.
char32_t SjisCodeToUnicode(uint16_t code);

// The font file and face index fontconfig picks for a family name (UTF-8). Japanese text is
// asked for, so Windows face names the machine lacks land on a Japanese gothic face; names with
// "明朝" land on IPA Mincho ("Ｐ明朝" on IPA P Mincho) and names with "Ｐゴシック" on IPA P Gothic.
struct FontFile {
  std::string path;
  int index = 0;
};
FontFile MatchFontFile(std::string_view familyUtf8, bool bold);

class GlyphSource {
 public:
  GlyphSource();
  ~GlyphSource();
  GlyphSource(const GlyphSource&) = delete;
  GlyphSource& operator=(const GlyphSource&) = delete;

  // Selects the face by its Shift-JIS name, the size in pixels per em and the weight. Faces stay
  // open for the run, so switching back and forth costs nothing.
  void SetFont(std::string_view sjisName, int pixelSize, bool bold);
  int PixelSize() const { return pixelSize_; }
  // Whether the selected face has kana and kanji; false without a face. Without one the game's
  // text cannot be shown.
  bool CoversJapanese() const;
  // The face's ascent at `pixelSize` in whole pixels; 0 without a face.
  int Ascent(int pixelSize);
  // Rasterises the character of a Shift-JIS code at `pixelSize`; false (and `out` empty) when
  // there is no face, the code is no character or the face has no glyph for it.
  bool Rasterise(uint16_t code, int pixelSize, GrayGlyph& out);
  // The same for a Unicode character.
  bool RasteriseUnicode(char32_t ch, int pixelSize, GrayGlyph& out);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int pixelSize_ = 0;
};

}  // namespace torvel
