// Choice lists played through the headless host by clicking at the bars, and the choice record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/picture_test_support.h"
#include "platform/headless/input_script.h"
#include "resources/file_io.h"
#include "support/text_game.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::Packed;
using testing::Px;

constexpr int kBarWidth = 320;
constexpr int kBarHeight = 24;
constexpr Bgr kNormal{0, 0, 200};
constexpr Bgr kHighlight{0, 200, 0};

// Blending through a full mask may round a level off.
bool Near(Bgr a, Bgr b) {
  for (size_t i = 0; i < 3; ++i) {
    if (std::abs(a[i] - b[i]) > 2) return false;
  }
  return true;
}

// Left of the centred choice texts.
constexpr int kBarSampleX = 250;

// A bar picture that holds the bar above a fully opaque mask.
std::vector<uint8_t> BarPicture(Bgr colour) {
  Bitmap b(kBarWidth, kBarHeight * 2);
  testing::FillColumns(b, 0, kBarWidth, colour);
  for (int y = kBarHeight; y < kBarHeight * 2; ++y) {
    for (int x = 0; x < kBarWidth; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = p[1] = p[2] = 255;
    }
  }
  return Packed(b);
}

std::string Config(int yPos, int pitch) {
  return "SELECT_Y_POS:" + std::to_string(yPos) + "\nSELECT_Y_PITCH:" + std::to_string(pitch) +
         "\nSELECT_EXPAND:20\nFONT_SIZE:16\nTX_PITCH_X:8\nTX2_OFS_Y:40\nTX2_PITCH_Y:30\n";
}

// A game whose choice bars are solid red (normal) and green (highlighted).
void WithBars(GameFixture& game, int yPos = 300, int pitch = 40) {
  game.Script("_config", Config(yPos, pitch));
  for (const char* name : {"sys_sw", "sys_sww"}) game.Entry("tq_gra.tvx", name, BarPicture(kNormal));
  for (const char* name : {"sys_sw2", "sys_sww2"}) game.Entry("tq_gra.tvx", name, BarPicture(kHighlight));
}

// Lets the click debounce run out, then clicks at (x, y) through the host's input.
void ClickAt(GameFixture& game, int x, int y) {
  game.Host().RunFrames(6);
  const uint32_t now = game.Host().TickCount();
  game.Host().SetInput(
      ParseInputScript(std::to_string(now) + " click " + std::to_string(x) + " " + std::to_string(y) + "\n").events);
}

// The y of the middle of bar `index` of a window-mode list.
int BarMiddle(const TForm1& engine, int index) {
  return engine.choices.listTop + index * engine.config.SELECT_Y_PITCH + kBarHeight / 2;
}

constexpr const char* kThreeChoices =
    "@select\n"
    "{North\n"
    "\\went north\n"
    "{East\n"
    "\\went east\n"
    "{West\n"
    "\\went west\n"
    "}\n"
    "\\after\n";

TEST(ChoicesTest, ThreeChoicesStartAtTheirListTopAndAClickChoosesTheBarUnderThePointer) {
  GameFixture game;
  WithBars(game);
  game.Script("main", kThreeChoices);
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  ASSERT_EQ(e.ctl.choiceMode, 1);
  EXPECT_EQ(e.choices.choiceCount, 3);
  EXPECT_EQ(e.choices.listTop, 240);
  EXPECT_EQ(e.choices.barWidth, kBarWidth);
  EXPECT_EQ(e.choices.barX, (800 - kBarWidth) / 2);
  // The bars are on the window, in their normal look.
  EXPECT_TRUE(Near(Px(game.Host().Window(), kBarSampleX, 240 + 40 + 2), kNormal));
  ClickAt(game, 400, BarMiddle(e, 1));
  EXPECT_EQ(game.RunToWait(), "\\went east");
  EXPECT_EQ(e.ctl.choiceMode, 0);
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\after");
}

