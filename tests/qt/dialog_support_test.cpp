// Where the dialog windows go: centred over the game's window and kept on the screen.
#include "platform/qt/dialog_support.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

struct PlaceCase {
  const char* label;
  QRect owner;
  QSize dialog;
  QPoint expected;
};

class DialogPositionTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(DialogPositionTest, CentresAndKeepsOnTheScreen) {
  const QRect screen(0, 0, 1920, 1080);
  EXPECT_EQ(DialogPosition(GetParam().owner, GetParam().dialog, screen), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DialogPositionTest,
    ::testing::Values(PlaceCase{"Centred", QRect(560, 240, 800, 600), QSize(396, 324), QPoint(762, 378)},
                      // (800 - 295) / 2 = 252.5 and (600 - 164) / 2 = 218: halves drop their fraction.
                      PlaceCase{"HalvesTruncate", QRect(0, 0, 800, 600), QSize(295, 164), QPoint(252, 218)},
                      // (100 - 495) / 2 = -197.5 goes to -197, then to the screen's edge.
                      PlaceCase{"OffTheLeftAndTop", QRect(-300, -400, 100, 100), QSize(495, 408), QPoint(0, 0)},
                      PlaceCase{"OffTheRightAndBottom", QRect(1700, 900, 800, 600), QSize(494, 408),
                                QPoint(1920 - 494, 1080 - 408)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(DialogPositionTest, KeepsToAScreenThatDoesNotStartAtZero) {
  const QRect screen(1920, 0, 1280, 1024);
  EXPECT_EQ(DialogPosition(QRect(1800, 100, 100, 100), QSize(400, 300), screen), QPoint(1920, 0));
}

}  // namespace
}  // namespace torvel
