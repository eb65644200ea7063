#pragma once
// Windows BMP files, read by the authoring tool: uncompressed 1, 4, 8, 24 and 32 bits a pixel
// (32 also with bit-field masks), bottom-up or top-down.
#include <cstdint>
#include <filesystem>
#include <span>

#include "graphics/bitmap.h"

namespace torvel {

// False, with the picture untouched, for anything else or for a file that is cut short.
bool DecodeBmp(std::span<const uint8_t> bytes, Bitmap& picture);
bool ReadBmp(const std::filesystem::path& file, Bitmap& picture);

}  // namespace torvel
