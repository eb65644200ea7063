#pragma once
// PNG files for frame capture and the authoring tool, through libpng.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "graphics/bitmap.h"

namespace torvel {

// Writes a 24-bit picture as an RGB PNG; the file is written whole to a temporary name and
// renamed over the target. False on any failure.
// `error`, when given, says why it failed, naming the file.
bool WritePng(const std::filesystem::path& file, const Bitmap& picture, std::string* error = nullptr);

// Reads a PNG of any colour type into a 24-bit picture (alpha is dropped, grey expanded).
// Pictures over 16384 pixels on a side or kMaxPngPixels in all are refused.
bool ReadPng(const std::filesystem::path& file, Bitmap& picture);
bool DecodePng(std::span<const uint8_t> bytes, Bitmap& picture);
inline constexpr uint64_t kMaxPngPixels = uint64_t{1} << 26;

}  // namespace torvel
