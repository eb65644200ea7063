#include "graphics/animation_enlarge.h"

#include <algorithm>
#include <cstring>

namespace torvel {

namespace {
constexpr int kQuarterOutWidth = 800;  // pixels of every output row of the 5/4 rule
constexpr int kQuarterFillLimit = 595;
constexpr int kScreenW = 800;
constexpr int kScreenH = 600;
}  // namespace

void Picture32::Resize(int w, int h) {
  width = std::max(w, 0);
  height = std::max(h, 0);
  pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void Enlarge(const Picture32& frame, Picture32& enlarged) {
  if (frame.width == kQuarterRuleWidth) {
    EnlargeQuarter(frame, enlarged);
  } else {
    EnlargeDouble(frame, enlarged);
  }
}

void EnlargeQuarter(const Picture32& frame, Picture32& enlarged) {
  if (frame.width != kQuarterRuleWidth || enlarged.width < kQuarterOutWidth) return;
  constexpr int kGroups = kQuarterRuleWidth / 4;
  // Source row r lands on row r + r / 4: every fifth output row is left for the averages below.
  for (int r = 0; r < frame.height; ++r) {
    const int o = r + r / 4;
    if (o >= enlarged.height) break;
    const uint32_t* src = frame.Row(r);
    uint32_t* out = enlarged.Row(o);
    for (int g = 0; g < kGroups; ++g, src += 4, out += 5) {
      out[0] = src[0];
      out[1] = src[1];
      out[2] = src[2];
      out[3] = src[3];
      if (g + 1 < kGroups) out[4] = ByteMean(src[3], src[4]);
    }
  }
  for (int k = 3; k < kQuarterFillLimit && k + 2 < enlarged.height; k += 5) {
    const uint32_t* above = enlarged.Row(k);
    const uint32_t* below = enlarged.Row(k + 2);
    uint32_t* out = enlarged.Row(k + 1);
    for (int i = 0; i < kQuarterOutWidth; ++i) out[i] = ByteMean(above[i], below[i]);
  }
}

void EnlargeDouble(const Picture32& frame, Picture32& enlarged) {
  const int w = frame.width;
  const int h = frame.height;
  if (w < 2 || h < 2 || enlarged.width < 2 * w || enlarged.height < 2 * h) return;
  for (int r = 0; r < h; ++r) {
    const uint32_t* src = frame.Row(r);
    uint32_t* out = enlarged.Row(2 * r);
    for (int i = 0; i + 1 < w; ++i) {
      out[2 * i] = src[i];
      out[2 * i + 1] = HalveAndAdd(src[i], src[i + 1]);
    }
    // The last source pixel gives way to the average before it on both last output pixels.
    out[2 * w - 2] = out[2 * w - 3];
    out[2 * w - 1] = out[2 * w - 3];
  }
  for (int r = 0; r + 1 < h; ++r) {
    const uint32_t* above = enlarged.Row(2 * r);
    const uint32_t* below = enlarged.Row(2 * r + 2);
    uint32_t* out = enlarged.Row(2 * r + 1);
    for (int i = 0; i < 2 * w; ++i) out[i] = HalveAndAdd(above[i], below[i]);
  }
  const size_t bytes = static_cast<size_t>(2 * w) * sizeof(uint32_t);
  std::memcpy(enlarged.Row(2 * h - 2), enlarged.Row(2 * h - 4), bytes);
  std::memcpy(enlarged.Row(2 * h - 1), enlarged.Row(2 * h - 3), bytes);
}

void DrawInto(const Bitmap& source, Picture32& target, int x, int y) {
  const int64_t left = std::max<int64_t>(0, x), top = std::max<int64_t>(0, y);
  const int64_t right = std::min<int64_t>(target.width, int64_t{x} + source.width);
  const int64_t bottom = std::min<int64_t>(target.height, int64_t{y} + source.height);
  for (int64_t ty = top; ty < bottom; ++ty) {
    const uint8_t* p = source.At(static_cast<int>(left - x), static_cast<int>(ty - y));
    uint32_t* out = target.Row(static_cast<int>(ty)) + left;
    for (int64_t tx = left; tx < right; ++tx, p += 3) *out++ = PackPixel(p[0], p[1], p[2]);
  }
}

Bitmap VisiblePart(const Picture32& source, int x, int y, Point& at) {
  const int64_t left = std::max<int64_t>(0, x), top = std::max<int64_t>(0, y);
  const int64_t right = std::min<int64_t>(kScreenW, int64_t{x} + source.width);
  const int64_t bottom = std::min<int64_t>(kScreenH, int64_t{y} + source.height);
  if (right <= left || bottom <= top) return Bitmap();
  Bitmap out(static_cast<int>(right - left), static_cast<int>(bottom - top));
  for (int oy = 0; oy < out.height; ++oy) {
    const uint32_t* src = source.Row(static_cast<int>(top - y) + oy) + (left - x);
    uint8_t* p = out.Row(oy);
    for (int ox = 0; ox < out.width; ++ox, p += 3) {
      const uint32_t v = src[ox];
      p[0] = static_cast<uint8_t>(v);
      p[1] = static_cast<uint8_t>(v >> 8);
      p[2] = static_cast<uint8_t>(v >> 16);
    }
  }
  at = Point{static_cast<int>(left), static_cast<int>(top)};
  return out;
}

}  // namespace torvel
