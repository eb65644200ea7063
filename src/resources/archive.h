#pragma once
// Archive files: the index reader and the entry reader for both layouts. Indexes come from
// disk and may be damaged, so nothing in them is trusted: counts and name lengths are bounded
// by the file size, and a body that does not lie inside the file reads as missing.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

enum class ArchiveLayout {
  Data,     // 64-byte entries: 56-byte name, offset, size; bodies stored negated
  General,  // nameLength-byte name, offset, size; bodies stored as they are
};

constexpr size_t kDataEntrySize = 64;
constexpr size_t kDataNameField = 56;

struct ArchiveIndex {
  std::filesystem::path file;  // empty when the archive is missing
  ArchiveLayout layout = ArchiveLayout::General;
  uint32_t count = 0;
  uint32_t nameLength = 0;         // general layout only
  std::vector<std::string> names;  // upper-cased, Shift-JIS aware
  std::vector<uint32_t> offsets;
  std::vector<uint32_t> sizes;
  std::vector<bool> bodyFits;  // false where offset + size passes the end of the file
  // Why the archive could not be read, or that its header or index is cut short by the end of
  // the file (the entries that fit are kept), naming the file; empty when it was read whole.
  std::string error;

  bool Present() const { return !file.empty(); }
  bool Damaged() const { return Present() && !error.empty(); }
  // Position of `name` (compared without case) or -1; the first of duplicates wins.
  int FindEntry(std::string_view name) const;
};

// Parses an index from the first bytes of an archive whose whole size is `fileSize`.
// Entries that do not fit in `head` are cut off, and the index is then marked as damaged.
ArchiveIndex ParseArchiveIndex(std::span<const uint8_t> head, uint64_t fileSize, ArchiveLayout layout);

// Reads the index of an archive file; a missing or unreadable file (a folder, a pipe) gives an
// empty index that is not Present.
ArchiveIndex ReadArchiveIndex(const std::filesystem::path& file, ArchiveLayout layout);

// Reads the body of entry `i` as stored (data-layout bodies stay negated). False when the
// entry is out of range, its body does not fit the file, or the file cannot be read.
bool ReadEntry(const ArchiveIndex& index, int i, std::vector<uint8_t>& body);

// Turns a data-layout body back into plain bytes: stored byte = 256 - plain byte.
void NegateBytes(std::span<uint8_t> bytes);

}  // namespace torvel
