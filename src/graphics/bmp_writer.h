#pragma once
// Windows BMP files written from 24-bit pictures (the export of composite backgrounds).
#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

// An uncompressed 24-bit bottom-up BMP: 14-byte file header, 40-byte info header, rows padded
// to four bytes.
std::vector<uint8_t> EncodeBmp24(const Bitmap& picture);

}  // namespace torvel
