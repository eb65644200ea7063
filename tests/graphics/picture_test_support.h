#pragma once
// Small pictures made by the graphics tests: solid and split rectangles, stored packed for the
// graphic archives or as JPEG for the JPEG archive, and pixel reads.
#include <jpeglib.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "graphics/bitmap.h"
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
inline std::vector<uint8_t> Jpeg(const Bitmap& b) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(b.width);
  c.image_height = static_cast<JDIMENSION>(b.height);
  c.input_components = 3;
  c.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  for (int i = 0; i < c.num_components; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(b.Row(static_cast<int>(c.next_scanline)));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

inline Bgr Px(const Bitmap& b, int x, int y) {
  const uint8_t* p = b.At(x, y);
  return Bgr{p[0], p[1], p[2]};
}

// A fully opaque mask byte gives the source one level darker (the mask kernel drops a carry).
inline Bgr Opaque(Bgr c) { return Bgr{c[0] * 255 >> 8, c[1] * 255 >> 8, c[2] * 255 >> 8}; }

}  // namespace torvel::testing
