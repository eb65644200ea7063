// The window's menu bar and full-screen tool bar on Qt's offscreen platform: the entries follow
// the engine's menu model, choosing one acts at the engine's next frame, and full screen takes the
// menu bar away and brings the tool bar near the top edge.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "platform/qt/qt_host.h"
#include "qt_test_support.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::RunEventsUntil;

struct QtGame {
  explicit QtGame(const std::string& story, int mode = 0) {
    game.Script("main", story).Write();
    host = std::make_unique<QtHost>(settings.Path());
    engine = std::make_unique<TForm1>(*host, EngineOptions{game.Dir(), 1});
    host->Attach(engine.get());
    ok = host->Start();
    // Read at start-up; the first tick applies it.
    engine->settings.SMode = mode;
    ok = ok && RunEventsUntil([&] { return engine->ctl.waitKind != 0; });
  }
  testing::GameFixture game;
  testing::TempFolder settings;
  std::unique_ptr<QtHost> host;
  std::unique_ptr<TForm1> engine;
  bool ok = false;
};

TEST(QtMainMenu, TheBarFollowsTheModelAndItsEntriesActAtTheNextFrame) {
  QtGame g("!S000=1\n!S028=1\n一。\n\\\n");
  ASSERT_TRUE(g.ok);
  QMenuBar& bar = *g.host->Window().menuBar();
  EXPECT_FALSE(bar.isNativeMenuBar());
  EXPECT_TRUE(bar.isVisible());
  struct Case {
    const char* id;
    const char* caption;
    bool visible;
    bool enabled;
  };
  const Case cases[] = {
      {"menu-end", "終了", true, true},
      {"quit", "ゲーム終了", true, true},
      {"end-replay", "回想終了", false, true},
      {"load", "ロード", true, true},
      {"save", "セーブ", true, false},
      {"menu-control", "制御", false, true},
      {"settings", "設定", true, true},
      {"menu-view", "表示", true, true},
      {"scale-fit", "ウィンドウに合わせる", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    QAction* action = g.host->MenuAction(c.id);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromUtf8(c.caption));
    EXPECT_EQ(action->isVisible(), c.visible);
    if (c.visible) EXPECT_EQ(action->isEnabled(), c.enabled);
  }
  // Mnemonics would take Alt+letter from the engine: the captions have none.
  for (QAction* top : bar.actions()) EXPECT_FALSE(top->text().contains('&'));

  QAction* fit = g.host->MenuAction("scale-fit");
  fit->trigger();
  EXPECT_EQ(g.engine->settings.WindowScale, 1) << "nothing runs inside the menu's own handler";
  ASSERT_TRUE(RunEventsUntil([&] { return g.engine->settings.WindowScale == 0; }));
  EXPECT_TRUE(fit->isChecked());
  EXPECT_FALSE(g.host->MenuAction("scale-1")->isChecked());
}

TEST(QtMainMenu, FullScreenHidesTheBarAndShowsTheToolBarNearTheTop) {
  QtGame g("!S000=0\n!S028=1\n一。\n\\\n", 1);
  ASSERT_TRUE(g.ok);
  MainWindow& window = g.host->Window();
  EXPECT_TRUE(window.isFullScreen());
  EXPECT_FALSE(window.menuBar()->isVisible());
  EXPECT_TRUE(g.engine->display.fullScreen);

  g.engine->PBMouseMove(ShiftState{}, 400, 10);
  QToolBar* tools = g.host->ToolBar();
  ASSERT_NE(tools, nullptr);
  EXPECT_TRUE(tools->isVisible());
  std::vector<QString> captions;
  for (QAction* a : tools->actions()) captions.push_back(a->text());
  EXPECT_EQ(captions,
            (std::vector<QString>{QString::fromUtf8("終了"), QString::fromUtf8("設定"), QString::fromUtf8("セーブ"),
                                  QString::fromUtf8("ロード"), QString::fromUtf8("Window モード")}));
  g.engine->PBMouseMove(ShiftState{}, 400, 30);
  EXPECT_FALSE(tools->isVisible());

  g.engine->PBMouseMove(ShiftState{}, 400, 10);
  tools->actions().back()->trigger();
  ASSERT_TRUE(RunEventsUntil([&] { return !window.isFullScreen(); }));
  EXPECT_TRUE(window.menuBar()->isVisible());
  EXPECT_FALSE(tools->isVisible());
  EXPECT_EQ(g.engine->settings.SMode, 0);
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST(QtMainMenu, TheBorderlessWindowSitsAtTheTopLeftWithoutBars) {
  QtGame g("一。\n\\\n", 2);
  ASSERT_TRUE(g.ok);
  MainWindow& window = g.host->Window();
  EXPECT_FALSE(window.isFullScreen());
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  // At the top-left; the offscreen platform still counts a thin frame margin.
  EXPECT_LE(window.pos().x(), 2);
  EXPECT_LE(window.pos().y(), 2);
  EXPECT_FALSE(window.menuBar()->isVisible());
  EXPECT_FALSE(g.engine->display.fullScreen);
}

TEST(QtMainMenu, TheWindowSystemEndingFullScreenLeavesItForGood) {
  QtGame g("一。\n\\\n", 1);
  ASSERT_TRUE(g.ok);
  MainWindow& window = g.host->Window();
  ASSERT_TRUE(window.isFullScreen());
  window.showNormal();
  ASSERT_TRUE(RunEventsUntil([&] { return !g.engine->display.fullScreen; }));
  EXPECT_EQ(g.engine->settings.SMode, 0);
  EXPECT_TRUE(window.menuBar()->isVisible());
}

TEST(QtMainMenu, TheToolBarMovesWithThePicture) {
  QtGame g("!S000=0\n!S028=1\n一。\n\\\n", 1);
  ASSERT_TRUE(g.ok);
  g.engine->PBMouseMove(ShiftState{}, 400, 10);
  QToolBar* tools = g.host->ToolBar();
  ASSERT_NE(tools, nullptr);
  PictureWidget& picture = g.host->Window().Picture();
  EXPECT_EQ(tools->pos(), picture.PictureRect().topLeft());
  // Wider than 4:3: the picture, and the bar over its top edge, move right.
  picture.resize(1400, 900);
  EXPECT_EQ(picture.PictureRect().topLeft(), QPoint(100, 0));
  EXPECT_EQ(tools->pos(), QPoint(100, 0));
  // Whole factors only: 1× centred in 1400×900.
  g.engine->SetIntegerScaling(true);
  EXPECT_EQ(tools->pos(), QPoint(300, 150));
}

TEST(QtMainMenu, AltAloneLeavesTheKeyboardWithThePicture) {
  // A style that walks the menu bar with Alt, as some desktops do.
  const QString before = QApplication::style()->name();
  QApplication::setStyle(QStringLiteral("Windows"));
  {
    QtGame g("!S000=0\n!S028=1\n一。\n\\\n");
    ASSERT_TRUE(g.ok);
    MainWindow& window = g.host->Window();
    QMenuBar& bar = *window.menuBar();
    PictureWidget& picture = window.Picture();
    picture.setFocus();
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(&picture, &override);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(&picture, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(&picture, &release);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.activeAction(), nullptr);
    EXPECT_FALSE(bar.hasFocus());
  }
  QApplication::setStyle(before);
}

}  // namespace
}  // namespace torvel
