#pragma once
// Text drawn with a system face, for the texts that do not go through the glyph cells: the ruby
// over the dialogue, the pages of the staff rolls, captions of the special screens. Any face by
// name, any height and colour, bold, a black shadow, and the width a line takes.
//
// A line is placed as the system's text output placed it: its cell's top at y, the base line at
// y + the face's ascent, the pen starting at x and moving by each character's advance. Glyphs
// are blended over what the picture holds (a transparent background) and clipped to it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "graphics/bitmap.h"
#include "platform/fonts/glyph_source.h"

namespace torvel {

struct TextStyle {
  std::string face;            // Shift-JIS face name ("ＭＳ 明朝"); empty: fontconfig's Japanese default
  int height = 9;              // pixels per em
  uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR, as the colour codes of the glyph cells
  bool bold = false;
  int shadow = 0;  // a black copy of the line this many pixels right and down, drawn first; 0 none
};

// The advance of a line in pixels: the sum of its characters' advances (characters the face
// lacks advance nothing).
int MeasureTextLine(GlyphSource& source, std::string_view text, const TextStyle& style);

// Draws a line onto `dst` with its top-left at (x, y). Returns the part of `dst` it may have
// changed: from x to the right edge of the last ink, from y down two heights (and the shadow),
// clipped to the picture; empty when nothing of it lies on the picture.
Rect DrawTextLine(GlyphSource& source, Bitmap& dst, std::string_view text, int x, int y, const TextStyle& style);

// The glyphs of one face and height, each rasterised once and kept: a text drawn again and again
// (the backlog's rows on every scroll) then costs the blending alone.
class GlyphStrike {
 public:
  // Takes the face, height and weight of `style`; keeps what it holds when they are the same.
  void Select(GlyphSource& source, const TextStyle& style);
  // A character's glyph; null when the face lacks it or nothing is selected.
  const GrayGlyph* Find(uint16_t code);
  void Clear();
  int Ascent() const { return ascent_; }
  int Height() const { return style_.height; }
  size_t Size() const { return glyphs_.size(); }

 private:
  GlyphSource* source_ = nullptr;
  TextStyle style_;
  int ascent_ = 0;
  std::unordered_map<uint16_t, std::optional<GrayGlyph>> glyphs_;
};

// DrawTextLine with the glyphs of a strike, in one colour, without a shadow.
Rect DrawTextLine(GlyphStrike& strike, Bitmap& dst, std::string_view text, int x, int y, uint32_t colour);

}  // namespace torvel
