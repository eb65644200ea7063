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
bool WritePng(const std::filesystem::path& file, const Bitmap& picture);

// Reads a PNG of any colour type into a 24-bit picture (alpha is dropped, grey expanded).
bool ReadPng(const std::filesystem::path& file, Bitmap& picture);

}  // namespace torvel
