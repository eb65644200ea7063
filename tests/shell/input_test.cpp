// The input handlers: routing of clicks, the skip and auto keys, shortcuts and the click hooks,
// through the headless host's input and by calling the handlers directly.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless/input_script.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

// Delivers the input lines (times relative to now) and runs a frame.
void Play(GameFixture& game, const std::string& lines) {
  const uint32_t now = game.Host().TickCount();
  std::string timed;
  size_t start = 0;
  while (start < lines.size()) {
    size_t end = lines.find('\n', start);
    if (end == std::string::npos) end = lines.size();
    timed += std::to_string(now) + " " + lines.substr(start, end - start) + "\n";
    start = end + 1;
  }
  InputScript parsed = ParseInputScript(timed);
  ASSERT_EQ(parsed.error, "");
  game.Host().SetInput(parsed.events);
  game.Host().RunFrames(1);
}

TForm1& StartWaiting(GameFixture& game, const std::string& script = "\\first\n\\second\n\\third\n") {
  game.Script("main", script);
  game.Start();
  game.RunToWait();
  return game.Engine();
}

TEST(InputTest, HoldingCtrlSkipsAndReleasingItStopsAtOnce) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  e.vars.S(26) = 5;
  Play(game, "key ctrl down\nkey ctrl repeat\nkey ctrl repeat");
  EXPECT_TRUE(e.ctl.skipActive);
  EXPECT_EQ(e.vars.S(60), 2);
  EXPECT_EQ(e.vars.S(26), 0);  // skipping ends auto mode
  Play(game, "key ctrl up");
  EXPECT_FALSE(e.ctl.skipActive);
  EXPECT_EQ(e.vars.S(60), 0);
}

TEST(InputTest, AHeldShiftTogglesAutoModeOnce) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  e.vars.S(27) = 0;
  Play(game, "key shift down\nkey shift repeat\nkey shift repeat\nkey shift repeat");
  EXPECT_EQ(e.vars.S(26), 4);
  EXPECT_EQ(e.vars.S(27), 4);
  Play(game, "key shift up\nkey shift");
  EXPECT_EQ(e.vars.S(26), 0);
}

TEST(InputTest, WithTheKeysSwappedShiftSkipsAndCtrlTogglesAuto) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  e.settings.CS_SWAP = 1;
  e.vars.S(27) = 7;
  Play(game, "key shift down");
  EXPECT_TRUE(e.ctl.skipActive);
  Play(game, "key shift up");
  EXPECT_FALSE(e.ctl.skipActive);
  Play(game, "key ctrl");
  EXPECT_EQ(e.vars.S(26), 7);
  EXPECT_FALSE(e.ctl.skipActive);
}

TEST(InputTest, SpaceTogglesAutoModeWithTheChosenSpeed) {
  GameFixture game;
  game.Script("_config", "SPD_MAX:8\n");
  TForm1& e = StartWaiting(game);
  struct Case {
    int s027;
    int expected;
  };
  for (Case c : {Case{6, 6}, Case{0, 4}, Case{9, 4}}) {
    SCOPED_TRACE(c.s027);
    e.vars.S(26) = 0;
    e.vars.S(27) = c.s027;
    Play(game, "key space");
    EXPECT_EQ(e.vars.S(26), c.expected);
    EXPECT_EQ(e.vars.S(61), 2);
    Play(game, "key space");
    EXPECT_EQ(e.vars.S(26), 0);
    EXPECT_EQ(e.vars.S(27), c.expected);
    EXPECT_EQ(e.vars.S(61), 0);
  }
}

TEST(InputTest, SavingIsAllowedOnlyOnceTheStoryStartedAndWhileS000Permits) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  struct Case {
    int s000;
    int s028;
    bool allowed;
  };
  for (Case c : {Case{0, 1, true}, Case{-1, 1, true}, Case{1, 1, false}, Case{0, 0, false}, Case{2, 1, false}}) {
    SCOPED_TRACE(std::to_string(c.s000) + "," + std::to_string(c.s028));
    e.vars.S(0) = c.s000;
    e.vars.S(28) = c.s028;
    EXPECT_EQ(e.SavingAllowed(), c.allowed);
  }
}

TEST(InputTest, SaveAndQuickSaveKeysDoNothingWhileSavingIsLocked) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  e.vars.S(0) = 1;
  e.vars.S(28) = 1;
  const auto before = e.vars.vars;
  Play(game, "key s\nkey q");
  EXPECT_EQ(e.vars.vars, before);
  EXPECT_EQ(e.ctl.saveLoadScreen, 0);
  EXPECT_EQ(e.ctl.waitKind, 1);
}

TEST(InputTest, AClickDuringSleepEndsItAndSetsS019) {
  GameFixture game;
  game.Script("main", "@sleep 10000\n\\after\n");
  TForm1& e = game.Start();
  game.Host().RunFrames(3);
  ASSERT_GT(e.ctl.sleepTicks, 0);
  Play(game, "click 400 300");
  EXPECT_EQ(e.ctl.sleepTicks, 0);
  EXPECT_EQ(e.vars.S(19), 1);
  EXPECT_EQ(game.RunToWait(), "\\after");
}

