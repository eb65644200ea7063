#pragma once
// Builds archive files of both layouts: used by the authoring tool and by the tests' game
// fixtures, so that both write exactly what the engine reads.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

struct ArchiveEntry {
  std::string name;           // Shift-JIS bytes, as the index stores it
  std::vector<uint8_t> body;  // plain bytes; the data layout negates them when written
};

// Data layout ("tq_data.tvx"). Returns false (and leaves `out` empty) when a name does not
// fit its 56-byte field with its NUL, or the file would pass 4 GiB.
bool BuildDataArchive(const std::vector<ArchiveEntry>& entries, std::vector<uint8_t>& out);

// General layout with a name field of `nameLength` bytes (32 in the usual archives).
bool BuildGeneralArchive(const std::vector<ArchiveEntry>& entries, uint32_t nameLength, std::vector<uint8_t>& out);

// A script or table written as UTF-8 text becomes its stored form: Shift-JIS, every line
// ended by one NUL instead of its line break (CR LF, LF or CR).
std::vector<uint8_t> ScriptTextToBody(std::string_view utf8);

// The same for text that is already Shift-JIS.
std::vector<uint8_t> SjisTextToBody(std::string_view sjis);

}  // namespace torvel
