// The display modes on the headless host: the window, full screen and the borderless window from
// the first tick on, leaving full screen by Alt+Tab, the tool bar's window button and the system,
// the tool bar near the top edge, and the "display" member of the state report.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless/input_script.h"
#include "screens/save_test_game.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using namespace testing;

struct Shown {
  bool fullScreen;
  bool borderless;
  bool menuBar;
  Point windowAt;
};

void ExpectShown(const TForm1& e, HeadlessHost& h, const Shown& s) {
  EXPECT_EQ(e.display.fullScreen, s.fullScreen);
  EXPECT_EQ(h.FullScreen(), s.fullScreen);
  EXPECT_EQ(e.display.borderless, s.borderless);
  EXPECT_EQ(h.Borderless(), s.borderless);
  EXPECT_EQ(e.display.menuBar, s.menuBar);
  EXPECT_EQ(h.MenuBarShown(), s.menuBar);
  EXPECT_EQ(h.WindowPos().x, s.windowAt.x);
  EXPECT_EQ(h.WindowPos().y, s.windowAt.y);
}

// The window's stored place, centred on the 1920×1080 screen.
constexpr Point kHome{560, 240};

// A story waiting for a click, started with SMode and full screen possible or refused.
TForm1& StartIn(GameFixture& game, int mode, bool fullScreenFails = false) {
  AddSaveGameAssets(game);
  game.Script("main", "!S000=0\n!S028=1\n一。\n\\\n二。\n\\\n三。\n\\\n");
  TForm1& e = game.Start();
  // Read at start-up; the first tick applies it.
  e.settings.SMode = mode;
  game.Host().SetFullScreenFails(fullScreenFails);
  game.RunToWait();
  return e;
}

std::string Play(HeadlessHost& h, const std::string& line) {
  const InputScript script = ParseInputScript(std::to_string(h.TickCount() + 10) + " " + line + "\n");
  EXPECT_EQ(script.error, "");
  ::testing::internal::CaptureStderr();
  h.SetInput(script.events);
  h.RunUntil(h.TickCount() + 200);
  return ::testing::internal::GetCapturedStderr();
}

