#pragma once
// Whole-file reads and writes. Every file the engine writes goes to a temporary file in the
// same folder first, is flushed to the disk and renamed over the old one, and the folder is
// synced, so a crash or a full disk never leaves a half-written file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace torvel {

bool ReadWholeFile(const std::filesystem::path& file, std::vector<uint8_t>& bytes);
// Reads at most `limit` bytes from the start of a file, however long the file is.
bool ReadFileStart(const std::filesystem::path& file, size_t limit, std::vector<uint8_t>& bytes);
bool WriteFileAtomically(const std::filesystem::path& file, std::span<const uint8_t> bytes);
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view text);

}  // namespace torvel
