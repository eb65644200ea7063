#pragma once
// JPEG encoding through libjpeg-turbo, for the authoring side: tests and benchmarks make the
// JPEG entries they need with it.
#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

struct JpegEncodeOptions {
  int quality = 90;
  bool fullChroma = false;  // no chroma subsampling: solid areas decode within a level or two
  bool grey = false;        // one grey channel, taken from the blue bytes
};

std::vector<uint8_t> EncodeJpeg(const Bitmap& picture, const JpegEncodeOptions& options = {});

}  // namespace torvel
