#include "graphics/jpeg_encoder.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace torvel {

std::vector<uint8_t> EncodeJpeg(const Bitmap& picture, const JpegEncodeOptions& options) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = options.grey ? 1 : 3;
  info.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, options.quality, TRUE);
  if (options.fullChroma) {
    for (int i = 0; i < info.num_components; ++i) info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> greyRow(static_cast<size_t>(picture.width));
  while (info.next_scanline < info.image_height) {
    const uint8_t* row = picture.Row(static_cast<int>(info.next_scanline));
    JSAMPROW p = const_cast<uint8_t*>(row);
    if (options.grey) {
      for (int x = 0; x < picture.width; ++x) greyRow[static_cast<size_t>(x)] = row[x * 3];
      p = greyRow.data();
    }
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

}  // namespace torvel
