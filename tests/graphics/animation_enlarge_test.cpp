// The enlarging player's two rules against a small model written from their description, byte
// by byte: the 5/4 rule of 640-wide frames and the smoothing 2× rule of every other width.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "graphics/animation_enlarge.h"

namespace torvel {
namespace {

using Pixel = std::array<int, 4>;  // blue, green, red, unused
using Image = std::vector<std::vector<Pixel>>;

Pixel Unpack(uint32_t v) {
  return Pixel{static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF),
               static_cast<int>(v >> 24)};
}

// Pixel values that differ in every byte and in every low bit, so a carry or a lost bit shows.
Picture32 Pattern(int w, int h, uint32_t seed) {
  Picture32 p;
  p.Resize(w, h);
  uint32_t s = seed;
  for (uint32_t& v : p.pixels) {
    s = s * 1103515245u + 12345u;
    v = (s >> 8) & 0x00FFFFFF;
  }
  return p;
}

Image ToImage(const Picture32& p) {
  Image out(static_cast<size_t>(p.height), std::vector<Pixel>(static_cast<size_t>(p.width)));
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) out[y][x] = Unpack(p.Row(y)[x]);
  }
  return out;
}

// Halve each byte, then add.
Pixel Halves(Pixel a, Pixel b) {
  Pixel r;
  for (int i = 0; i < 4; ++i) r[i] = (a[i] >> 1) + (b[i] >> 1);
  return r;
}

Pixel Mean(Pixel a, Pixel b) {
  Pixel r;
  for (int i = 0; i < 4; ++i) r[i] = (a[i] + b[i]) >> 1;
  return r;
}

Image ModelDouble(const Image& src) {
  const size_t h = src.size(), w = src[0].size();
  Image out(2 * h, std::vector<Pixel>(2 * w));
  for (size_t r = 0; r < h; ++r) {
    std::vector<Pixel>& row = out[2 * r];
    for (size_t i = 0; i + 1 < w; ++i) {
      row[2 * i] = src[r][i];
      row[2 * i + 1] = Halves(src[r][i], src[r][i + 1]);
    }
    row[2 * w - 2] = src[r][w - 1];
    row[2 * w - 2] = row[2 * w - 3];
    row[2 * w - 1] = row[2 * w - 3];
  }
  for (size_t r = 0; r + 1 < h; ++r) {
    for (size_t i = 0; i < 2 * w; ++i) out[2 * r + 1][i] = Halves(out[2 * r][i], out[2 * r + 2][i]);
  }
  out[2 * h - 2] = out[2 * h - 4];
  out[2 * h - 1] = out[2 * h - 3];
  return out;
}

Image ModelQuarter(const Image& src, size_t outHeight) {
  Image out(outHeight, std::vector<Pixel>(1280, Pixel{0, 0, 0, 0}));
  size_t o = 0;
  for (size_t r = 0; r < src.size(); ++r) {
    if (o < outHeight) {
      size_t x = 0;
      for (size_t g = 0; g < 160; ++g) {
        for (size_t j = 0; j < 4; ++j) out[o][x++] = src[r][4 * g + j];
        if (g < 159) out[o][x++] = Mean(src[r][4 * g + 3], src[r][4 * g + 4]);
      }
    }
    o += r % 4 == 3 ? 2 : 1;
  }
  for (size_t k = 3; k < 595 && k + 2 < outHeight; k += 5) {
    for (size_t i = 0; i < 800; ++i) out[k + 1][i] = Mean(out[k][i], out[k + 2][i]);
  }
  return out;
}

TEST(AnimationEnlargeTest, DoubleRuleMatchesTheModel) {
  for (auto [w, h] : {std::pair{2, 2}, std::pair{3, 2}, std::pair{5, 7}, std::pair{320, 240}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const Picture32 frame = Pattern(w, h, static_cast<uint32_t>(w * 31 + h));
    Picture32 enlarged;
    enlarged.Resize(2 * w, 2 * h);
    Enlarge(frame, enlarged);
    EXPECT_EQ(ToImage(enlarged), ModelDouble(ToImage(frame)));
  }
}

TEST(AnimationEnlargeTest, QuarterRuleMatchesTheModelAndLeavesTheLastRowAndColumnBlack) {
  const Picture32 frame = Pattern(640, 480, 7);
  Picture32 enlarged;
  enlarged.Resize(1280, 960);
  Enlarge(frame, enlarged);
  const Image got = ToImage(enlarged);
  EXPECT_EQ(got, ModelQuarter(ToImage(frame), 960));
  EXPECT_EQ(got[599][10], (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(got[10][799], (Pixel{0, 0, 0, 0}));
  EXPECT_NE(got[598][798], (Pixel{0, 0, 0, 0}));
  // Row 4 is the mean of rows 3 and 5, which hold source rows 3 and 4.
  EXPECT_EQ(got[4][0], Mean(Unpack(frame.Row(3)[0]), Unpack(frame.Row(4)[0])));
}

TEST(AnimationEnlargeTest, QuarterRuleStaysInsideALowPicture) {
  // Two rows of 640: the enlarged picture has four rows, and the averages would reach row 5.
  const Picture32 frame = Pattern(640, 2, 3);
  Picture32 enlarged;
  enlarged.Resize(1280, 4);
  Enlarge(frame, enlarged);
  EXPECT_EQ(ToImage(enlarged), ModelQuarter(ToImage(frame), 4));
}

TEST(AnimationEnlargeTest, DrawIntoClipsAndVisiblePartCutsToTheScreen) {
  Bitmap b(3, 2);
  for (size_t i = 0; i < b.pixels.size(); ++i) b.pixels[i] = static_cast<uint8_t>(i + 1);
  Picture32 p;
  p.Resize(4, 4);
  DrawInto(b, p, 2, -1);
  // Only row 1 of the picture lands, at row 0, columns 2 and 3.
  EXPECT_EQ(p.Row(0)[2], PackPixel(10, 11, 12));
  EXPECT_EQ(p.Row(0)[3], PackPixel(13, 14, 15));
  EXPECT_EQ(p.Row(1)[2], 0u);
  EXPECT_EQ(p.Row(0)[1], 0u);

  Picture32 big;
  big.Resize(1280, 960);
  big.Row(5)[20] = PackPixel(1, 2, 3);
  Point at;
  const Bitmap part = VisiblePart(big, -10, -5, at);
  EXPECT_EQ(part.width, 800);
  EXPECT_EQ(part.height, 600);
  EXPECT_EQ(at.x, 0);
  EXPECT_EQ(at.y, 0);
  EXPECT_EQ(part.At(10, 0)[2], 3);
  EXPECT_TRUE(VisiblePart(big, 800, 0, at).Empty());
}

}  // namespace
}  // namespace torvel
