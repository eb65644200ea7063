#include "resources/archive_writer.h"

#include <limits>

#include "resources/archive.h"
#include "resources/sjis.h"

namespace torvel {

namespace {

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

bool Build(const std::vector<ArchiveEntry>& entries, size_t header, size_t nameField, bool negate,
           std::vector<uint8_t>& out) {
  out.clear();
  uint64_t total = header + (nameField + 8) * entries.size();
  for (const ArchiveEntry& e : entries) {
    if (e.name.size() >= nameField || e.name.find('\0') != std::string::npos) return false;
    total += e.body.size();
  }
  if (total > std::numeric_limits<uint32_t>::max()) return false;
  out.assign(header + (nameField + 8) * entries.size(), 0);
  PutU32(out, 0, static_cast<uint32_t>(entries.size()));
  size_t at = header;
  for (const ArchiveEntry& e : entries) {
    std::copy(e.name.begin(), e.name.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    PutU32(out, at + nameField, static_cast<uint32_t>(out.size()));
    PutU32(out, at + nameField + 4, static_cast<uint32_t>(e.body.size()));
    size_t start = out.size();
    out.insert(out.end(), e.body.begin(), e.body.end());
    if (negate) NegateBytes(std::span<uint8_t>(out.data() + start, e.body.size()));
    at += nameField + 8;
  }
  return true;
}

}  // namespace

bool BuildDataArchive(const std::vector<ArchiveEntry>& entries, std::vector<uint8_t>& out) {
  return Build(entries, 4, kDataNameField, true, out);
}

bool BuildGeneralArchive(const std::vector<ArchiveEntry>& entries, uint32_t nameLength, std::vector<uint8_t>& out) {
  if (nameLength < 2) return false;
  if (!Build(entries, 8, nameLength, false, out)) return false;
  PutU32(out, 4, nameLength);
  return true;
}

std::vector<uint8_t> SjisTextToBody(std::string_view sjis) {
  std::vector<uint8_t> body;
  body.reserve(sjis.size() + 1);
  bool lineOpen = false;
  for (size_t i = 0; i < sjis.size(); ++i) {
    char c = sjis[i];
    if (c == '\r' || c == '\n') {
      body.push_back(0);
      lineOpen = false;
      if (c == '\r' && i + 1 < sjis.size() && sjis[i + 1] == '\n') ++i;
    } else {
      body.push_back(static_cast<uint8_t>(c));
      lineOpen = true;
    }
  }
  if (lineOpen) body.push_back(0);
  return body;
}

std::vector<uint8_t> ScriptTextToBody(std::string_view utf8) {
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  return SjisTextToBody(Utf8ToSjis(utf8));
}

}  // namespace torvel
