// The BMP files of the composite export.
#include "graphics/bmp_writer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace torvel {
namespace {

TEST(BmpWriterTest, TwoByTwoPictureIsBottomUpWithPaddedRows) {
  Bitmap b(2, 2);
  b.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  std::vector<uint8_t> f = EncodeBmp24(b);
  // 54 header bytes + two rows of 6 bytes padded to 8.
  std::vector<uint8_t> expected;
  auto add = [&](std::initializer_list<uint8_t> bytes) { expected.insert(expected.end(), bytes); };
  add({'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0});              // file size 70, pixels at 54
  add({40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0});            // 40-byte header, 2 × 2, 24 bits
  add({0, 0, 0, 0, 16, 0, 0, 0});                                     // uncompressed, 16 pixel bytes
  add({0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // 2835 dots a metre, no palette
  add({7, 8, 9, 10, 11, 12, 0, 0});                                   // the bottom row first
  add({1, 2, 3, 4, 5, 6, 0, 0});
  EXPECT_EQ(f, expected);
}

TEST(BmpWriterTest, EmptyPictureIsJustTheHeaders) { EXPECT_EQ(EncodeBmp24(Bitmap()).size(), 54u); }

}  // namespace
}  // namespace torvel