TEST(InputTest, ALeftClickInSkipModeStopsSkippingWithoutAdvancing) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  e.ctl.skipActive = true;
  e.vars.S(60) = 2;
  e.vars.S(26) = 5;  // auto mode too, as `break` stops it
  e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, 300);
  EXPECT_FALSE(e.ctl.skipActive);
  EXPECT_EQ(e.vars.S(60), 0);
  EXPECT_EQ(e.vars.S(26), 0);
  EXPECT_EQ(e.ctl.waitKind, 1);
  EXPECT_EQ(e.script.lineBuffer, "\\first");
}

TEST(InputTest, SpdMaxIsTheGamesOwnForTheSpeedRangeAndTheAutoDelay) {
  struct Case {
    const char* config;
    int chosenBefore;
    int startedAt;  // what Space starts auto mode at
    int countdown;  // 34 characters at speed 5: 34 / (SPD_MAX − 5 + 12) + 12
  };
  for (Case c :
       {Case{"SPD_MAX:1\n", 2, 4, 34 / 8 + 12}, Case{"", 2, 4, 34 / 7 + 12}, Case{"SPD_MAX:8\n", 2, 2, 34 / 15 + 12}}) {
    SCOPED_TRACE(c.config);
    GameFixture game;
    game.Script("_config", c.config);
    TForm1& e = StartWaiting(game);
    e.vars.S(26) = 0;
    e.vars.S(27) = c.chosenBefore;
    Play(game, "key space");
    EXPECT_EQ(e.vars.S(26), c.startedAt);
    e.vars.S(26) = 5;
    e.text.charsSinceWait = 34;
    e.StartAutoCountdown();
    EXPECT_EQ(e.ctl.autoCountdown, c.countdown);
  }
}

TEST(InputTest, EnterAndZClickAtTheLastMousePositionAndTheWheelTowardsThePlayerAnswersTheWait) {
  for (const char* input : {"key enter", "key z", "char Z", "wheel down"}) {
    SCOPED_TRACE(input);
    GameFixture game;
    TForm1& e = StartWaiting(game);
    Play(game, input);
    EXPECT_EQ(e.script.lineBuffer, "\\second");
  }
}

TEST(InputTest, WheelAwayOpensTheBacklogOrThePageHistoryByWheelMode) {
  struct Case {
    int wheelMode;
    int s065;  // the backlog button's look after the wheel: pressed while opening, then shown
  };
  for (Case c : {Case{0, 0}, Case{1, 1}}) {
    SCOPED_TRACE(c.wheelMode);
    GameFixture game;
    TForm1& e = StartWaiting(game);
    e.settings.WHEEL_MODE = c.wheelMode;
    Play(game, "wheel up");
    EXPECT_EQ(e.vars.S(65), c.s065);
    EXPECT_EQ(e.ctl.waitKind, 1);
    EXPECT_FALSE(e.input.wheelBusy);
  }
}

TEST(InputTest, TheWheelIsIgnoredWhileItsHandlerRunsOrAChoiceIsShown) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  e.input.wheelBusy = true;
  EXPECT_FALSE(e.FormMouseWheel(ShiftState{}, -120));
  EXPECT_EQ(e.ctl.waitKind, 1);
  e.input.wheelBusy = false;
  e.ctl.choiceMode = 1;
  EXPECT_TRUE(e.FormMouseWheel(ShiftState{}, -120));
  EXPECT_EQ(e.ctl.waitKind, 1);
  e.ctl.choiceMode = 0;
  EXPECT_TRUE(e.FormMouseWheel(ShiftState{}, -120));
  EXPECT_EQ(e.ctl.waitKind, 0);
}

TEST(InputTest, ClicksOnlyAskToCutABlockingLoopShort) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  e.ctl.interruptibleWait = true;
  e.vars.S(56) = 57;
  e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, 300);
  EXPECT_EQ(e.ctl.interruptRequest, 1);
  EXPECT_EQ(e.vars.S(56), 57);  // the hook waits for the loop to end
  EXPECT_EQ(e.ctl.waitKind, 1);
  e.ctl.interruptibleWait = false;
  e.ctl.interruptRequest = 0;
  e.ctl.blockingScene = true;
  e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, 300);
  EXPECT_EQ(e.vars.S(56), 57);
  EXPECT_EQ(e.ctl.waitKind, 1);
  int key = vk::Control;
  e.FormKeyDown(key, ShiftState{});
  EXPECT_FALSE(e.ctl.skipActive);
}

