#include "script/special_command.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

TEST(ToSepia, WeighsTheGreyIntoEachChannel) {
  Bitmap picture(3, 1);
  const uint8_t in[9] = {10, 20, 30, 255, 255, 255, 0, 0, 1};
  std::copy(in, in + 9, picture.pixels.begin());
  ToSepia(picture);
  // g = 20: B 5, G 15, R 20. g = 255: B 63, G 191, R 255. g = 0: all 0.
  const uint8_t expected[9] = {5, 15, 20, 63, 191, 255, 0, 0, 0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(picture.pixels[static_cast<size_t>(i)], expected[i]) << i;
}

TEST(CompletionPercent, CountsTheSceneRanges) {
  FlagSet e(1024);
  EXPECT_EQ(CompletionPercent(e), 0);
  // Numbers outside the ranges do not count.
  for (int n : {0, 39, 100, 132, 251, 338, 445, 522, 608, 999}) e.Set(n);
  EXPECT_EQ(CompletionPercent(e), 0);
  // 3 of 228: 300 / 228 = 1.
  for (int n : {1, 38, 607}) e.Set(n);
  EXPECT_EQ(CompletionPercent(e), 1);
  const int ranges[][2] = {{1, 38}, {101, 131}, {201, 250}, {301, 337}, {401, 444}, {501, 521}, {601, 607}};
  for (const auto& r : ranges) {
    for (int n = r[0]; n <= r[1]; ++n) e.Set(n);
  }
  EXPECT_EQ(CompletionPercent(e), 100);
  e.Set(607, false);
  // 227 of 228: 22700 / 228 = 99.
  EXPECT_EQ(CompletionPercent(e), 99);
}

}  // namespace
}  // namespace torvel
