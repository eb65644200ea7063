// Any bytes as a BMP file for the picture encoder's reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "graphics/bmp_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  torvel::Bitmap picture;
  if (torvel::DecodeBmp(std::span<const uint8_t>(data, size), picture)) {
    if (picture.Empty() || picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height * 3) {
      std::abort();
    }
  }
  return 0;
}
