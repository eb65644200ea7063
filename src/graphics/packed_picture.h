#pragma once
// The engine's own lossless picture format, stored in the graphic archives: a 16-byte header and
// up to three stages (a dictionary coder, an optional run-length coder and an optional per-channel
// delta), undone in that order.
#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/bitmap.h"

namespace torvel {

constexpr size_t kPackedHeaderSize = 16;
constexpr uint8_t kPackedRunLengthFlag = 0x40;  // a run-length stage follows the dictionary stage
constexpr uint8_t kPackedDeltaFlag = 0x80;      // the pixel bytes are delta-coded per channel
// The largest stage buffer the decoder will allocate; an 800 × 600 picture needs 1.44 MB, so
// anything near this comes from a damaged header.
constexpr uint64_t kMaxPackedStageBytes = uint64_t{64} << 20;

struct PackedHeader {
  uint8_t flags = 0;
  uint8_t bytesPerPixel = 0;
  uint32_t compressedSize = 0;  // bytes after the header
  uint32_t dictionarySize = 0;  // output of the dictionary stage when the run-length stage follows
  uint16_t width = 0;
  uint16_t height = 0;
};

// Reads the header and checks it against the entry: false when the entry is shorter than the
// header, the compressed data runs past the entry, or a stage would need more than
// kMaxPackedStageBytes.
bool ReadPackedHeader(std::span<const uint8_t> entry, PackedHeader& header);

// Decodes a whole entry into `bitmap` (resized to the picture's size when it differs). False, with
// the bitmap untouched, when ReadPackedHeader rejects the header. A stream that ends early or a
// token that reaches outside its buffer ends the decoding there; whatever was not produced stays
// black.
bool DecodePackedPicture(std::span<const uint8_t> entry, Bitmap& bitmap);

// The stages on their own, for the encoder and its tests. Each fills `out` from its start and
// returns how many bytes it produced; it never reads past `in` nor writes past `out`, but may
// leave scratch bytes in `out` past what it produced.
size_t ExpandDictionary(std::span<const uint8_t> in, std::span<uint8_t> out);
size_t ExpandRuns(std::span<const uint8_t> in, std::span<uint8_t> out);
// Turns per-channel differences (bytes c, c + 3, c + 6, … for c = 0, 1, 2) back into values.
void UndoDelta(std::span<uint8_t> data);

}  // namespace torvel