TEST(ChoicesTest, HoverShowsTheHighlightedBar) {
  GameFixture game;
  WithBars(game);
  game.Script("main", kThreeChoices);
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  e.PBMouseMove(ShiftState{}, 400, BarMiddle(e, 2));
  EXPECT_EQ(e.choices.hoveredChoice, 3);
  EXPECT_TRUE(Near(Px(game.Host().Window(), kBarSampleX, BarMiddle(e, 2)), kHighlight));
  EXPECT_TRUE(Near(Px(game.Host().Window(), kBarSampleX, BarMiddle(e, 0)), kNormal));
  // Outside the bars' width nothing is hovered.
  e.PBMouseMove(ShiftState{}, 400 + kBarWidth / 2, BarMiddle(e, 2));
  EXPECT_EQ(e.choices.hoveredChoice, 0);
  EXPECT_TRUE(Near(Px(game.Host().Window(), kBarSampleX, BarMiddle(e, 2)), kNormal));
}

TEST(ChoicesTest, AFalseConditionHidesItsChoiceAndTheNumberingClosesUp) {
  GameFixture game;
  WithBars(game);
  game.Script("main", "@select\n{(V001=1)Secret\n\\secret\n{(V001=0)Open\n\\open\n{Other\n\\other\n}\n");
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  ASSERT_EQ(e.choices.choiceCount, 2);
  EXPECT_EQ(e.choices.choiceText[0], "Open");
  EXPECT_EQ(e.choices.choiceText[1], "Other");
  EXPECT_EQ(e.choices.listTop, 300 - 20 * 2);
  ClickAt(game, 400, BarMiddle(e, 1));
  EXPECT_EQ(game.RunToWait(), "\\other");
}

TEST(ChoicesTest, APresetJumpsIntoThatShownChoiceWithoutDrawing) {
  GameFixture game;
  WithBars(game);
  game.Script("main", "!V002=1\n@select V002+1\n{(V001=1)Hidden\n\\hidden\n{A\n\\a\n{B\n\\b\n}\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\b");
  EXPECT_EQ(game.Engine().ctl.choiceMode, 0);
  EXPECT_EQ(Px(game.Host().Window(), 400, 300), (Bgr{0, 0, 0}));
}

TEST(ChoicesTest, APresetOutsideTheListIsIgnoredAndTheListShown) {
  for (const char* preset : {"3", "-1"}) {
    SCOPED_TRACE(preset);
    GameFixture game;
    WithBars(game);
    game.Script("main", std::string("@select ") + preset + "\n{A\n\\a\n{B\n\\b\n}\n");
    game.Start();
    game.RunToWait();
    EXPECT_EQ(game.Engine().ctl.choiceMode, 1);
    EXPECT_EQ(game.Engine().choices.choiceCount, 2);
  }
}

TEST(ChoicesTest, ANameSlotChoiceTakesTheSlotTextAndTheRestOfItsLineStartsTheBody) {
  GameFixture game;
  WithBars(game);
  game.Script("main", "@string 3,Kaede\n@select\n{$3\\from slot\n\\never\n{B\n\\b\n}\n");
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  ASSERT_EQ(e.choices.choiceCount, 2);
  EXPECT_EQ(e.choices.choiceText[0], "Kaede");
  ClickAt(game, 400, BarMiddle(e, 0));
  EXPECT_EQ(game.RunToWait(), "\\from slot");
}

TEST(ChoicesTest, AnEmptyListContinuesTheStory) {
  GameFixture game;
  WithBars(game);
  game.Script("main", "@select\n}\n\\after\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\after");
  EXPECT_EQ(game.Engine().ctl.choiceMode, 0);
  EXPECT_FALSE(game.Engine().ctl.blockingScene);
}

