// Any bytes as a packed picture entry: the decoder must neither crash nor touch memory outside its
// buffers, and a picture it accepts has the size its header gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "graphics/packed_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> entry(data, size);
  torvel::PackedHeader header;
  bool plausible = torvel::ReadPackedHeader(entry, header);
  // Keep each run quick: a header may ask for up to 64 MiB, which is allowed but slow to fill.
  if (plausible && uint64_t{header.width} * header.height * (header.bytesPerPixel + 3) > (uint64_t{2} << 20)) return 0;
  torvel::Bitmap picture;
  bool decoded = torvel::DecodePackedPicture(entry, picture);
  if (decoded != plausible) std::abort();
  if (decoded && (picture.width != header.width || picture.height != header.height)) std::abort();

  // The stages on their own, over the same bytes.
  uint8_t out[4096];
  if (torvel::ExpandDictionary(entry, out) > sizeof out) std::abort();
  if (torvel::ExpandRuns(entry, out) > sizeof out) std::abort();
  return 0;
}
