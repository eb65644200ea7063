#pragma once
// Small pictures made by the graphics tests: solid and split rectangles, stored packed for the
// graphic archives or as JPEG for the JPEG archive, and pixel reads.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/jpeg_encoder.h"
#include "graphics/packed_picture_encoder.h"

namespace torvel::testing {

using Bgr = std::array<int, 3>;

inline Bitmap Solid(int w, int h, Bgr c) {
  Bitmap b(w, h);
  b.Fill(static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1]), static_cast<uint8_t>(c[2]));
  return b;
}

// A picture whose pixel (x, y) is (x, y, 7) with bytes wrapping: every pixel tells where it came
// from.
inline Bitmap Gradient(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = 7;
    }
  }
  return b;
}

// Fills columns [x0, x1) of every row.
inline void FillColumns(Bitmap& b, int x0, int x1, Bgr c) {
  for (int y = 0; y < b.height; ++y) {
    for (int x = x0; x < x1; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(c[0]);
      p[1] = static_cast<uint8_t>(c[1]);
      p[2] = static_cast<uint8_t>(c[2]);
    }
  }
}

inline std::vector<uint8_t> Packed(const Bitmap& b) { return EncodePackedPicture(b, PackedStages{true, true}); }

// Quality 100 and no chroma subsampling: a solid area decodes within a level or two.
inline std::vector<uint8_t> Jpeg(const Bitmap& b) { return EncodeJpeg(b, JpegEncodeOptions{100, true, false}); }

inline Bgr Px(const Bitmap& b, int x, int y) {
  const uint8_t* p = b.At(x, y);
  return Bgr{p[0], p[1], p[2]};
}

// A fully opaque mask byte gives the source one level darker (the mask kernel drops a carry).
inline Bgr Opaque(Bgr c) { return Bgr{c[0] * 255 >> 8, c[1] * 255 >> 8, c[2] * 255 >> 8}; }

}  // namespace torvel::testing
