// The packed picture encoder: whatever it writes decodes back to the same picture.
#include "graphics/packed_picture_encoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "graphics/packed_picture.h"

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

struct PictureCase {
  std::string name;
  Bitmap picture;
};

Bitmap Noise(int w, int h, uint32_t seed) {
  Bitmap b(w, h);
  std::mt19937 rng(seed);
  for (uint8_t& v : b.pixels) v = static_cast<uint8_t>(rng());
  return b;
}

Bitmap Gradient(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(x + y);
      p[1] = static_cast<uint8_t>(x * 2);
      p[2] = static_cast<uint8_t>(255 - y);
    }
  }
  return b;
}

// A character on a clear field: flat black outside an ellipse, shaded inside, with stripes.
Bitmap Sprite(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
      if (dx * dx + dy * dy > 1) continue;
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(100 + y / 4);
      p[1] = static_cast<uint8_t>((x / 6) % 2 ? 180 : 60);
      p[2] = 220;
    }
  }
  return b;
}

std::vector<PictureCase> Pictures() {
  std::vector<PictureCase> cases;
  cases.push_back({"one pixel", Noise(1, 1, 1)});
  cases.push_back({"13 x 7 noise", Noise(13, 7, 2)});
  cases.push_back({"300 x 200 noise", Noise(300, 200, 3)});
  cases.push_back({"gradient 257 x 129", Gradient(257, 129)});
  cases.push_back({"sprite 160 x 240", Sprite(160, 240)});
  Bitmap flat(800, 600);
  flat.Fill(12, 34, 56);
  cases.push_back({"flat 800 x 600", flat});
  return cases;
}

Bytes PixelBytes(const Bitmap& b) {
  Bytes out;
  for (int y = 0; y < b.height; ++y) out.insert(out.end(), b.Row(y), b.Row(y) + b.width * 3);
  return out;
}

TEST(PackedPictureEncoderTest, EveryCombinationOfStagesRoundTrips) {
  for (const PictureCase& c : Pictures()) {
    for (bool runLength : {false, true}) {
      for (bool delta : {false, true}) {
        SCOPED_TRACE(c.name + (runLength ? " run-length" : "") + (delta ? " delta" : ""));
        Bytes packed = EncodePackedPicture(c.picture, PackedStages{runLength, delta});
        ASSERT_GE(packed.size(), kPackedHeaderSize);
        EXPECT_EQ(packed[2], (runLength ? 0x40 : 0) | (delta ? 0x80 : 0));
        EXPECT_EQ(packed[3], 3);
        Bitmap back;
        ASSERT_TRUE(DecodePackedPicture(packed, back));
        EXPECT_EQ(back.width, c.picture.width);
        EXPECT_EQ(back.height, c.picture.height);
        EXPECT_EQ(PixelBytes(back), PixelBytes(c.picture));
      }
    }
  }
}

TEST(PackedPictureEncoderTest, TheSmallestChoiceIsNoLargerThanAnyCombination) {
  for (const PictureCase& c : Pictures()) {
    SCOPED_TRACE(c.name);
    Bytes best = EncodePackedPictureSmallest(c.picture);
    for (bool runLength : {false, true}) {
      for (bool delta : {false, true}) {
        EXPECT_LE(best.size(), EncodePackedPicture(c.picture, PackedStages{runLength, delta}).size());
      }
    }
    Bitmap back;
    ASSERT_TRUE(DecodePackedPicture(best, back));
    EXPECT_EQ(PixelBytes(back), PixelBytes(c.picture));
  }
}

TEST(PackedPictureEncoderTest, FlatAndSmoothPicturesShrink) {
  Bitmap flat(800, 600);
  flat.Fill(12, 34, 56);
  // 1.44 MB of one colour is a few hundred long matches of 4096 bytes.
  EXPECT_LT(EncodePackedPictureSmallest(flat).size(), 2000u);
  Bitmap gradient = Gradient(800, 600);
  EXPECT_LT(EncodePackedPictureSmallest(gradient).size(), gradient.pixels.size() / 10);
}

TEST(PackedPictureEncoderTest, PicturesTheHeaderCannotHoldAreRefused) {
  EXPECT_TRUE(EncodePackedPicture(Bitmap(), {}).empty());
  EXPECT_TRUE(EncodePackedPicture(Bitmap(65536, 1), {}).empty());
}

TEST(PackedPictureEncoderTest, StagesRoundTripOnTheirOwn) {
  std::mt19937 rng(7);
  for (size_t length : {0u, 1u, 2u, 3u, 9u, 40u, 41u, 200u, 5000u, 70000u}) {
    SCOPED_TRACE(length);
    // Random bytes broken by runs of every unit, so that every token kind appears.
    Bytes data;
    while (data.size() < length) {
      if (rng() % 3 == 0) {
        size_t unit = 1 + rng() % 4, count = 1 + rng() % 300;
        Bytes value(unit);
        for (uint8_t& v : value) v = static_cast<uint8_t>(rng());
        for (size_t i = 0; i < count; ++i) data.insert(data.end(), value.begin(), value.end());
      } else {
        data.push_back(static_cast<uint8_t>(rng()));
      }
    }
    data.resize(length);

    Bytes dictionary = CompressDictionary(data);
    Bytes back(length);
    EXPECT_EQ(ExpandDictionary(dictionary, back), length);
    EXPECT_EQ(back, data);

    Bytes runs = CompressRuns(data);
    Bytes back2(length);
    EXPECT_EQ(ExpandRuns(runs, back2), length);
    EXPECT_EQ(back2, data);

    Bytes delta = data;
    ApplyDelta(delta);
    UndoDelta(delta);
    EXPECT_EQ(delta, data);
  }
}

}  // namespace
}  // namespace torvel
