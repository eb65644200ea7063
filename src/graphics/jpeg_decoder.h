#pragma once
// JPEG pictures of the JPEG archive, decoded through libjpeg-turbo.
#include <cstdint>
#include <span>

#include "graphics/bitmap.h"

namespace torvel {

// Decodes a whole JPEG stream into `bitmap`, resized to the picture's size. False, with the
// bitmap untouched, when libjpeg rejects the stream or the picture would be absurdly large.
bool DecodeJpeg(std::span<const uint8_t> bytes, Bitmap& bitmap);

}  // namespace torvel
