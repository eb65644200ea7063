#pragma once
// Rectangle copies between pictures, clipped to both.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "graphics/bitmap.h"

namespace torvel {

// Copies the w × h rectangle at (sx, sy) of `src` to (dx, dy) of `dst`; the parts that lie
// outside either picture are left out. Returns the rectangle written in `dst`.
inline Rect CopyRegion(const Bitmap& src, int sx, int sy, Bitmap& dst, int dx, int dy, int w, int h) {
  // Clip the source, then the destination, moving both corners together.
  int64_t left = 0, top = 0, right = w, bottom = h;
  left = std::max<int64_t>({left, -int64_t{sx}, -int64_t{dx}});
  top = std::max<int64_t>({top, -int64_t{sy}, -int64_t{dy}});
  right = std::min<int64_t>({right, int64_t{src.width} - sx, int64_t{dst.width} - dx});
  bottom = std::min<int64_t>({bottom, int64_t{src.height} - sy, int64_t{dst.height} - dy});
  if (right <= left || bottom <= top) return {};
  const size_t bytes = static_cast<size_t>(right - left) * 3;
  for (int64_t r = top; r < bottom; ++r) {
    std::memmove(dst.At(static_cast<int>(dx + left), static_cast<int>(dy + r)),
                 src.At(static_cast<int>(sx + left), static_cast<int>(sy + r)), bytes);
  }
  return Rect{static_cast<int>(dx + left), static_cast<int>(dy + top), static_cast<int>(dx + right),
              static_cast<int>(dy + bottom)};
}

}  // namespace torvel