TEST(DisplayModes, TheFirstTickAppliesTheMode) {
  struct Case {
    const char* name;
    int mode;
    bool fails;
    Shown shown;
  };
  const Case cases[] = {
      {"window", 0, false, {false, false, true, kHome}},
      {"full screen", 1, false, {true, true, false, {0, 0}}},
      {"full screen refused: the window as it was", 1, true, {false, false, true, kHome}},
      {"borderless at the top-left", 2, false, {false, true, false, {0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameFixture game;
    TForm1& e = StartIn(game, c.mode, c.fails);
    ExpectShown(e, game.Host(), c.shown);
    EXPECT_EQ(e.settings.SMode, c.mode) << "the setting is kept either way";
  }
}

TEST(DisplayModes, AltTabLeavesFullScreenKeepingTheMode) {
  GameFixture game;
  TForm1& e = StartIn(game, 1);
  int tab = vk::Tab;
  e.FormKeyDown(tab, ShiftState{false, false, true});
  ExpectShown(e, game.Host(), {false, false, true, kHome});
  EXPECT_EQ(e.settings.SMode, 1);
  // Borderless is not full screen: Alt+Tab changes nothing there.
  GameFixture borderless;
  TForm1& b = StartIn(borderless, 2);
  tab = vk::Tab;
  b.FormKeyDown(tab, ShiftState{false, false, true});
  ExpectShown(b, borderless.Host(), {false, true, false, {0, 0}});
}

TEST(DisplayModes, TheToolBarShowsNearTheTopEdgeOnlyInFullScreen) {
  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    GameFixture game;
    TForm1& e = StartIn(game, mode);
    const bool full = mode == 1;
    Play(game.Host(), "move 400 29");
    EXPECT_EQ(game.Host().ToolBarShown(), full);
    EXPECT_EQ(e.display.toolBar, full);
    Play(game.Host(), "move 400 30");
    EXPECT_FALSE(game.Host().ToolBarShown());
    EXPECT_EQ(Play(game.Host(), "menu toolbar load"), "menu: toolbar load is disabled\n");
    EXPECT_EQ(Play(game.Host(), "menu main load"), "menu: main load is disabled\n") << "no menu bar";
  }
}

TEST(DisplayModes, TheToolBarsWindowButtonStoresTheWindow) {
  GameFixture game;
  TForm1& e = StartIn(game, 1);
  Play(game.Host(), "move 400 10");
  ASSERT_TRUE(game.Host().ToolBarShown());
  EXPECT_EQ(Play(game.Host(), "menu toolbar window"), "");
  ExpectShown(e, game.Host(), {false, false, true, kHome});
  EXPECT_FALSE(game.Host().ToolBarShown());
  EXPECT_EQ(e.settings.SMode, 0);
  EXPECT_EQ(e.ReadSetting("SMode", 9), 0);
}

TEST(DisplayModes, TheToolBarsLoadAndQuitButtons) {
  GameFixture game;
  TForm1& e = StartIn(game, 1);
  Play(game.Host(), "move 400 10");
  const uint32_t before = game.Host().TickCount();
  EXPECT_EQ(Play(game.Host(), "menu toolbar load"), "");
  bool loadSound = false;  // the load opens the list window here: no screen pictures
  for (const SoundCall& call : game.Host().Sound().CallsOf(SoundOp::Create)) {
    loadSound = loadSound || (call.name == "SSE06" && call.time >= before);
  }
  EXPECT_TRUE(loadSound);
  EXPECT_FALSE(e.ctl.skipActive);

  GameFixture quitting;
  TForm1& q = StartIn(quitting, 1);
  Play(quitting.Host(), "move 400 10");
  const InputScript script =
      ParseInputScript(std::to_string(quitting.Host().TickCount() + 10) + " menu toolbar quit\n" +
                       std::to_string(quitting.Host().TickCount() + 40) + " menu quit-popup title\n");
  quitting.Host().SetInput(script.events);
  quitting.Host().RunUntil(quitting.Host().TickCount() + 300);
  ASSERT_FALSE(quitting.Host().ShownMenus().empty());
  const PopupMenuModel& shown = quitting.Host().ShownMenus().back().menu;
  EXPECT_EQ(shown.name, "quit-popup");
  ASSERT_EQ(shown.entries.size(), 2u) << "回想終了 stays hidden outside a replay";
  EXPECT_EQ(shown.entries[0].id, "quit");
  EXPECT_EQ(shown.entries[1].id, "title");
  EXPECT_EQ(q.ctl.dialogOpen, 3) << "タイトルへ戻りますか？";
}

TEST(DisplayModes, TheSystemEndingFullScreenLeavesItForGood) {
  GameFixture game;
  TForm1& e = StartIn(game, 1);
  Play(game.Host(), "move 400 10");
  ASSERT_TRUE(game.Host().ToolBarShown());
  game.Host().EndFullScreenBySystem();
  ExpectShown(e, game.Host(), {false, false, true, kHome});
  EXPECT_FALSE(game.Host().ToolBarShown()) << "the tool bar goes with full screen";
  EXPECT_FALSE(e.display.toolBar);
  EXPECT_EQ(e.settings.SMode, 0);
  EXPECT_EQ(e.ReadSetting("SMode", 9), 0);
}

TEST(DisplayModes, ClosingLeavesFullScreen) {
  GameFixture game;
  StartIn(game, 1);
  ASSERT_TRUE(game.Host().FullScreen());
  game.Host().QueueAnswer(MessageResult::Ok);
  Play(game.Host(), "close");
  ASSERT_TRUE(game.Host().Closed());
  EXPECT_FALSE(game.Host().FullScreen());
}

TEST(DisplayModes, TheStateReportDescribesTheDisplay) {
  GameFixture game;
  TForm1& e = StartIn(game, 1);
  Play(game.Host(), "move 400 10");
  EXPECT_NE(e.DescribeState().find("\"display\":{\"SMode\":1,\"fullScreen\":true,\"borderless\":true,\"menuBar\":"
                                   "false,\"toolBar\":true,\"windowScale\":1,\"integerScaling\":false}"),
            std::string::npos);
}

}  // namespace
}  // namespace torvel
