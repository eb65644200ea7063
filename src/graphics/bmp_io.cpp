#include "graphics/bmp_io.h"

#include <array>
#include <vector>

#include "resources/file_io.h"

namespace torvel {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;  // the OS/2 header: 16-bit sizes, three-byte palette
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kUncompressed = 0;    // BI_RGB
constexpr uint32_t kBitFields = 3;       // BI_BITFIELDS
constexpr uint32_t kAlphaBitFields = 6;  // BI_ALPHABITFIELDS
constexpr int64_t kMaxSide = 16384;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (mask == 0) return;
    while (!((mask >> shift) & 1)) ++shift;
    max = mask >> shift;
  }
  uint8_t Read(uint32_t pixel) const {
    if (max == 0) return 0;
    uint32_t v = (pixel & mask) >> shift;
    return static_cast<uint8_t>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
  }
};

}  // namespace

bool DecodeBmp(std::span<const uint8_t> bytes, Bitmap& picture) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const uint8_t* file = bytes.data();
  uint32_t dataOffset = Le32(file + 10);
  uint32_t headerSize = Le32(file + kFileHeaderSize);
  if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) return false;
  if (headerSize > bytes.size() - kFileHeaderSize) return false;
  const uint8_t* info = file + kFileHeaderSize;

  int64_t width, height;
  unsigned bits;
  uint32_t compression = kUncompressed;
  uint32_t paletteSize = 0;
  size_t paletteEntryBytes = 4;
  if (headerSize == kCoreHeaderSize) {
    width = Le16(info + 4);
    height = Le16(info + 6);
    bits = Le16(info + 10);
    paletteEntryBytes = 3;
  } else {
    width = static_cast<int32_t>(Le32(info + 4));
    height = static_cast<int32_t>(Le32(info + 8));
    bits = Le16(info + 14);
    compression = Le32(info + 16);
    paletteSize = Le32(info + 32);
  }
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;

  std::array<uint32_t, 3> masks{0x00FF0000u, 0x0000FF00u, 0x000000FFu};  // red, green, blue
  if (compression == kBitFields || compression == kAlphaBitFields) {
    if (bits != 32 && bits != 16) return false;
    // The masks follow a 40-byte header; longer headers hold them in the same place.
    if (headerSize == kInfoHeaderSize) {
      if (bytes.size() < kFileHeaderSize + kInfoHeaderSize + 12) return false;
      const uint8_t* m = info + kInfoHeaderSize;
      masks = {Le32(m), Le32(m + 4), Le32(m + 8)};
    } else {
      if (headerSize < kInfoHeaderSize + 12) return false;
      masks = {Le32(info + 40), Le32(info + 44), Le32(info + 48)};
    }
  } else if (compression != kUncompressed) {
    return false;
  } else if (bits == 16) {
    masks = {0x7C00u, 0x03E0u, 0x001Fu};
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

  std::vector<std::array<uint8_t, 3>> palette;  // blue, green, red
  if (bits <= 8) {
    size_t entries = paletteSize == 0 || paletteSize > (1u << bits) ? (size_t{1} << bits) : paletteSize;
    size_t paletteStart = kFileHeaderSize + headerSize;
    if (compression == kBitFields && headerSize == kInfoHeaderSize) paletteStart += 12;
    if (paletteStart + entries * paletteEntryBytes > bytes.size()) return false;
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* e = file + paletteStart + i * paletteEntryBytes;
      palette.push_back({e[0], e[1], e[2]});
    }
    palette.resize(size_t{1} << bits, {0, 0, 0});
  }

  const size_t rowBytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  if (dataOffset > bytes.size() || rowBytes * static_cast<size_t>(height) > bytes.size() - dataOffset) return false;
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

  Bitmap out(static_cast<int>(width), static_cast<int>(height));
  for (int y = 0; y < out.height; ++y) {
    int fileRow = topDown ? y : out.height - 1 - y;
    const uint8_t* src = file + dataOffset + rowBytes * static_cast<size_t>(fileRow);
    uint8_t* dst = out.Row(y);
    for (int x = 0; x < out.width; ++x, dst += 3) {
      switch (bits) {
        case 24:
          dst[0] = src[x * 3];
          dst[1] = src[x * 3 + 1];
          dst[2] = src[x * 3 + 2];
          break;
        case 32:
        case 16: {
          uint32_t pixel = bits == 32 ? Le32(src + x * 4) : Le16(src + x * 2);
          dst[0] = blue.Read(pixel);
          dst[1] = green.Read(pixel);
          dst[2] = red.Read(pixel);
          break;
        }
        default: {
          unsigned perByte = 8 / bits;
          unsigned byte = src[x / perByte];
          unsigned shift = 8 - bits * (x % perByte + 1);
          const auto& c = palette[(byte >> shift) & ((1u << bits) - 1)];
          dst[0] = c[0];
          dst[1] = c[1];
          dst[2] = c[2];
        }
      }
    }
  }
  picture = std::move(out);
  return true;
}

bool ReadBmp(const std::filesystem::path& file, Bitmap& picture) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(file, bytes)) return false;
  return DecodeBmp(bytes, picture);
}

}  // namespace torvel
