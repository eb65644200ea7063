#include "graphics/packed_picture.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace torvel {

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// Lengths of the long match that do not fit its length byte.
constexpr size_t kLongMatchLength255 = 4096;
constexpr size_t kLongMatchLength254 = 1024;
constexpr size_t kLongMatchLength253 = 256;
constexpr size_t kMaxLiteralRun = 40;
// Copies move whole words where the buffers have room for them.
constexpr size_t kWord = 8;

// Copies a match byte by byte as the format defines it (the source may overlap what it writes),
// with the common shapes done in bulk.
inline void CopyMatch(uint8_t* op, size_t distance, size_t length) {
  const uint8_t* from = op - distance;
  if (distance >= length) {
    std::memcpy(op, from, length);
  } else if (distance == 1) {
    std::memset(op, *from, length);
  } else {
    for (size_t i = 0; i < length; ++i) op[i] = from[i];
  }
}

// Writes a `unit`-byte value `count` times.
inline void FillPattern(uint8_t* op, const uint8_t* value, size_t unit, size_t count) {
  if (count == 0) return;
  if (unit == 1) {
    std::memset(op, *value, count);
    return;
  }
  std::memcpy(op, value, unit);
  size_t done = unit;
  size_t total = unit * count;
  while (done < total) {
    size_t n = std::min(done, total - done);
    std::memcpy(op + done, op, n);
    done += n;
  }
}

}  // namespace

bool ReadPackedHeader(std::span<const uint8_t> entry, PackedHeader& header) {
  if (entry.size() < kPackedHeaderSize) return false;
  const uint8_t* p = entry.data();
  PackedHeader h;
  h.flags = p[2];
  h.bytesPerPixel = p[3];
  h.compressedSize = Le32(p + 4);
  h.dictionarySize = Le32(p + 8);
  h.width = Le16(p + 12);
  h.height = Le16(p + 14);
  if (h.compressedSize > entry.size() - kPackedHeaderSize) return false;
  uint64_t pixels = uint64_t{h.width} * h.height;
  if (pixels * h.bytesPerPixel > kMaxPackedStageBytes || pixels * 3 > kMaxPackedStageBytes) return false;
  if ((h.flags & kPackedRunLengthFlag) && h.dictionarySize > kMaxPackedStageBytes) return false;
  header = h;
  return true;
}

size_t ExpandDictionary(std::span<const uint8_t> in, std::span<uint8_t> out) {
  const uint8_t* ip = in.data();
  const uint8_t* const iend = ip + in.size();
  uint8_t* const base = out.data();
  uint8_t* op = base;
  uint8_t* const oend = base + out.size();
  unsigned flags = 0;  // the flag bits not used yet, from bit 7 down
  unsigned flagsLeft = 0;
  while (op < oend) {
    if (flagsLeft == 0) {
      if (ip == iend) break;
      flags = *ip++;
      flagsLeft = 8;
    }
    if (!(flags & 0x80)) {
      // A streak of literals, taken in one step.
      unsigned streak = flags == 0 ? 8 : static_cast<unsigned>(__builtin_clz(flags << 24));
      streak = std::min(streak, flagsLeft);
      size_t n = std::min({size_t{streak}, static_cast<size_t>(iend - ip), static_cast<size_t>(oend - op)});
      if (static_cast<size_t>(iend - ip) >= kWord && static_cast<size_t>(oend - op) >= kWord) {
        std::memcpy(op, ip, kWord);
      } else {
        std::memcpy(op, ip, n);
      }
      op += n;
      ip += n;
      if (n < streak) break;
      flags = (flags << streak) & 0xFF;
      flagsLeft -= streak;
      continue;
    }
    flags = (flags << 1) & 0xFF;
    --flagsLeft;
    if (ip == iend) break;
    unsigned u = *ip++;
    size_t distance;
    size_t length;
    if (!(u & 0x80)) {
      if ((u & 3) == 3) {
        size_t want = (u >> 2) + 9;
        size_t n = std::min({want, static_cast<size_t>(iend - ip), static_cast<size_t>(oend - op)});
        if (static_cast<size_t>(iend - ip) >= kMaxLiteralRun && static_cast<size_t>(oend - op) >= kMaxLiteralRun) {
          std::memcpy(op, ip, kMaxLiteralRun);
        } else {
          std::memcpy(op, ip, n);
        }
        op += n;
        ip += n;
        if (n < want) break;
        continue;
      }
      distance = (u >> 2) + 1;
      length = (u & 3) + 2;
    } else if (!(u & 0x40)) {
      if (ip == iend) break;
      unsigned b = *ip++;
      distance = ((u & 0x3F) << 4 | b >> 4) + 1;
      length = (b & 0x0F) + 3;
    } else {
      if (iend - ip < 2) break;
      unsigned b = ip[0];
      unsigned c = ip[1];
      ip += 2;
      distance = ((u & 0x3F) << 8 | b) + 1;
      length = c == 255 ? kLongMatchLength255 : c == 254 ? kLongMatchLength254 : c == 253 ? kLongMatchLength253 : c + 3;
    }
    // A match that reaches before the first byte has nothing to copy: the stream is damaged.
    if (distance > static_cast<size_t>(op - base)) break;
    const size_t room = static_cast<size_t>(oend - op);
    if (distance >= kWord && length + kWord <= room) {
      // Whole words, each read from bytes already written; the last may run past the match,
      // into bytes the next item overwrites.
      const uint8_t* from = op - distance;
      for (size_t k = 0; k < length; k += kWord) std::memcpy(op + k, from + k, kWord);
      op += length;
      continue;
    }
    length = std::min(length, room);
    CopyMatch(op, distance, length);
    op += length;
  }
  return static_cast<size_t>(op - base);
}

