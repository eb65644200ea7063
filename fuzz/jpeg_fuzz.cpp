// Any bytes as a JPEG entry: libjpeg's errors must come back as a refusal, never as an exit, a
// crash or a read outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "graphics/jpeg_decoder.h"

// Pictures above this many pixels are allowed but slow to fill under the sanitizers; the frame
// header is found by a plain scan, which is enough to keep each run short.
constexpr uint64_t kMaxFuzzPixels = 4'000'000;

bool TooLarge(const uint8_t* data, size_t size) {
  for (size_t i = 0; i + 9 <= size; ++i) {
    if (data[i] == 0xFF && data[i + 1] >= 0xC0 && data[i + 1] <= 0xC2) {
      uint64_t height = data[i + 5] << 8 | data[i + 6];
      uint64_t width = data[i + 7] << 8 | data[i + 8];
      if (width * height > kMaxFuzzPixels) return true;
    }
  }
  return false;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (TooLarge(data, size)) return 0;
  torvel::Bitmap picture(1, 1);
  picture.Fill(1, 2, 3);
  if (torvel::DecodeJpeg(std::span<const uint8_t>(data, size), picture)) {
    if (picture.Empty() || picture.stride != picture.width * 3) std::abort();
  } else if (picture.width != 1 || picture.pixels[0] != 1) {
    std::abort();  // a refused stream leaves the picture alone
  }
  return 0;
}
