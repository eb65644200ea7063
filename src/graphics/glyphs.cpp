#include "graphics/glyphs.h"

#include <algorithm>
#include <cstring>

#include "graphics/kernels.h"
#include "resources/sjis.h"

namespace torvel {

namespace {

// The largest gray bitmap a cell takes, in bytes with rows padded to four; bigger glyphs (very
// large sizes) stay blank.
constexpr int kGlyphBitmapLimit = kGlyphMapSize - 1;
constexpr int kLargeGlyphBitmapLimit = kLargeGlyphMapSize - 1;
// The glyph's black box starts this many rows below the top of the cell.
constexpr int kGlyphTopMargin = 2;
// Where external character tiles sit in the cell.
constexpr int kGaijiOffset = 2;

// The characters every page needs, rendered when the cache is reset.
struct CodeRange {
  uint16_t first;
  uint16_t last;
};
constexpr CodeRange kWarmRanges[] = {{0x829F, 0x82F1}, {0x8340, 0x8396}, {0x824F, 0x8258}};
constexpr uint16_t kWarmCodes[] = {0x8140, 0x8175, 0x8176, 0x8169, 0x816A, 0x8163, 0x8142,
                                   0x8141, 0x8145, 0x8149, 0x8148, 0x93FA, 0x8177, 0x8178};

constexpr uint32_t kCodeColours[kColourCodeCount] = {0xFFFFFF, 0x008000, 0x0000FF, 0x800080,
                                                     0x00FFFF, 0xFF0000, 0xFFFF00, 0xC0C0C0};
constexpr uint32_t kWhite = 0xFFFFFF;

void FillColour(Bitmap& b, uint32_t colour) {
  b.Fill(static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour));
}

// Writes a gray glyph into a coverage map `width` bytes wide and `rows` high; pixels falling
// outside the map are dropped. False when the glyph is too large for the cell.
bool PlaceGlyph(const GrayGlyph& g, int ascent, int width, int rows, int limit, uint8_t* map) {
  int padded = (g.width + 3) & ~3;
  if (g.width <= 0 || g.height <= 0 || padded * g.height > limit) return false;
  for (int y = 0; y < g.height; ++y) {
    int row = kGlyphTopMargin + ascent - g.originY + y;
    if (row < 0 || row >= rows) continue;
    for (int x = 0; x < g.width; ++x) {
      int col = g.originX + x;
      if (col < 0 || col >= width) continue;
      map[row * width + col] = CoverageOfLevel(g.levels[static_cast<size_t>(y) * g.width + x]);
    }
  }
  return true;
}

// Fills the coverage and shadow bitmaps of `cell` from the first rows of `map`. The shadow is
// the mean of the four neighbours, moved one row down.
void BuildCell(const uint8_t* map, int width, GlyphCell& cell) {
  int h = cell.coverage.height;
  for (int r = 0; r < h; ++r) {
    uint8_t* out = cell.coverage.Row(r);
    for (int c = 0; c < width; ++c) out[c * 3] = out[c * 3 + 1] = out[c * 3 + 2] = map[r * width + c];
  }
  cell.shadowMask.Fill(0, 0, 0);
  for (int r = 1; r <= h - 2; ++r) {
    uint8_t* out = cell.shadowMask.Row(r + 1);
    for (int c = 1; c <= width - 2; ++c) {
      int s =
          (map[(r - 1) * width + c] + map[r * width + c - 1] + map[r * width + c + 1] + map[(r + 1) * width + c]) >> 2;
      out[c * 3] = out[c * 3 + 1] = out[c * 3 + 2] = static_cast<uint8_t>(s);
    }
  }
}

// One cell row blended onto a destination row at pixel x. A row reaching past either side goes
// through a scratch row, so every visible pixel gets the bytes an unclipped cell would give.
void BlendCellRow(uint8_t* dstRow, int dstWidth, int x, const uint8_t* colour, const uint8_t* mask, int width) {
  int groups = width * 3 / 8;
  if (x >= 0 && x + width <= dstWidth) {
    BlendRowsMasked(dstRow + x * 3, colour, groups, mask, dstRow + x * 3);
    return;
  }
  int from = std::max(0, -x);
  int to = std::min(width, dstWidth - x);
  if (from >= to) return;
  uint8_t scratch[kLargeGlyphWidth * 3] = {};
  std::memcpy(scratch + from * 3, dstRow + (x + from) * 3, static_cast<size_t>(to - from) * 3);
  BlendRowsMasked(scratch, colour, groups, mask, scratch);
  std::memcpy(dstRow + (x + from) * 3, scratch + from * 3, static_cast<size_t>(to - from) * 3);
}

}  // namespace

uint16_t GlyphCode(std::string_view text) {
  size_t n = SjisCharLength(text, 0);
  if (n == 0) return 0;
  auto b0 = static_cast<uint8_t>(text[0]);
  if (n == 1) return b0;
  return static_cast<uint16_t>(b0 << 8 | static_cast<uint8_t>(text[1]));
}

uint32_t ColourOfCode(int code, uint32_t defaultColour) {
  if (code == 0) return defaultColour & 0xFFFFFF;
  return kCodeColours[code & (kColourCodeCount - 1)];
}