TEST(ChoicesTest, AListAboveTheScreenIsClippedAndItsVisibleBarsAnswer) {
  GameFixture game;
  WithBars(game, 10, 40);
  game.Script("main", kThreeChoices);
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  ASSERT_EQ(e.choices.listTop, -50);
  // The second bar starts at y = -10: its lower rows are shown.
  EXPECT_TRUE(Near(Px(game.Host().Window(), kBarSampleX, 5), kNormal));
  ClickAt(game, 400, 5);
  EXPECT_EQ(game.RunToWait(), "\\went east");
}

TEST(ChoicesTest, ASecondClickWithinThreeFramesIsNotTakenAsAChoice) {
  GameFixture game;
  WithBars(game);
  game.Script("main", std::string("\\first\n") + kThreeChoices);
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, 280);
  game.Host().RunFrames(2);
  ASSERT_EQ(e.ctl.choiceMode, 1);
  e.PBMouseMove(ShiftState{}, 400, BarMiddle(e, 0));
  e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, BarMiddle(e, 0));
  EXPECT_EQ(e.ctl.choiceMode, 1);
  ClickAt(game, 400, BarMiddle(e, 0));
  EXPECT_EQ(game.RunToWait(), "\\went north");
}

TEST(ChoicesTest, FullScreenTextModeListsTheBarsDownTheTextRows) {
  GameFixture game;
  WithBars(game);
  game.Script("main", std::string("!S160=1\n") + kThreeChoices);
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  ASSERT_EQ(e.ctl.choiceMode, 2);
  const int x = (800 - kBarWidth) / 2;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const Rect r = e.choices.choiceRect[static_cast<size_t>(i)];
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, i * 30 + 40);
    EXPECT_EQ(r.right, x + kBarWidth);
    EXPECT_EQ(r.bottom, i * 30 + 40 + kBarHeight);
  }
  ClickAt(game, 400, 2 * 30 + 40 + 5);
  EXPECT_EQ(game.RunToWait(), "\\went west");
}

TEST(ChoicesTest, WithoutBarPicturesTheListIsStillAnswered) {
  struct Case {
    int s160;
    int clickY;
  };
  // Window mode: bars 480 wide from y = 240, one pitch apart; full-screen: one text row apart.
  for (Case c : {Case{0, 240 + 40 + 20}, Case{1, 30 + 40 + 10}}) {
    SCOPED_TRACE(c.s160);
    GameFixture game;
    game.Script("_config", Config(300, 40));
    game.Script("main", "!S160=" + std::to_string(c.s160) + "\n" + kThreeChoices);
    game.Start();
    game.RunToWait();
    ASSERT_NE(game.Engine().ctl.choiceMode, 0);
    ClickAt(game, 400 - 230, c.clickY);
    EXPECT_EQ(game.RunToWait(), "\\went east");
  }
}

TEST(ChoicesTest, UpAndDownMoveThePointerOntoTheChoices) {
  GameFixture game;
  WithBars(game);
  game.Script("main", kThreeChoices);
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  struct Move {
    int key;
    int expectedIndex;
  };
  // Nothing hovered: Down goes to the last choice, Up from there to the one above it.
  for (Move m : {Move{vk::Down, 2}, Move{vk::Up, 1}, Move{vk::Up, 0}, Move{vk::Up, 0}, Move{vk::Down, 1}}) {
    SCOPED_TRACE(m.expectedIndex);
    int key = m.key;
    e.FormKeyDown(key, ShiftState{});
    const Point origin = game.Host().WindowPos();
    const Point cursor = game.Host().CursorPos();
    EXPECT_EQ(cursor.x - origin.x, e.choices.barX + kBarWidth - 57);
    EXPECT_EQ(cursor.y - origin.y, 240 + 31 + m.expectedIndex * 40);
    game.Host().RunFrames(1);
    EXPECT_EQ(e.choices.hoveredChoice, m.expectedIndex + 1);
  }
}

