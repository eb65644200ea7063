// The engine's pointer shapes on the picture widget of the real window.
#include "platform/qt/pointer_shapes.h"

#include <gtest/gtest.h>

#include "platform/qt/qt_host.h"
#include "qt_test_support.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

TEST(PointerShapeTest, TheCursorTableOfColourRegions) {
  struct Case {
    int shape;
    Qt::CursorShape cursor;
  };
  for (const Case& c : {Case{0, Qt::ArrowCursor}, Case{29, Qt::ArrowCursor}, Case{30, Qt::PointingHandCursor},
                        Case{31, Qt::OpenHandCursor}, Case{32, Qt::CrossCursor}, Case{33, Qt::WhatsThisCursor},
                        Case{34, Qt::SizeAllCursor}, Case{35, Qt::PointingHandCursor}, Case{28, Qt::PointingHandCursor},
                        Case{-1, Qt::PointingHandCursor}}) {
    EXPECT_EQ(CursorShapeOfPointer(c.shape), c.cursor) << c.shape;
  }
}

TEST(PointerShapeTest, TheHostSetsItOnThePictureAndZeroGivesTheDefaultBack) {
  testing::TempFolder settings;
  QtHost host(settings.Path());
  QWidget& picture = host.Window().Picture();
  host.SetPointerShape(31);
  EXPECT_TRUE(picture.testAttribute(Qt::WA_SetCursor));
  EXPECT_EQ(picture.cursor().shape(), Qt::OpenHandCursor);
  host.SetPointerShape(33);
  EXPECT_EQ(picture.cursor().shape(), Qt::WhatsThisCursor);
  host.SetPointerShape(0);
  EXPECT_FALSE(picture.testAttribute(Qt::WA_SetCursor));
}

}  // namespace
}  // namespace torvel