void DrawGlyphCell(const GlyphCell& cell, Bitmap& dst, int x, int y) {
  int width = cell.coverage.width;
  for (int row = 0; row < cell.coverage.height; ++row) {
    int dy = y + row;
    if (dy < 0 || dy >= dst.height) continue;
    uint8_t* d = dst.Row(dy);
    BlendCellRow(d, dst.width, x + 1, cell.shadowColour.Row(row), cell.shadowMask.Row(row), width);
    BlendCellRow(d, dst.width, x, cell.textColour.Row(row), cell.coverage.Row(row), width);
  }
}

GlyphRenderer::GlyphRenderer() : largeMap_(kLargeGlyphMapSize) {
  FillColour(large_.textColour, kWhite);
  cache_.reserve(kGlyphCacheCapacity);
}

void GlyphRenderer::SetFont(std::string_view sjisName, int pixelSize, bool bold) {
  source_.SetFont(sjisName, pixelSize, bold);
  fontSize_ = pixelSize;
}

void GlyphRenderer::ResetCache(std::string_view gaijiCodes, const Bitmap& gaijiPicture) {
  cache_.clear();
  for (size_t i = 0; i + 1 < gaijiCodes.size() && cache_.size() < kGlyphCacheCapacity; i += 2) {
    GlyphCacheEntry entry;
    entry.code =
        static_cast<uint16_t>(static_cast<uint8_t>(gaijiCodes[i]) << 8 | static_cast<uint8_t>(gaijiCodes[i + 1]));
    int left = static_cast<int>(i / 2) * kGaijiTile;
    for (int y = 0; y < kGaijiTile && y < gaijiPicture.height; ++y) {
      for (int x = 0; x < kGaijiTile && left + x < gaijiPicture.width; ++x) {
        entry.map[(kGaijiOffset + y) * kGlyphCellWidth + kGaijiOffset + x] = gaijiPicture.At(left + x, y)[0];
      }
    }
    cache_.push_back(entry);
  }
  for (const CodeRange& range : kWarmRanges) {
    for (int code = range.first; code <= range.last; ++code) Render(static_cast<uint16_t>(code));
  }
  for (uint16_t code : kWarmCodes) Render(code);
}

void GlyphRenderer::Prepare(std::string_view text) { Render(GlyphCode(text)); }

void GlyphRenderer::Render(uint16_t code) {
  const GlyphCacheEntry* hit = nullptr;
  for (const GlyphCacheEntry& entry : cache_) {
    if (entry.code == code) {
      hit = &entry;
      break;
    }
  }
  if (hit) {
    map_ = hit->map;
  } else {
    map_.fill(0);
    int ascent = source_.Ascent(fontSize_);
    bool drawn = source_.Rasterise(code, fontSize_, gray_) &&
                 PlaceGlyph(gray_, ascent, kGlyphCellWidth, kGlyphMapRows, kGlyphBitmapLimit, map_.data());
    if (!drawn) {
      // A character the font cannot give shows as an empty cell and is asked for again next time.
      map_.fill(0);
    } else if (cache_.size() < kGlyphCacheCapacity) {
      cache_.push_back(GlyphCacheEntry{code, map_});
    }
  }
  BuildCell(map_.data(), kGlyphCellWidth, cell_);
}

void GlyphRenderer::SetColour(int code, uint32_t defaultColour) {
  uint32_t colour = ColourOfCode(code, defaultColour);
  if (colour == colour_) return;
  colour_ = colour;
  FillColour(cell_.textColour, colour);
}

void GlyphRenderer::Draw(Bitmap& dst, int x, int y) const {
  if (y > kGlyphLowestTop) return;
  DrawGlyphCell(cell_, dst, x, y);
}

void GlyphRenderer::RenderLarge(std::string_view text, int pixelSize) {
  std::fill(largeMap_.begin(), largeMap_.end(), 0);
  int ascent = source_.Ascent(pixelSize);
  if (!source_.Rasterise(GlyphCode(text), pixelSize, gray_) ||
      !PlaceGlyph(gray_, ascent, kLargeGlyphWidth, kLargeGlyphHeight, kLargeGlyphBitmapLimit, largeMap_.data())) {
    std::fill(largeMap_.begin(), largeMap_.end(), 0);
  }
  BuildCell(largeMap_.data(), kLargeGlyphWidth, large_);
}

void GlyphRenderer::DrawLarge(Bitmap& dst, int x, int y) const { DrawGlyphCell(large_, dst, x, y); }

void GlyphRenderer::DrawText(std::string_view text, int x0, int pitch, int shift, Bitmap& dst, int code,
                             uint32_t defaultColour, int y) {
  SetColour(code, defaultColour);
  for (size_t pos = 0; pos < text.size();) {
    size_t n = SjisCharLength(text, pos);
    // Positions far off any picture (huge pitches from a configuration) draw nothing.
    int64_t x = int64_t{x0} + static_cast<int64_t>(pos + 1) * pitch - shift;
    if (x > -kLargeGlyphWidth - 1 && x <= dst.width) {
      Prepare(text.substr(pos, n));
      Draw(dst, static_cast<int>(x), y);
    }
    pos += n;
  }
}

}  // namespace torvel
