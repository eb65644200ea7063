#pragma once
// Text drawn with a system face, for the texts that do not go through the glyph cells: the ruby
// over the dialogue, the pages of the staff rolls, captions of the special screens. Any face by
// name, any height and colour, bold, a black shadow, and the width a line takes.
//
// A line is placed as the system's text output placed it: its cell's top at y, the base line at
// y + the face's ascent, the pen starting at x and moving by each character's advance. Glyphs
// are blended over what the picture holds (a transparent background) and clipped to it.
#include <cstdint>
#include <string>
#include <string_view>

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

}  // namespace torvel