TEST(ChoicesTest, RecordingKeepsEachChoiceAndStopsAtTheRecordsEnd) {
  GameFixture game;
  WithBars(game);
  game.Script("main", std::string("!S161=1\n") + kThreeChoices + "@select\n{A\n\\a\n{B\n\\b\n}\n");
  game.Start();
  game.RunToWait();
  TForm1& e = game.Engine();
  ClickAt(game, 400, BarMiddle(e, 2));
  EXPECT_EQ(game.RunToWait(), "\\went west");
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\after");
  game.Click();
  game.RunToWait();
  ASSERT_EQ(e.ctl.choiceMode, 1);
  EXPECT_EQ(e.vars.S(162), 1);
  EXPECT_EQ(e.choices.choiceRecord[0], 3);
  // A full record takes no more.
  e.vars.S(162) = kChoiceRecordSize;
  ClickAt(game, 400, BarMiddle(e, 1));
  EXPECT_EQ(game.RunToWait(), "\\b");
  EXPECT_EQ(e.vars.S(162), kChoiceRecordSize);
}

TEST(ChoicesTest, ThreeSelectsAreAnsweredFromTheRecordEachBlinkingFourteenTimes) {
  GameFixture game;
  WithBars(game);
  game.Script("main",
              "@select\n{A\n\\x\n{B\n!V001=V001*10+2\n}\n"
              "@select\n{A\n!V001=V001*10+1\n{B\n\\x\n}\n"
              "@select\n{A\n\\x\n{B\n\\x\n{C\n!V001=V001*10+3\n}\n"
              "\\done\n");
  game.Start();
  TForm1& e = game.Engine();
  e.vars.S(161) = 2;
  e.vars.S(162) = 3;
  e.vars.S(163) = 0;
  e.choices.choiceRecord[0] = 2;
  e.choices.choiceRecord[1] = 1;
  e.choices.choiceRecord[2] = 3;
  const uint32_t before = game.Host().TickCount();
  EXPECT_EQ(game.RunToWait(), "\\done");
  EXPECT_EQ(e.vars.V(1), 213);
  // Three blinks of 14 passes at 100 ms each; four passes each would take well under this.
  const uint32_t elapsed = game.Host().TickCount() - before;
  EXPECT_GE(elapsed, 3u * 1300u);
  EXPECT_LT(elapsed, 3u * 1500u + 1000u);
  // Recording goes on after the last recorded choice, without adding the replayed ones again.
  EXPECT_EQ(e.vars.S(161), 1);
  EXPECT_EQ(e.vars.S(162), 3);
  EXPECT_EQ(e.vars.S(163), 3);
  EXPECT_EQ(e.choices.choiceRecord[3], 0);
}

// A question by a speaker whose colour is red, then the list.
constexpr const char* kAskedChoice =
    ">少女\n"
    "どちらへ？\n"
    "@select\n"
    "{North\n"
    "\\went north\n"
    "{East\n"
    "\\went east\n"
    "}\n";

TEST(ChoicesTest, AfterAChoiceTheWindowStartsANewPage) {
  for (int full : {0, 1}) {
    SCOPED_TRACE(full);
    GameFixture game;
    game.Script("_config", std::string(testing::kTextConfig) + Config(300, 40));
    for (const char* name : {"sys_sw", "sys_sww"}) game.Entry("tq_gra.tvx", name, BarPicture(kNormal));
    for (const char* name : {"sys_sw2", "sys_sww2"}) game.Entry("tq_gra.tvx", name, BarPicture(kHighlight));
    game.Script("main", std::string(full ? "@mode 1\n" : "") + kAskedChoice);
    TForm1& e = game.Start();
    e.settings.Delay = 1;
    game.RunToWait();
    ASSERT_EQ(e.ctl.choiceMode, full ? 2 : 1);
    if (!full) ASSERT_EQ(e.vars.S(37), 0x0000FF);  // the speaker's colour
    const Rect bar = e.ChoiceBarRect(1);
    ClickAt(game, 400, (bar.top + bar.bottom) / 2);
    EXPECT_EQ(game.RunToWait(), "\\went east");
    EXPECT_EQ(e.vars.S(37), 0xFFFFFF);
    EXPECT_EQ(e.text.speakerName, "");
    EXPECT_TRUE(e.textWindow.page.empty);
    EXPECT_EQ(e.text.cursorRow, 0);
    const Bitmap& shown = game.Host().Window();
    if (!full) {
      // The window area is the clean window: no question, no name.
      const TextWindow& w = e.textWindow;
      for (int y = 0; y < w.clean.height; ++y) {
        ASSERT_EQ(0, std::memcmp(w.clean.Row(y), shown.At(w.x, w.y + y), static_cast<size_t>(w.clean.width) * 3)) << y;
        ASSERT_EQ(0,
                  std::memcmp(w.clean.Row(y), e.layers.screen.At(w.x, w.y + y), static_cast<size_t>(w.clean.width) * 3))
            << y;
      }
    } else {
      // The page is the darkened scene alone: the bars and the question are gone.
      EXPECT_EQ(e.layers.screen.pixels, e.textWindow.overScene.pixels);
      EXPECT_EQ(shown.pixels, e.textWindow.overScene.pixels);
      EXPECT_FALSE(Near(Px(shown, kBarSampleX, (bar.top + bar.bottom) / 2), kNormal));
    }
  }
}

