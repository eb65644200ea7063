// The tints of the scene, worked by hand on a 3 × 2 picture.
#include "graphics/tint.h"

#include <gtest/gtest.h>

#include <vector>

namespace torvel {
namespace {

Bitmap Sample() {
  Bitmap b(3, 2);
  const std::vector<uint8_t> bytes = {10, 20, 30, 40, 50, 60, 70, 80, 90, 255, 0, 1, 2, 3, 4, 5, 6, 7};
  b.pixels = bytes;
  return b;
}

struct TintCase {
  const char* label;
  int mode;
  int level;
  std::vector<uint8_t> expected;
};

class TintTest : public ::testing::TestWithParam<TintCase> {};

TEST_P(TintTest, Bytes) {
  Bitmap b = Sample();
  ApplyTint(b, GetParam().mode, GetParam().level);
  EXPECT_EQ(b.pixels, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TintTest,
    ::testing::Values(
        TintCase{"None", 0, 0, {10, 20, 30, 40, 50, 60, 70, 80, 90, 255, 0, 1, 2, 3, 4, 5, 6, 7}},
        TintCase{"Unknown", 9, 0, {10, 20, 30, 40, 50, 60, 70, 80, 90, 255, 0, 1, 2, 3, 4, 5, 6, 7}},
        // byte × 8 >> 4
        TintCase{"DarkenHalf", 1, 8, {5, 10, 15, 20, 25, 30, 35, 40, 45, 127, 0, 0, 1, 1, 2, 2, 3, 3}},
        TintCase{"DarkenSixteenIsUnchanged", 1, 16, {10, 20, 30, 40, 50, 60, 70, 80, 90, 255, 0, 1, 2, 3, 4, 5, 6, 7}},
        // A level above 16 would overflow the bytes; it is held at 16.
        TintCase{"DarkenAboveSixteenIsHeld", 1, 40, {10, 20, 30, 40, 50, 60, 70, 80, 90, 255, 0, 1, 2, 3, 4, 5, 6, 7}},
        // g = sum / 3; B = g >> 2, G = 3g >> 2, R = g. Sums 60, 150, 240, 256, 9, 18.
        TintCase{"Sepia", 2, 0, {5, 15, 20, 12, 37, 50, 20, 60, 80, 21, 63, 85, 0, 2, 3, 1, 4, 6}},
        TintCase{"Grey", 3, 0, {20, 20, 20, 50, 50, 50, 80, 80, 80, 85, 85, 85, 3, 3, 3, 6, 6, 6}},
        // Rows exchanged, each with its pixels reversed.
        TintCase{"Turned", 4, 0, {5, 6, 7, 2, 3, 4, 255, 0, 1, 70, 80, 90, 40, 50, 60, 10, 20, 30}}),
    [](const ::testing::TestParamInfo<TintCase>& info) { return std::string(info.param.label); });

TEST(TintTest, TurningAnOddHeightReversesTheMiddleRow) {
  Bitmap b(2, 3);
  b.pixels = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6};
  ApplyTint(b, 4, 0);
  EXPECT_EQ(b.pixels, (std::vector<uint8_t>{6, 6, 6, 5, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1}));
}

}  // namespace
}  // namespace torvel
