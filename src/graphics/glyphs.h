#pragma once
// Glyph cells: characters as coverage maps, cached, and blended onto a picture in two passes, a
// soft black shadow one pixel right and down, then the text colour. A cell is 32 × 36 pixels
// (large glyphs of the staff rolls: 56 × 64); drawing is clipped to the destination per pixel.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "graphics/bitmap.h"
#include "platform/fonts/glyph_source.h"

namespace torvel {

constexpr int kGlyphCellWidth = 32;
constexpr int kGlyphCellHeight = 36;
constexpr int kGlyphMapRows = 72;  // rows below the cell are slack for glyphs reaching low
constexpr int kGlyphMapSize = kGlyphCellWidth * kGlyphMapRows;
constexpr int kGlyphCacheCapacity = 1000;
// Cells starting below this row are not drawn.
constexpr int kGlyphLowestTop = 570;
constexpr int kLargeGlyphWidth = 56;
constexpr int kLargeGlyphHeight = 64;
constexpr int kLargeGlyphMapSize = kLargeGlyphWidth * kLargeGlyphHeight;
// External characters are 24 × 24 tiles of `sys_gaiji`.
constexpr int kGaijiTile = 24;
// Colour codes 1..7 (and 8, 16, … as 0: white); code 0 is the default colour.
constexpr int kColourCodeCount = 8;

using GlyphMap = std::array<uint8_t, kGlyphMapSize>;

// Coverage of one gray level (0..64).
constexpr uint8_t CoverageOfLevel(int level) {
  return level <= 0 ? 0 : level >= 56 ? 255 : static_cast<uint8_t>(3 * level + 90);
}

// The Shift-JIS code of the character at the start of `text` (one byte, or lead × 256 + trail);
// 0 for empty text.
uint16_t GlyphCode(std::string_view text);

// A GDI colour value 0x00BBGGRR of a colour code; code 0 gives `defaultColour`.
uint32_t ColourOfCode(int code, uint32_t defaultColour);

// The four bitmaps of one prepared cell.
struct GlyphCell {
  Bitmap coverage;
  Bitmap shadowMask;
  Bitmap shadowColour;
  Bitmap textColour;
  GlyphCell(int w, int h) : coverage(w, h), shadowMask(w, h), shadowColour(w, h), textColour(w, h) {}
};

struct GlyphCacheEntry {
  uint16_t code = 0;
  GlyphMap map{};
};

class GlyphRenderer {
 public:
  GlyphRenderer();

  GlyphSource& Source() { return source_; }
  // The faces of the system text (small_text.h), kept apart so that naming a face there never
  // changes the face of the glyph cells.
  GlyphSource& SystemSource() { return system_; }
  // The play-area font: face name (Shift-JIS), size in pixels, bold.
  void SetFont(std::string_view sjisName, int pixelSize, bool bold);
  // Empties the cache, adds the external characters (pairs of bytes of `gaijiCodes`, tiles of
  // `gaijiPicture`), then warms it with kana, digits and common punctuation.
  void ResetCache(std::string_view gaijiCodes, const Bitmap& gaijiPicture);
  void ClearCache() { cache_.clear(); }
  size_t CacheSize() const { return cache_.size(); }

  // Takes the character at the start of `text` and renders it into the cell.
  void Prepare(std::string_view text);
  void Render(uint16_t code);
  // Selects the text colour of a colour code (refilling the colour bitmap only when it changes).
  void SetColour(int code, uint32_t defaultColour);
  // Blends the prepared cell onto `dst` with its top-left corner at (x, y).
  void Draw(Bitmap& dst, int x, int y) const;
  const GlyphCell& Cell() const { return cell_; }
  const GlyphMap& Map() const { return map_; }

  // Large glyphs: no cache, white text.
  void RenderLarge(std::string_view text, int pixelSize);
  void DrawLarge(Bitmap& dst, int x, int y) const;
  const GlyphCell& LargeCell() const { return large_; }

  // Draws `text` at x0 + k × pitch for the character at byte k (1-based) minus `shift`, row y.
  void DrawText(std::string_view text, int x0, int pitch, int shift, Bitmap& dst, int code, uint32_t defaultColour,
                int y);

 private:
  GlyphSource source_;
  GlyphSource system_;
  std::vector<GlyphCacheEntry> cache_;
  GlyphMap map_{};
  std::vector<uint8_t> largeMap_;
  GlyphCell cell_{kGlyphCellWidth, kGlyphCellHeight};
  GlyphCell large_{kLargeGlyphWidth, kLargeGlyphHeight};
  GrayGlyph gray_;
  int fontSize_ = 0;
  uint32_t colour_ = 0xFFFFFFFFu;  // no colour selected yet
};

// Blends a prepared cell onto `dst` at (x, y): the shadow through its mask one pixel right, the
// text colour through the coverage, each row clipped to `dst`.
void DrawGlyphCell(const GlyphCell& cell, Bitmap& dst, int x, int y);

}  // namespace torvel
