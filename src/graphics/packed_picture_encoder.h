#pragma once
// Writes pictures in the packed format of the graphic archives (the authoring side of
// packed_picture.h).
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

struct PackedStages {
  bool runLength = false;
  bool delta = false;
};

// Encodes with the given stages. Empty when the picture is empty or too large for the header
// (over 65535 pixels a side) or for the decoder's limit.
std::vector<uint8_t> EncodePackedPicture(const Bitmap& picture, PackedStages stages);

// Tries every combination of stages and keeps the smallest result.
std::vector<uint8_t> EncodePackedPictureSmallest(const Bitmap& picture);

// The stages on their own, each the inverse of its counterpart in packed_picture.h.
std::vector<uint8_t> CompressDictionary(std::span<const uint8_t> data);
std::vector<uint8_t> CompressRuns(std::span<const uint8_t> data);
void ApplyDelta(std::span<uint8_t> data);

}  // namespace torvel
