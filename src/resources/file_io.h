#pragma once
// Whole-file reads and writes. Every file the engine writes goes to a temporary file in the
// same folder first and is renamed over the old one, so a crash or a full disk never leaves a
// half-written file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace torvel {

bool ReadWholeFile(const std::filesystem::path& file, std::vector<uint8_t>& bytes);
bool WriteFileAtomically(const std::filesystem::path& file, std::span<const uint8_t> bytes);
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view text);

}  // namespace torvel
