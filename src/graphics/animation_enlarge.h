#pragma once
// The enlarging animation player's pictures: one 32-bit word a pixel (blue, green, red and an
// unused byte), and the two rules that enlarge a frame. A 640-wide frame grows by 5/4 each way to
// fill 800 × 600; any other frame doubles each way with a smoothing average.
#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

struct Picture32 {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  // Resized to w × h and filled black.
  void Resize(int w, int h);
  uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  const uint32_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

constexpr uint32_t PackPixel(uint8_t b, uint8_t g, uint8_t r) {
  return uint32_t{b} | (uint32_t{g} << 8) | (uint32_t{r} << 16);
}

// The frame width that selects the 5/4 rule.
constexpr int kQuarterRuleWidth = 640;

// The average of the 2× rule: each byte halved before adding, so no carry crosses a byte.
constexpr uint32_t HalveAndAdd(uint32_t a, uint32_t b) { return ((a >> 1) & 0x7F7F7F7Fu) + ((b >> 1) & 0x7F7F7F7Fu); }
// The average of the 5/4 rule: (a + b) >> 1 of each byte.
constexpr uint32_t ByteMean(uint32_t a, uint32_t b) { return (a & b) + (((a ^ b) >> 1) & 0x7F7F7F7Fu); }

// `enlarged` must be 2W × 2H of the frame. The 5/4 rule writes only the 800 × 600 corner less
// row 599 and column 799, and never a row the enlarged picture does not have. The 2× rule needs
// a frame of at least 2 × 2.
void Enlarge(const Picture32& frame, Picture32& enlarged);
void EnlargeQuarter(const Picture32& frame, Picture32& enlarged);
void EnlargeDouble(const Picture32& frame, Picture32& enlarged);

// Draws a 24-bit picture into a 32-bit one with its corner at (x, y), clipped.
void DrawInto(const Bitmap& source, Picture32& target, int x, int y);
// Copies the part of `source` that lands on an 800 × 600 screen when placed at (x, y) into a 24-bit
// picture of that part's size; `at` receives where it goes on the screen. Empty when nothing lands.
Bitmap VisiblePart(const Picture32& source, int x, int y, Point& at);

}  // namespace torvel
