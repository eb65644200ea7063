// Where the picture lands on a screen of device pixels, how positions map back to picture pixels,
// and the whole-number enlargement.
#include "platform/picture_scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace torvel {
namespace {

struct LayoutCase {
  const char* name;
  int width, height;
  bool integer;
  DeviceRect expected;
};

// Worked out by hand: k = max(1, ⌊min(W/800, H/600)⌋) for whole factors, else the largest 4:3
// rectangle; both centred.
const LayoutCase kLayouts[] = {
    {"unscaled_integer", 800, 600, true, {0, 0, 800, 600}},
    {"unscaled_smooth", 800, 600, false, {0, 0, 800, 600}},
    {"hd_integer_stays_1x", 1920, 1080, true, {560, 240, 800, 600}},
    {"hd_smooth", 1920, 1080, false, {240, 0, 1440, 1080}},
    {"uhd_integer_3x", 3840, 2160, true, {720, 180, 2400, 1800}},
    {"uhd_smooth", 3840, 2160, false, {480, 0, 2880, 2160}},
    {"window_2x_on_hidpi", 1600, 1200, true, {0, 0, 1600, 1200}},
    {"tall_smooth", 1600, 1300, false, {0, 50, 1600, 1200}},
    {"odd_remainder", 801, 601, true, {0, 0, 800, 600}},
    {"smaller_than_picture_integer", 640, 480, true, {-80, -60, 800, 600}},
    {"smaller_than_picture_smooth", 640, 480, false, {0, 0, 640, 480}},
    {"empty_smooth", 0, 0, false, {0, 0, 0, 0}},
    {"negative_smooth", -5, 100, false, {0, 50, 0, 0}},
};

TEST(PictureScaling, PictureRectangles) {
  for (const LayoutCase& c : kLayouts) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PictureRectInDevice(c.width, c.height, c.integer), c.expected);
  }
}

TEST(PictureScaling, WholeFactorsAreRecognised) {
  EXPECT_EQ(WholeScaleFactor({0, 0, 800, 600}), 1);
  EXPECT_EQ(WholeScaleFactor({720, 180, 2400, 1800}), 3);
  EXPECT_EQ(WholeScaleFactor({480, 0, 2880, 2160}), 0);  // 3.6×
  EXPECT_EQ(WholeScaleFactor({0, 0, 1600, 1201}), 0);
  EXPECT_EQ(WholeScaleFactor({0, 0, 0, 0}), 0);
}

TEST(PictureScaling, TheCentreOfEveryPicturePixelMapsBackToIt) {
  const Point targets[] = {{0, 0}, {799, 599}, {400, 300}, {123, 457}, {1, 598}};
  for (const LayoutCase& c : kLayouts) {
    SCOPED_TRACE(c.name);
    if (c.expected.width == 0) continue;
    for (Point t : targets) {
      double x = 0;
      double y = 0;
      PictureToDevice(t, c.expected, x, y);
      const Point back = DeviceToPicture(x, y, c.expected);
      EXPECT_EQ(back.x, t.x);
      EXPECT_EQ(back.y, t.y);
    }
  }
}

TEST(PictureScaling, DevicePixelsFloorToTheirPicturePixel) {
  const DeviceRect threeTimes{720, 180, 2400, 1800};
  struct Case {
    double x, y;
    int px, py;
  };
  const Case cases[] = {
      {720.0, 180.0, 0, 0},                                    // first device pixel of the picture
      {722.9, 182.9, 0, 0},                                    // last device pixel of picture pixel (0, 0)
      {723.0, 183.0, 1, 1},                                    // next block
      {719.9, 500.0, -1, 106},                                 // the left bar
      {3119.5, 1979.5, 799, 599}, {3120.0, 1980.0, 800, 600},  // just past the picture
  };
  for (const Case& c : cases) {
    const Point p = DeviceToPicture(c.x, c.y, threeTimes);
    EXPECT_EQ(p.x, c.px) << c.x;
    EXPECT_EQ(p.y, c.py) << c.y;
  }
  // An empty area has no picture, and absurd positions stay finite.
  EXPECT_EQ(DeviceToPicture(10, 10, DeviceRect{}).x, -1);
  EXPECT_LT(DeviceToPicture(-1e300, 0, threeTimes).x, 0);
  EXPECT_GT(DeviceToPicture(1e300, 0, threeTimes).x, 799);
}

TEST(PictureScaling, WindowFactorsFollowTheRoundedPixelRatio) {
  struct Case {
    int scale;
    double ratio;
    int factor;
  };
  const Case cases[] = {
      {1, 1.0, 1}, {2, 1.0, 2},  {1, 2.0, 2}, {2, 2.0, 4},
      {1, 1.5, 2}, {1, 1.25, 1}, {2, 0.5, 2}, {1, std::numeric_limits<double>::quiet_NaN(), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(WindowScaleFactor(c.scale, c.ratio), c.factor) << c.scale << "@" << c.ratio;
}

TEST(PictureScaling, WholeEnlargementRepeatsEachPixelIntoABlock) {
  // Two rows of two pixels, a stride of three with a pixel that must not be read.
  const uint32_t in[] = {0xA, 0xB, 0xDEAD, 0xC, 0xD, 0xDEAD};
  constexpr uint32_t z = 0;  // the output row's padding stays untouched
  std::vector<uint32_t> out(7 * 6, z);
  ScaleWhole(in, 2, 2, 3, 3, out.data(), 7);
  const std::vector<uint32_t> expected = {
      0xA, 0xA, 0xA, 0xB, 0xB, 0xB, z,  //
      0xA, 0xA, 0xA, 0xB, 0xB, 0xB, z,  //
      0xA, 0xA, 0xA, 0xB, 0xB, 0xB, z,  //
      0xC, 0xC, 0xC, 0xD, 0xD, 0xD, z,  //
      0xC, 0xC, 0xC, 0xD, 0xD, 0xD, z,  //
      0xC, 0xC, 0xC, 0xD, 0xD, 0xD, z,
  };
  EXPECT_EQ(out, expected);

  std::vector<uint32_t> twice(4 * 4, z);
  ScaleWhole(in, 2, 2, 3, 2, twice.data(), 4);
  EXPECT_EQ(twice,
            (std::vector<uint32_t>{0xA, 0xA, 0xB, 0xB, 0xA, 0xA, 0xB, 0xB, 0xC, 0xC, 0xD, 0xD, 0xC, 0xC, 0xD, 0xD}));
}

}  // namespace
}  // namespace torvel
