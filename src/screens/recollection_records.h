#pragma once
// The recollection record slots kept in "kaiso.dat": ten play lists of scene-table lines and
// their names. They are kept as read, names byte for byte; the recollection screen edits them
// and the global data write stores them.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace torvel {

constexpr int kRecordSlots = 10;
constexpr int kRecordPlayListLength = 50;
constexpr size_t kRecordNameField = 64;
constexpr size_t kRecollectionFileSize =
    kRecordSlots * kRecordPlayListLength * 4 + kRecordSlots * kRecordNameField;  // 2640

struct RecollectionRecords {
  // Line numbers of the scene table, 0 = empty.
  std::array<std::array<int32_t, kRecordPlayListLength>, kRecordSlots> playLists{};
  // Shift-JIS names, NUL-terminated within their field.
  std::array<std::array<uint8_t, kRecordNameField>, kRecordSlots> names{};

  std::string_view Name(int slot) const;
};

// The file's bytes: the 500 play-list integers (little-endian), then the 640 name bytes.
std::vector<uint8_t> EncodeRecollectionRecords(const RecollectionRecords& records);
// Reads as much of a file as there is: missing bytes read as zero, bytes past the layout are
// ignored.
RecollectionRecords DecodeRecollectionRecords(std::span<const uint8_t> bytes);

}  // namespace torvel
