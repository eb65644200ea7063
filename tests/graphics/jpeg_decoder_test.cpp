// The JPEG path: pictures made here with libjpeg's own compressor decode to their colours, and
// damaged streams are refused without ending the process.
#include "graphics/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/jpeg_encoder.h"

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

// Compresses blue, green, red rows (or one grey channel) at the given quality.
Bytes Compress(const Bitmap& picture, int quality, bool grey = false) {
  return EncodeJpeg(picture, JpegEncodeOptions{quality, false, grey});
}

// Left half one colour, right half another, in blue, green, red.
Bitmap TwoColours(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.At(x, y);
      if (x < w / 2) {
        p[0] = 200, p[1] = 40, p[2] = 10;  // blue
      } else {
        p[0] = 20, p[1] = 60, p[2] = 220;  // red
      }
    }
  }
  return b;
}

void ExpectNear(const uint8_t* p, int b, int g, int r, int tolerance) {
  EXPECT_NEAR(p[0], b, tolerance);
  EXPECT_NEAR(p[1], g, tolerance);
  EXPECT_NEAR(p[2], r, tolerance);
}

TEST(JpegDecoderTest, DecodesToBlueGreenRedRows) {
  Bitmap source = TwoColours(64, 48);
  Bitmap b(3, 3);
  ASSERT_TRUE(DecodeJpeg(Compress(source, 95), b));
  EXPECT_EQ(b.width, 64);
  EXPECT_EQ(b.height, 48);
  EXPECT_EQ(b.stride, 64 * 3);
  ExpectNear(b.At(8, 8), 200, 40, 10, 4);
  ExpectNear(b.At(56, 40), 20, 60, 220, 4);
}

TEST(JpegDecoderTest, GreyPicturesComeOutAsThreeEqualChannels) {
  Bitmap source(17, 9);  // sizes that are not whole blocks
  source.Fill(128, 128, 128);
  Bitmap b;
  ASSERT_TRUE(DecodeJpeg(Compress(source, 90, true), b));
  ASSERT_EQ(b.width, 17);
  ASSERT_EQ(b.height, 9);
  EXPECT_EQ(b.At(16, 8)[0], b.At(16, 8)[2]);
  ExpectNear(b.At(16, 8), 128, 128, 128, 2);
}

TEST(JpegDecoderTest, DamagedStreamsAreRefusedAndLeaveTheBitmapAlone) {
  Bytes good = Compress(TwoColours(32, 32), 90);
  struct Case {
    std::string name;
    Bytes bytes;
  };
  // The frame header (FFC0): its marker, then length, precision, height, width.
  size_t frame = 0;
  for (size_t i = 0; i + 8 < good.size(); ++i) {
    if (good[i] == 0xFF && good[i + 1] == 0xC0) {
      frame = i;
      break;
    }
  }
  ASSERT_NE(frame, 0u);
  Bytes differential = good;
  differential[frame + 1] = 0xC5;  // a frame kind libjpeg does not decode
  Bytes zeroWidth = good;
  zeroWidth[frame + 7] = 0;
  zeroWidth[frame + 8] = 0;
  const Case cases[] = {
      {"empty", {}},
      {"not a JPEG", {'B', 'M', 1, 2, 3, 4, 5, 6}},
      {"only the start marker", {0xFF, 0xD8}},
      {"header cut short", Bytes(good.begin(), good.begin() + 100)},
      {"unsupported frame kind", differential},
      {"zero width", zeroWidth},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b(2, 2);
    b.Fill(9, 9, 9);
    EXPECT_FALSE(DecodeJpeg(c.bytes, b));
    EXPECT_EQ(b.width, 2);
    EXPECT_EQ(b.pixels, Bytes(12, 9));
  }
}

TEST(JpegDecoderTest, AStreamCutInsideTheScanStillGivesAWholePicture) {
  // libjpeg pads a cut scan and warns; the picture keeps its size.
  Bytes good = Compress(TwoColours(64, 64), 90);
  Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() * 2 / 3));
  Bitmap b;
  if (DecodeJpeg(cut, b)) {
    EXPECT_EQ(b.width, 64);
    EXPECT_EQ(b.height, 64);
    ExpectNear(b.At(4, 4), 200, 40, 10, 4);
  }
}

}  // namespace
}  // namespace torvel
