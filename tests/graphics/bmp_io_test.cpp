// BMP files built byte by byte.
#include "graphics/bmp_io.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A file with a 40-byte header; `extra` (palette or masks) follows the header, then `pixels`.
Bytes Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const Bytes& extra, const Bytes& pixels,
          uint32_t colours = 0) {
  Bytes out{'B', 'M'};
  Put32(out, static_cast<uint32_t>(54 + extra.size() + pixels.size()));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(54 + extra.size()));
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, compression);
  Put32(out, static_cast<uint32_t>(pixels.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, colours);
  Put32(out, 0);
  out.insert(out.end(), extra.begin(), extra.end());
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

Bytes PixelBytes(const Bitmap& b) {
  Bytes out;
  for (int y = 0; y < b.height; ++y) out.insert(out.end(), b.Row(y), b.Row(y) + b.width * 3);
  return out;
}

TEST(BmpIoTest, ReadsEveryUncompressedDepth) {
  struct Case {
    std::string name;
    Bytes file;
    int width, height;
    Bytes expected;  // top row first, blue green red
  };
  const Case cases[] = {
      // 24 bits, 2 x 2, bottom-up, rows padded from 6 to 8 bytes.
      {"24 bits bottom-up",
       Bmp(2, 2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}),
       2,
       2,
       {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}},
      {"24 bits top-down", Bmp(1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), 1, 2, {1, 2, 3, 4, 5, 6}},
      {"32 bits", Bmp(2, 1, 32, 0, {}, {1, 2, 3, 255, 4, 5, 6, 0}), 2, 1, {1, 2, 3, 4, 5, 6}},
      // Masks red 0xFF, green 0xFF00, blue 0xFF0000 (the order of an RGBA byte layout).
      {"32 bits with bit fields",
       Bmp(1, 1, 32, 3, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0}, {10, 20, 30, 40}),
       1,
       1,
       {30, 20, 10}},
      // 5-5-5: red 31, green 0, blue 16 -> 255, 0, 132.
      {"16 bits", Bmp(1, 1, 16, 0, {}, {0x10, 0x7C, 0, 0}), 1, 1, {132, 0, 255}},
      // Palette of two: index 1 is (blue 1, green 2, red 3).
      {"8 bits with a palette",
       Bmp(3, 1, 8, 0, {0, 0, 0, 0, 1, 2, 3, 0}, {1, 0, 1, 0}, 2),
       3,
       1,
       {1, 2, 3, 0, 0, 0, 1, 2, 3}},
      {"4 bits", Bmp(3, 1, 4, 0, {0, 0, 0, 0, 9, 9, 9, 0}, {0x10, 0x10, 0, 0}, 2), 3, 1, {9, 9, 9, 0, 0, 0, 9, 9, 9}},
      {"1 bit",
       Bmp(9, 1, 1, 0, {0, 0, 0, 0, 255, 255, 255, 0}, {0x81, 0x80, 0, 0}),
       9,
       1,
       {255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b;
    ASSERT_TRUE(DecodeBmp(c.file, b));
    EXPECT_EQ(b.width, c.width);
    EXPECT_EQ(b.height, c.height);
    EXPECT_EQ(PixelBytes(b), c.expected);
  }
}

TEST(BmpIoTest, RefusesWhatItCannotRead) {
  Bytes good = Bmp(2, 2, 24, 0, {}, Bytes(16, 1));
  struct Case {
    std::string name;
    Bytes file;
  };
  Bytes badMagic = good;
  badMagic[0] = 'X';
  const Case cases[] = {
      {"empty", {}},
      {"bad magic", badMagic},
      {"pixels cut short", Bytes(good.begin(), good.end() - 1)},
      {"run-length compressed", Bmp(2, 2, 8, 1, Bytes(1024, 0), Bytes(16, 0))},
      {"zero width", Bmp(0, 2, 24, 0, {}, {})},
      {"absurd size", Bmp(100000, 100000, 24, 0, {}, {})},
      {"2 bits", Bmp(2, 2, 2, 0, Bytes(16, 0), Bytes(8, 0))},
      {"palette past the end", Bmp(2, 2, 8, 0, {}, Bytes(8, 0))},
      {"pixel offset past the end",
       [&] {
         Bytes f = good;
         f[10] = 0xFF;
         f[11] = 0xFF;
         return f;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b(1, 1);
    b.Fill(5, 5, 5);
    EXPECT_FALSE(DecodeBmp(c.file, b));
    EXPECT_EQ(b.pixels, Bytes(3, 5));
  }
}

}  // namespace
}  // namespace torvel
