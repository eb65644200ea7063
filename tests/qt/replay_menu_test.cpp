// The window's "終了" menu and its replay entries: "回想終了" hidden until a replay offers it, and
// the entry ends the replay.
#include <gtest/gtest.h>

#include <QMenuBar>

#include "platform/qt/qt_host.h"
#include "qt_test_support.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::RunEventsUntil;

QAction* MenuNamed(QMenuBar& bar, const char* title) {
  for (QAction* a : bar.actions()) {
    if (a->text() == QString::fromUtf8(title)) return a;
  }
  return nullptr;
}

QAction* EntryNamed(QAction* menu, const char* title) {
  if (!menu || !menu->menu()) return nullptr;
  for (QAction* a : menu->menu()->actions()) {
    if (a->text() == QString::fromUtf8(title)) return a;
  }
  return nullptr;
}

TEST(QtReplayMenu, ShownOnlyWhileAReplayOffersItsEntries) {
  testing::GameFixture game;
  // A scene gallery of one cell; loading the scene's script on the way unlocks it.
  game.Script("view",
              ":VIEW_2\n{\nTYPE:1\nSET:1\nTHM_SIZE:100,80\nEXIT:130,500,180,550\n1:0,0\n}\n{\n1:5,scene,First\n}\n")
      .Script("scene", "!V001=1\n場面\n\\\n@exit\n:skip\n@end\n")
      .Script("main", "@call scene:skip\n@viewer VIEW_2\n終わり\n\\\n")
      .Write();
  testing::TempFolder settings;
  QtHost host(settings.Path());
  TForm1 e(host, EngineOptions{game.Dir(), 1});
  host.Attach(&e);
  ASSERT_TRUE(host.Start());
  ASSERT_TRUE(RunEventsUntil([&] { return e.ctl.screenMode == smCgViewer; }));
  QMenuBar& bar = *host.Window().menuBar();
  QAction* menu = MenuNamed(bar, "終了");
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(EntryNamed(menu, "回想終了")->isVisible());

  e.PBMouseMove(ShiftState{}, 20, 20);
  e.PBMouseDown(MouseButton::Left, ShiftState{}, 20, 20);
  e.PBMouseUp(MouseButton::Left, ShiftState{}, 20, 20);
  ASSERT_TRUE(RunEventsUntil([&] { return e.script.replayMode == 1 && e.ctl.waitKind != 0; }));
  EXPECT_EQ(e.vars.V(1), 1);
  QAction* end = EntryNamed(menu, "回想終了");
  QAction* next = EntryNamed(menu, "次シーンへ");
  ASSERT_NE(end, nullptr);
  ASSERT_NE(next, nullptr);
  EXPECT_TRUE(end->isVisible());
  EXPECT_FALSE(next->isVisible());

  end->trigger();
  ASSERT_TRUE(RunEventsUntil([&] { return e.script.replayMode == 0; }));
  EXPECT_EQ(e.ctl.screenMode, smCgViewer);
  EXPECT_FALSE(end->isVisible());
}

}  // namespace
}  // namespace torvel
