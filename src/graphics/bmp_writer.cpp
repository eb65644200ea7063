// Windows BMP files written from 24-bit pictures.
#include "graphics/bmp_writer.h"

#include <cstring>

namespace torvel {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Bitmap& picture) {
  const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
  const size_t padded = (rowBytes + 3) & ~size_t{3};
  const size_t dataOffset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<uint8_t> out(dataOffset + padded * static_cast<size_t>(picture.height), 0);
  uint8_t* h = out.data();
  h[0] = 'B';
  h[1] = 'M';
  Put32(h + 2, static_cast<uint32_t>(out.size()));
  Put32(h + 10, static_cast<uint32_t>(dataOffset));
  uint8_t* info = h + kFileHeaderSize;
  Put32(info, kInfoHeaderSize);
  Put32(info + 4, static_cast<uint32_t>(picture.width));
  Put32(info + 8, static_cast<uint32_t>(picture.height));
  Put16(info + 12, 1);
  Put16(info + 14, 24);
  Put32(info + 20, static_cast<uint32_t>(padded * static_cast<size_t>(picture.height)));
  Put32(info + 24, kPixelsPerMetre);
  Put32(info + 28, kPixelsPerMetre);
  for (int y = 0; y < picture.height; ++y) {
    uint8_t* row = out.data() + dataOffset + padded * static_cast<size_t>(picture.height - 1 - y);
    if (rowBytes > 0) std::memcpy(row, picture.Row(y), rowBytes);
  }
  return out;
}

}  // namespace torvel