size_t ExpandRuns(std::span<const uint8_t> in, std::span<uint8_t> out) {
  const uint8_t* ip = in.data();
  const uint8_t* const iend = ip + in.size();
  uint8_t* const base = out.data();
  uint8_t* op = base;
  uint8_t* const oend = base + out.size();
  while (op < oend && ip < iend) {
    unsigned x = *ip++;
    if (!(x & 0x80)) {
      size_t want = (x & 0x7F) + 1;
      size_t n = std::min({want, static_cast<size_t>(iend - ip), static_cast<size_t>(oend - op)});
      std::memcpy(op, ip, n);
      op += n;
      ip += n;
      if (n < want) break;
      continue;
    }
    if (ip == iend) break;
    unsigned y = *ip++;
    size_t count = ((x & 0x1F) << 8 | y) + 1;
    size_t unit = ((x >> 5) & 3) + 1;
    if (static_cast<size_t>(iend - ip) < unit) break;
    const uint8_t* value = ip;
    ip += unit;
    size_t room = static_cast<size_t>(oend - op);
    if (count * unit > room) count = room / unit;
    FillPattern(op, value, unit, count);
    op += count * unit;
  }
  return static_cast<size_t>(op - base);
}

void UndoDelta(std::span<uint8_t> data) {
  uint8_t* p = data.data();
  size_t n = data.size();
  uint8_t c0 = 0, c1 = 0, c2 = 0;
  size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    c0 = static_cast<uint8_t>(c0 + p[i]);
    c1 = static_cast<uint8_t>(c1 + p[i + 1]);
    c2 = static_cast<uint8_t>(c2 + p[i + 2]);
    p[i] = c0;
    p[i + 1] = c1;
    p[i + 2] = c2;
  }
  if (i < n) p[i] = static_cast<uint8_t>(c0 + p[i]);
  if (i + 1 < n) p[i + 1] = static_cast<uint8_t>(c1 + p[i + 1]);
}

bool DecodePackedPicture(std::span<const uint8_t> entry, Bitmap& bitmap) {
  PackedHeader header;
  if (!ReadPackedHeader(entry, header)) return false;
  std::span<const uint8_t> compressed = entry.subspan(kPackedHeaderSize, header.compressedSize);
  const int width = header.width;
  const int height = header.height;
  const size_t pictureBytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
  const size_t pixelBytes = static_cast<size_t>(width) * static_cast<size_t>(height) * header.bytesPerPixel;

  if (bitmap.width != width || bitmap.height != height || bitmap.stride != width * 3 ||
      bitmap.pixels.size() != pictureBytes) {
    bitmap.Resize(width, height);
  }
  // Pictures of three bytes a pixel (all of the engine's) decode straight into the bitmap.
  std::vector<uint8_t> separate;
  std::span<uint8_t> pixels(bitmap.pixels.data(), pictureBytes);
  if (header.bytesPerPixel != 3) {
    separate.resize(pixelBytes);
    pixels = separate;
  }

  size_t produced;
  if (header.flags & kPackedRunLengthFlag) {
    std::vector<uint8_t> runs(header.dictionarySize);
    size_t runBytes = ExpandDictionary(compressed, runs);
    produced = ExpandRuns(std::span<const uint8_t>(runs.data(), runBytes), pixels);
  } else {
    produced = ExpandDictionary(compressed, pixels);
  }
  // The delta runs over what was produced only, so that a damaged stream leaves black behind it
  // rather than its last colour smeared to the end.
  if (header.flags & kPackedDeltaFlag) UndoDelta(pixels.first(produced));
  std::fill(pixels.begin() + static_cast<std::ptrdiff_t>(produced), pixels.end(), uint8_t{0});

  if (header.bytesPerPixel != 3) {
    size_t n = std::min(pixelBytes, pictureBytes);
    std::copy_n(separate.begin(), n, bitmap.pixels.begin());
    std::fill(bitmap.pixels.begin() + static_cast<std::ptrdiff_t>(n), bitmap.pixels.end(), uint8_t{0});
  }
  return true;
}

}  // namespace torvel