std::string DemoText(const std::string& name) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadWholeFile(std::string(TORVEL_SOURCE_DIR) + "/demo/data/" + name, bytes));
  return std::string(bytes.begin(), bytes.end());
}

TEST(ChoicesTest, TheDemoCrossroadsBranchesOnTheChoiceAndLooksBackWithASwitch) {
  for (int bar : {0, 1}) {
    SCOPED_TRACE(bar);
    GameFixture game;
    game.Script("_config", DemoText("_config.txt"));
    game.Script("crossroads", DemoText("crossroads.txt"));
    game.Script("main", "@call crossroads:start\n\\back\n");
    game.Start();
    game.RunToWait();
    game.Click();
    game.RunToWait();
    TForm1& e = game.Engine();
    ASSERT_EQ(e.ctl.choiceMode, 1);
    // Two paths, a walk into the town that the scenes' tests follow, the showcase of effects and
    // the extras.
    ASSERT_EQ(e.choices.choiceCount, 5);
    ClickAt(game, 400, e.choices.listTop + bar * e.config.SELECT_Y_PITCH + 10);
    game.RunToWait();
    EXPECT_EQ(e.vars.V(50), bar + 1);
    // The chosen path's line, then the switch's case for it, then back in the caller.
    game.Click();
    game.RunToWait();
    game.Click();
    EXPECT_EQ(game.RunToWait(), "\\back");
  }
}

struct BadReplay {
  const char* name;
  int count;
  int position;
  int entry;
};

class BadReplayTest : public ::testing::TestWithParam<BadReplay> {};

TEST_P(BadReplayTest, AReplayOutsideTheListOrTheRecordShowsTheList) {
  GameFixture game;
  WithBars(game);
  game.Script("main", "@select\n{A\n\\a\n{B\n\\b\n}\n");
  game.Start();
  TForm1& e = game.Engine();
  e.vars.S(161) = 2;
  e.vars.S(162) = GetParam().count;
  e.vars.S(163) = GetParam().position;
  e.choices.choiceRecord[0] = static_cast<uint8_t>(GetParam().entry);
  game.RunToWait();
  EXPECT_EQ(e.ctl.choiceMode, 1);
  ClickAt(game, 400, BarMiddle(e, 1));
  EXPECT_EQ(game.RunToWait(), "\\b");
}

INSTANTIATE_TEST_SUITE_P(Choices, BadReplayTest,
                         ::testing::Values(BadReplay{"EntryBeyondTheList", 1, 0, 7}, BadReplay{"EntryZero", 1, 0, 0},
                                           BadReplay{"PositionBeyondTheRecord", 100000, 5000, 1},
                                           BadReplay{"NegativePosition", 3, -4, 1},
                                           BadReplay{"NegativeCount", -2, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace torvel
