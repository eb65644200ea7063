// Any bytes as a PNG file for the picture encoder's reader: libpng's errors come back as a
// refusal, and a picture it accepts is whole.
#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/png_io.h"

namespace {

// Pictures this large are allowed but slow to fill under the sanitizers; the size is read from
// the header chunk, which a PNG has right after its signature.
constexpr uint64_t kMaxFuzzPixels = 4'000'000;

bool TooLarge(const uint8_t* data, size_t size) {
  if (size < 24) return false;
  auto be32 = [&](size_t at) {
    return uint64_t{data[at]} << 24 | uint64_t{data[at + 1]} << 16 | uint64_t{data[at + 2]} << 8 | data[at + 3];
  };
  return be32(16) * be32(20) > kMaxFuzzPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (TooLarge(data, size)) return 0;
  torvel::Bitmap picture;
  if (torvel::DecodePng(std::span<const uint8_t>(data, size), picture)) {
    if (picture.Empty() || picture.pixels.size() != static_cast<size_t>(picture.stride) * picture.height) {
      __builtin_trap();
    }
  }
  return 0;
}
