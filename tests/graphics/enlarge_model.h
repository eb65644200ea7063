#pragma once
// The enlarging player's two rules as a small model on 24-bit pictures, written from their
// description byte by byte: the tests compare what the window shows with it.
#include "graphics/bitmap.h"

namespace torvel::testing {

// 2× rule: (a >> 1) + (b >> 1) per byte; the last column pair and the last row pair repeat the
// averages before them. `out` is 2W × 2H.
inline Bitmap ModelDoubled(const Bitmap& src) {
  const int w = src.width, h = src.height;
  Bitmap out(2 * w, 2 * h);
  auto half = [](const uint8_t* a, const uint8_t* b, uint8_t* d) {
    for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((a[c] >> 1) + (b[c] >> 1));
  };
  auto copy = [](const uint8_t* a, uint8_t* d) {
    for (int c = 0; c < 3; ++c) d[c] = a[c];
  };
  for (int r = 0; r < h; ++r) {
    for (int i = 0; i + 1 < w; ++i) {
      copy(src.At(i, r), out.At(2 * i, 2 * r));
      half(src.At(i, r), src.At(i + 1, r), out.At(2 * i + 1, 2 * r));
    }
    copy(out.At(2 * w - 3, 2 * r), out.At(2 * w - 2, 2 * r));
    copy(out.At(2 * w - 3, 2 * r), out.At(2 * w - 1, 2 * r));
  }
  for (int r = 0; r + 1 < h; ++r) {
    for (int i = 0; i < 2 * w; ++i) half(out.At(i, 2 * r), out.At(i, 2 * r + 2), out.At(i, 2 * r + 1));
  }
  for (int i = 0; i < 2 * w; ++i) {
    copy(out.At(i, 2 * h - 4), out.At(i, 2 * h - 2));
    copy(out.At(i, 2 * h - 3), out.At(i, 2 * h - 1));
  }
  return out;
}

// 5/4 rule for 640 × 480: (a + b) >> 1 per byte; 800 × 600 with row 599 and column 799 black.
inline Bitmap ModelQuarter(const Bitmap& src) {
  Bitmap out(800, 600);
  auto mean = [](const uint8_t* a, const uint8_t* b, uint8_t* d) {
    for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((a[c] + b[c]) >> 1);
  };
  int o = 0;
  for (int r = 0; r < src.height; ++r) {
    int x = 0;
    for (int g = 0; g < 160; ++g) {
      for (int j = 0; j < 4; ++j, ++x) {
        for (int c = 0; c < 3; ++c) out.At(x, o)[c] = src.At(4 * g + j, r)[c];
      }
      if (g < 159) mean(src.At(4 * g + 3, r), src.At(4 * g + 4, r), out.At(x++, o));
    }
    o += r % 4 == 3 ? 2 : 1;
  }
  for (int k = 3; k < 595; k += 5) {
    for (int i = 0; i < 800; ++i) mean(out.At(i, k), out.At(i, k + 2), out.At(i, k + 1));
  }
  return out;
}

}  // namespace torvel::testing