TEST(InputTest, ClickHooksTakeTheClick) {
  struct Case {
    int hook;
    MouseButton button;
    int hookAfter;
    const char* waitsAt;
  };
  for (Case c : {Case{56, MouseButton::Left, 0, "\\first"}, Case{56, MouseButton::Right, 56, "\\first"},
                 Case{57, MouseButton::Left, 0, "\\at label"}, Case{66, MouseButton::Left, 66, "\\first"}}) {
    SCOPED_TRACE(c.hook);
    GameFixture game;
    TForm1& e = StartWaiting(game, "\\first\n\\second\n:target\n\\at label\n");
    e.vars.S(56) = c.hook;
    e.text.nameSlots[8] = "target";
    e.ctl.dialogOpen = 1;
    e.ctl.menuLock = true;
    e.PBMouseDown(c.button, ShiftState{}, 400, 300);
    EXPECT_EQ(e.vars.S(56), c.hookAfter);
    if (c.hook == 56 && c.button == MouseButton::Left) {
      EXPECT_EQ(e.ctl.dialogOpen, 0);
      EXPECT_FALSE(e.ctl.menuLock);
      EXPECT_EQ(e.ctl.waitKind, 1);
    }
    if (c.hook == 57) {
      e.ctl.waitKind = 0;
      e.ctl.dialogOpen = 0;
    }
    if (c.hook == 66) {
      EXPECT_EQ(e.ctl.waitKind, 1);
    }
    if (c.hook == 57) {
      EXPECT_EQ(game.RunToWait(), c.waitsAt);
    }
  }
}

struct IndicatorCase {
  const char* name;
  int dir;
  int x;
  int y;
  int before;
  int after;  // 0: the click is not the indicator's and answers the wait
};

class AutoSpeedIndicatorTest : public ::testing::TestWithParam<IndicatorCase> {};

TEST_P(AutoSpeedIndicatorTest, AClickOnTheIndicatorSetsTheAutoSpeed) {
  const IndicatorCase& c = GetParam();
  GameFixture game;
  // Five marks of 8 pixels from 10 pixels past the corner at (100, 200).
  game.Script("_config",
              "SPD_TW:3\nSPD_OFS_X:100\nSPD_OFS_Y:200\nSPD_MAX:5\nSPD_DOT_SIZE:8\nSPD_DOT_OFS_X:10\n"
              "SPD_DOT_OFS_Y:10\nSPD_DIR:" +
                  std::to_string(c.dir) + "\n");
  TForm1& e = StartWaiting(game);
  // The indicator sits on the text window, which the game has not opened yet.
  e.text.windowShown = true;
  e.vars.S(26) = c.before;
  e.PBMouseDown(MouseButton::Left, ShiftState{}, c.x, c.y);
  if (c.after == 0) {
    EXPECT_EQ(e.vars.S(26), c.before);
    EXPECT_EQ(e.ctl.waitKind, 0);
    return;
  }
  EXPECT_EQ(e.vars.S(26), c.after);
  EXPECT_EQ(e.vars.S(27), c.after);
  EXPECT_EQ(e.ctl.waitKind, 1);
}

INSTANTIATE_TEST_SUITE_P(Input, AutoSpeedIndicatorTest,
                         ::testing::Values(IndicatorCase{"DownFirstMark", 0, 105, 211, 3, 1},
                                           IndicatorCase{"DownThirdMark", 0, 105, 228, 1, 3},
                                           IndicatorCase{"DownBeforeTheMarks", 0, 105, 203, 3, 4},
                                           IndicatorCase{"DownBeforeTheMarksAtTheSlowest", 0, 105, 203, 5, 5},
                                           IndicatorCase{"DownAfterTheMarks", 0, 105, 252, 3, 2},
                                           IndicatorCase{"DownAfterTheMarksAtTheFastest", 0, 105, 252, 1, 1},
                                           IndicatorCase{"RightFirstMark", 1, 111, 205, 3, 5},
                                           IndicatorCase{"RightLastMark", 1, 149, 205, 3, 1},
                                           IndicatorCase{"OutsideTheMarks", 0, 150, 228, 3, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InputTest, TheIndicatorIsIgnoredWithoutMarksOrWithMarksOfNoLength) {
  struct Marks {
    int count;
    int size;
  };
  for (Marks m : {Marks{0, 8}, Marks{5, 0}, Marks{-2, -8}}) {
    SCOPED_TRACE(std::to_string(m.count) + "," + std::to_string(m.size));
    GameFixture game;
    game.Script("_config", "SPD_TW:3\nSPD_OFS_X:100\nSPD_OFS_Y:200\nSPD_DOT_OFS_Y:10\n");
    TForm1& e = StartWaiting(game);
    // The configuration reader keeps both at least 1; the engine state can still hold anything.
    e.config.SPD_MAX = m.count;
    e.config.SPD_DOT_SIZE = m.size;
    e.vars.S(26) = 3;
    e.PBMouseDown(MouseButton::Left, ShiftState{}, 100, 205);
    EXPECT_EQ(e.vars.S(26), 3);
    EXPECT_EQ(e.ctl.waitKind, 0);
  }
}

TEST(InputTest, InputOutsideTheStoryScreenIsLeftToThatScreen) {
  GameFixture game;
  TForm1& e = StartWaiting(game);
  e.ctl.backlogOpen = true;
  Play(game, "click 400 300\nkey ctrl down\nkey space\nwheel down");
  EXPECT_EQ(e.ctl.waitKind, 1);
  EXPECT_FALSE(e.ctl.skipActive);
  EXPECT_EQ(e.vars.S(26), 0);
}

}  // namespace
}  // namespace torvel
