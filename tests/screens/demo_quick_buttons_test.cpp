// The bundled demo's quick buttons: the row on the window's top edge answers the pointer, the
// auto button starts auto mode and the gauge shows one dot for each step faster than the slowest.
#include <gtest/gtest.h>

#include "screens/save_test_game.h"
#include "support/built_demo.h"

namespace torvel {
namespace {

using namespace testing;

TEST(DemoQuickButtons, TheAutoButtonAndTheGaugeOnTheDemosWindow) {
  TempFolder folder;
  const std::filesystem::path dir = folder.Path() / "game";
  CopyBuiltDemo("game", dir);
  HeadlessHost host(folder.Path() / "config");
  TForm1 e(host, EngineOptions{dir, 1, true});
  host.Attach(&e);
  ASSERT_TRUE(host.Start());
  host.RunUntilSettled(5000);
  ASSERT_TRUE(StartDemoStory(host, e));
  ASSERT_EQ(e.ctl.waitKind, 1);
  ASSERT_TRUE(e.text.windowShown);
  ASSERT_EQ(e.textWindow.y, 440);

  // The window's buttons lie 46 pixels apart from (320, 10) on the window; AT is the second.
  const Point at{e.textWindow.x + 366 + 20, e.textWindow.y + 10 + 10};
  const Bgr normal = Px(host.Window(), at.x - 18, at.y);
  e.PBMouseMove(ShiftState{}, at.x, at.y);
  EXPECT_EQ(e.quickButtons.hovered, 2);
  EXPECT_NE(Px(host.Window(), at.x - 18, at.y), normal) << "the hovered look";

  // The gauge at (704, 48) on the window, dots every 8 pixels from (4, 6), ten steps.
  const Point gauge{e.textWindow.x + 704, e.textWindow.y + 48};
  auto dot = [&](int i) { return Px(host.Window(), gauge.x + 4 + 8 * i + 3, gauge.y + 6 + 3); };
  const Bgr before = dot(0);
  e.PBMouseDown(MouseButton::Left, ShiftState{}, at.x, at.y);
  e.PBMouseUp(MouseButton::Left, ShiftState{}, at.x, at.y);
  const int speed = e.vars.S(26);
  ASSERT_GE(speed, 1);
  ASSERT_LE(speed, 10);
  const Bgr lit = dot(0);
  EXPECT_NE(lit, before) << "auto on shows the gauge";
  for (int i = 0; i < 10; ++i) EXPECT_EQ(dot(i) == lit, i < 10 - speed + 1) << "dot " << i;
}

}  // namespace
}  // namespace torvel
