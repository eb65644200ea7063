#include "resources/archive.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "resources/sjis.h"

namespace torvel {

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// A name ends at its NUL or at the end of its field.
std::string FieldName(const uint8_t* p, size_t field) {
  const void* nul = std::memchr(p, 0, field);
  size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - p) : field;
  return std::string(reinterpret_cast<const char*>(p), n);
}

size_t HeaderSize(ArchiveLayout layout) { return layout == ArchiveLayout::Data ? 4 : 8; }

}  // namespace

int ArchiveIndex::FindEntry(std::string_view name) const {
  std::string upper = SjisUpper(name);
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == upper) return static_cast<int>(i);
  }
  return -1;
}

ArchiveIndex ParseArchiveIndex(std::span<const uint8_t> head, uint64_t fileSize, ArchiveLayout layout) {
  ArchiveIndex index;
  index.layout = layout;
  size_t header = HeaderSize(layout);
  if (head.size() < header || fileSize < header) {
    index.error = "the archive header is cut short";
    return index;
  }
  uint64_t count = ReadU32(head.data());
  uint64_t nameField = kDataNameField;
  if (layout == ArchiveLayout::General) {
    nameField = ReadU32(head.data() + 4);
    index.nameLength = static_cast<uint32_t>(nameField);
  }
  uint64_t entrySize = nameField + 8;
  uint64_t available = std::min<uint64_t>(head.size(), fileSize) - header;
  if (count > available / entrySize) {
    index.error = "the archive index runs past the end of the file";
    count = available / entrySize;
  }
  index.count = static_cast<uint32_t>(count);
  index.names.reserve(count);
  index.offsets.reserve(count);
  index.sizes.reserve(count);
  index.bodyFits.reserve(count);
  const uint8_t* p = head.data() + header;
  for (uint64_t i = 0; i < count; ++i, p += entrySize) {
    uint32_t offset = ReadU32(p + nameField);
    uint32_t size = ReadU32(p + nameField + 4);
    index.names.push_back(SjisUpper(FieldName(p, static_cast<size_t>(nameField))));
    index.offsets.push_back(offset);
    index.sizes.push_back(size);
    index.bodyFits.push_back(static_cast<uint64_t>(offset) + size <= fileSize);
  }
  return index;
}

ArchiveIndex ReadArchiveIndex(const std::filesystem::path& file, ArchiveLayout layout) {
  ArchiveIndex empty;
  empty.layout = layout;
  auto unreadable = [&](std::string_view reason) {
    empty.error = file.string() + ": " + std::string(reason);
    return empty;
  };
  // Only regular files are opened: a pipe would block the reader.
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return unreadable(std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return unreadable("is a folder");
  if (!S_ISREG(st.st_mode)) return unreadable("is not a regular file");
  uint64_t fileSize = static_cast<uint64_t>(st.st_size);
  std::ifstream in(file, std::ios::binary);
  if (!in) return unreadable(std::strerror(errno));
  size_t header = HeaderSize(layout);
  uint8_t head[8] = {};
  size_t got = 0;
  if (fileSize >= header && in.read(reinterpret_cast<char*>(head), static_cast<std::streamsize>(header))) {
    got = header;
  }
  uint64_t indexBytes = 0;
  if (got == header) {
    uint64_t count = ReadU32(head);
    uint64_t entrySize = (layout == ArchiveLayout::Data ? kDataNameField : ReadU32(head + 4)) + 8;
    // Never read more of the index than the file holds, whatever the count says.
    uint64_t left = fileSize - header;
    indexBytes = count > left / entrySize ? left - left % entrySize : count * entrySize;
  }
  std::vector<uint8_t> bytes(got + indexBytes);
  if (got > 0) std::memcpy(bytes.data(), head, got);
  if (indexBytes > 0) {
    in.read(reinterpret_cast<char*>(bytes.data() + header), static_cast<std::streamsize>(indexBytes));
    bytes.resize(header + static_cast<size_t>(in.gcount()));
  }
  ArchiveIndex index = ParseArchiveIndex(bytes, fileSize, layout);
  index.file = file;
  if (!index.error.empty()) index.error = file.string() + ": " + index.error;
  return index;
}

bool ReadEntry(const ArchiveIndex& index, int i, std::vector<uint8_t>& body) {
  if (i < 0 || static_cast<size_t>(i) >= index.names.size() || !index.bodyFits[i] || !index.Present()) return false;
  std::ifstream in(index.file, std::ios::binary);
  if (!in) return false;
  in.seekg(index.offsets[i]);
  body.resize(index.sizes[i]);
  if (!in.read(reinterpret_cast<char*>(body.data()), static_cast<std::streamsize>(body.size()))) {
    body.clear();
    return false;
  }
  return true;
}

void NegateBytes(std::span<uint8_t> bytes) {
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(-b);
}

}  // namespace torvel
