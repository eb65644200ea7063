// The selection tree played through the headless host: the menu's looks on the window, the hover
// of both columns, the click that blinks, fades and calls, and the menus that cannot be shown.
#include <gtest/gtest.h>

#include <string>

#include "scene_test_support.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::Opaque;
using testing::Packed;
using testing::Px;
using testing::SceneGame;
using testing::Stacked;

// The story's picture: "S246" is red 0x20, green 0x40, blue 0x60.
constexpr Bgr kStory{96, 64, 32};
constexpr Bgr kBase{0, 0, 120};
constexpr Bgr kLevel{0, 120, 0};
constexpr Bgr kTree1a{200, 0, 0};
constexpr Bgr kTree1b{0, 200, 200};
constexpr Bgr kTree2a{10, 100, 10};
constexpr Bgr kTree2b{100, 10, 100};
constexpr Bgr kTree3a{50, 50, 150};
constexpr Bgr kTree3b{150, 150, 50};

constexpr const char* kTable =
    "Station,1,\n"
    " Platform,2,sub:platform\n"
    " Gate,3,sub\n"
    "  Deep,4,sub:deep\n"
    " Ticket,5,nosuch:x\n"
    "Town,6,sub:town\n"
    "END\n"
    " Orphan,0,sub\n"
    "END\n"
    "A,0,sub\nB,0,sub\nC,0,sub\nD,0,sub\nE,0,sub\n E1,0,sub:platform\nF,0,sub\nG,0,sub\n"
    "END\n"
    "ALLEND\n";

constexpr const char* kSub =
    "!V010=1\n"
    "\\\n"
    ":platform\n"
    "!V010=2\n"
    "\\\n"
    "@end\n";

std::string Main(const std::string& tree) {
  return "@gra S246,4\n@seltree " + tree + "\n!V001=1\n\\\n:x\n!V003=1\n\\\n";
}

void AddPictures(testing::GameFixture& game) {
  game.Entry("tq_gra.tvx", "tree_base", Packed(Stacked(800, 296, kBase)))
      .Entry("tq_gra.tvx", "treelv1", Packed(Stacked(96, 40, kLevel)))
      .Entry("tq_gra.tvx", "treelv3", Packed(Stacked(96, 40, kLevel)))
      .Entry("tq_gra.tvx", "tree1a", Packed(Stacked(280, 46, kTree1a)))
      .Entry("tq_gra.tvx", "tree1b", Packed(Stacked(280, 46, kTree1b)))
      .Entry("tq_gra.tvx", "tree2a", Packed(Stacked(330, 46, kTree2a)))
      .Entry("tq_gra.tvx", "tree2b", Packed(Stacked(330, 46, kTree2b)))
      .Entry("tq_gra.tvx", "tree3a", Packed(Stacked(330, 46, kTree3a)))
      .Entry("tq_gra.tvx", "tree3b", Packed(Stacked(330, 46, kTree3b)))
      .Entry("tq_se0.tvx", "SSE01", testing::Chime());
}

// A row's sample point, left of the centred labels.
int FirstX() { return 104; }
int SecondX() { return 384; }
int RowY(int row) { return 355 + 46 * row; }

// Starts a game that shows `tree` and runs it until the menu waits.
TForm1& Start(SceneGame& game, const std::string& tree = "0", const char* table = kTable) {
  AddPictures(game.fixture);
  if (table) game.fixture.Script("seltree", table);
  game.fixture.Script("main", Main(tree)).Script("sub", kSub);
  TForm1& e = game.Start();
  game.RunToWait();
  return e;
}

TEST(SelectionTreeTest, ShowsTheFirstColumnOverTheBaseAndLevelPictures) {
  SceneGame game;
  TForm1& e = Start(game);
  ASSERT_EQ(e.ctl.choiceMode, 6);
  EXPECT_EQ(e.selectionTree.tree, 0);
  EXPECT_EQ(e.selectionTree.firstRows.size(), 2u);
  EXPECT_EQ(game.Window(10, 10), kStory);
  EXPECT_EQ(game.Window(40, 250), Opaque(kLevel));
  EXPECT_EQ(game.Window(10, 320), Opaque(kBase));
  EXPECT_EQ(game.Window(FirstX(), RowY(0)), Opaque(kTree1a));
  EXPECT_EQ(game.Window(FirstX(), RowY(1)), Opaque(kTree1a));
  EXPECT_EQ(game.Window(FirstX(), RowY(2)), Opaque(kBase));
  EXPECT_EQ(game.Window(SecondX(), RowY(0)), Opaque(kBase));
  // The screen buffer holds the menu's normal look.
  EXPECT_EQ(game.Screen(FirstX(), RowY(0)), Opaque(kTree1a));
  const std::string state = e.DescribeState();
  EXPECT_NE(state.find("\"selectionTree\":{\"tree\":0,\"hover\":0,\"target\":\"\",\"first\":2,\"second\":0}"),
            std::string::npos)
      << state;
}

TEST(SelectionTreeTest, AFirstColumnRowListsItsChildrenInTheSecondColumn) {
  SceneGame game;
  TForm1& e = Start(game);
  game.Move(200, 370);
  EXPECT_EQ(e.selectionTree.hover, 1);
  EXPECT_EQ(game.Window(FirstX(), RowY(0)), Opaque(kTree1b));
  EXPECT_EQ(game.Window(FirstX(), RowY(1)), Opaque(kTree1a));
  // Platform, Gate and Ticket: Deep is two levels down and passed over.
  ASSERT_EQ(e.selectionTree.secondRows.size(), 3u);
  EXPECT_EQ(game.Window(SecondX(), RowY(0)), Opaque(kTree2a));
  EXPECT_EQ(game.Window(SecondX(), RowY(1)), Opaque(kTree3a));
  EXPECT_EQ(game.Window(SecondX(), RowY(2)), Opaque(kTree3a));
  EXPECT_EQ(game.Window(SecondX(), RowY(3)), Opaque(kBase));
  EXPECT_EQ(e.selectionTree.target, "");

  // A repaint shows the normal look with the children: the screen buffer holds it.
  e.PBPaint();
  EXPECT_EQ(game.Window(FirstX(), RowY(0)), Opaque(kTree1a));
  EXPECT_EQ(game.Window(SecondX(), RowY(0)), Opaque(kTree2a));

  // A first-column row without children leaves the second column empty.
  game.Move(200, 400);
  EXPECT_EQ(e.selectionTree.hover, 2);
  EXPECT_EQ(e.selectionTree.target, "sub:town");
  EXPECT_TRUE(e.selectionTree.secondRows.empty());
  EXPECT_EQ(game.Window(SecondX(), RowY(0)), Opaque(kBase));
  EXPECT_EQ(game.Window(FirstX(), RowY(0)), Opaque(kTree1a));
  EXPECT_EQ(game.Window(FirstX(), RowY(1)), Opaque(kTree1b));
}

TEST(SelectionTreeTest, SecondColumnHoverKeepsTheParentAndHoldsBelowItsRows) {
  SceneGame game;
  TForm1& e = Start(game);
  game.Move(200, 370);
  game.Move(500, 400);
  EXPECT_EQ(e.selectionTree.hover, 7);
  EXPECT_EQ(e.selectionTree.target, "sub");
  EXPECT_EQ(game.Window(SecondX(), RowY(1)), Opaque(kTree3b));
  EXPECT_EQ(game.Window(SecondX(), RowY(0)), Opaque(kTree2a));
  EXPECT_EQ(game.Window(FirstX(), RowY(0)), Opaque(kTree1b));
  // Below the three rows the hover holds up to y 382 + 46 × 3.
  game.Move(500, 519);
  EXPECT_EQ(e.selectionTree.hover, 7);
  game.Move(500, 520);
  EXPECT_EQ(e.selectionTree.hover, 0);
  EXPECT_EQ(e.selectionTree.target, "");
  EXPECT_TRUE(e.selectionTree.secondRows.empty());
  EXPECT_EQ(game.Window(SecondX(), RowY(0)), Opaque(kBase));
  EXPECT_EQ(game.Window(FirstX(), RowY(0)), Opaque(kTree1a));
  EXPECT_EQ(game.Screen(SecondX(), RowY(0)), Opaque(kBase));
}

TEST(SelectionTreeTest, AFirstColumnRowHoldsWhileThePointerCrossesToTheSecondColumn) {
  SceneGame game;
  TForm1& e = Start(game);
  struct Step {
    int x, y, hover;
  };
  // Diagonally down to the right, outside every row: the row holds inside 359 < x < 730,
  // 322 < y < 612.
  for (const Step& s :
       {Step{200, 370, 1}, Step{365, 590, 1}, Step{729, 323, 1}, Step{365, 611, 1}, Step{365, 612, 0}}) {
    game.Move(s.x, s.y);
    EXPECT_EQ(e.selectionTree.hover, s.hover) << s.x << "," << s.y;
  }
  EXPECT_EQ(game.Window(FirstX(), RowY(0)), Opaque(kTree1a));
  game.Move(200, 370);
  game.Move(730, 400);
  EXPECT_EQ(e.selectionTree.hover, 0);
}

TEST(SelectionTreeTest, OnlyFiveRowsOfAColumnAnswerThePointer) {
  SceneGame game;
  TForm1& e = Start(game, "2");
  ASSERT_EQ(e.selectionTree.firstRows.size(), 7u);
  // Row 5 would reach below the picture: its button is not drawn.
  EXPECT_EQ(game.Window(FirstX(), 590), Opaque(kBase));
  game.Move(200, 540);
  EXPECT_EQ(e.selectionTree.hover, 5);
  ASSERT_EQ(e.selectionTree.secondRows.size(), 1u);
  // The sixth row's area is no row: it must not pass for the second column's first row, whose
  // target a click would call.
  game.Move(200, 590);
  EXPECT_EQ(e.selectionTree.hover, 0);
  EXPECT_EQ(e.selectionTree.target, "");
  game.Click(200, 590);
  EXPECT_EQ(e.ctl.choiceMode, 6);
  EXPECT_EQ(e.script.currentScript, "main");
}

TEST(SelectionTreeTest, AnEntryWithoutTargetOnlySounds) {
  SceneGame game;
  TForm1& e = Start(game);
  game.Move(200, 370);
  game.Host().recording = true;
  game.Click(200, 370);
  EXPECT_EQ(game.SoundsNamed("SSE01"), 1);
  EXPECT_EQ(e.ctl.choiceMode, 6);
  EXPECT_EQ(e.selectionTree.tree, 0);
  EXPECT_TRUE(game.Host().shown.empty());
}

TEST(SelectionTreeTest, AClickBlinksTheRowFadesBackAndCallsTheScriptAtItsLabel) {
  SceneGame game;
  TForm1& e = Start(game);
  e.vars.S(kVarRecordMode) = 1;
  game.Move(200, 370);
  game.Move(500, 360);
  ASSERT_EQ(e.selectionTree.hover, 6);
  ASSERT_EQ(e.selectionTree.target, "sub:platform");
  game.Host().recording = true;
  game.Click(500, 360);
  const auto& shown = game.Host().shown;
  ASSERT_GE(shown.size(), 8u + 33u);
  const uint32_t t0 = shown[0].time;
  const Rect row{380, 352, 710, 398};
  for (size_t k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(shown[k].time, t0 + 80 * k);
    EXPECT_EQ(shown[k].area.left, row.left);
    EXPECT_EQ(shown[k].area.top, row.top);
    EXPECT_EQ(shown[k].area.right, row.right);
    EXPECT_EQ(shown[k].area.bottom, row.bottom);
    EXPECT_EQ(Px(shown[k].window, SecondX(), RowY(0)), Opaque(k % 2 == 0 ? kTree2a : kTree2b));
  }
  // The fade: opacity 8 more every 15 ms, from the menu's normal look to the story's picture.
  const Bgr menu = Opaque(kTree2a);
  for (size_t k = 0; k <= 32; ++k) {
    SCOPED_TRACE(k);
    const auto& frame = shown[8 + k];
    const int a = static_cast<int>(8 * k);
    EXPECT_EQ(frame.time, t0 + 640 + 15 * k);
    Bgr expected;
    for (size_t i = 0; i < 3; ++i) expected[i] = (kStory[i] * a + menu[i] * (256 - a)) >> 8;
    EXPECT_EQ(Px(frame.window, SecondX(), RowY(0)), expected);
  }
  EXPECT_EQ(game.Window(SecondX(), RowY(0)), kStory);
  EXPECT_EQ(game.Screen(FirstX(), RowY(0)), kStory);

  EXPECT_EQ(e.ctl.choiceMode, 0);
  EXPECT_EQ(e.selectionTree.tree, -1);
  EXPECT_EQ(e.script.currentScript, "sub");
  EXPECT_EQ(e.script.callDepth, 1);
  EXPECT_EQ(game.SoundsNamed("SSE01"), 1);
  // A pick on the tree is not a `select` answer: the choice record stays as it was.
  EXPECT_EQ(e.vars.S(kVarRecordCount), 0);
  game.RunToWait();
  EXPECT_EQ(e.vars.V(10), 2);
  game.Click(400, 300);
  game.RunToWait();
  // `end` comes back to the line after `seltree`.
  EXPECT_EQ(e.script.currentScript, "main");
  EXPECT_EQ(e.vars.V(1), 1);
  EXPECT_EQ(e.vars.V(3), 0);
}

TEST(SelectionTreeTest, AClickDuringTheFadeCutsItShort) {
  SceneGame game;
  TForm1& e = Start(game);
  game.Move(200, 370);
  game.Move(500, 360);
  game.Host().RunFrames(6);
  game.Host().recording = true;
  const uint32_t t0 = game.Host().TickCount();
  game.Host().SetInput(
      ParseInputScript(std::to_string(t0) + " click 500 360\n" + std::to_string(t0 + 700) + " click 500 360\n").events);
  game.Host().RunFrame();
  const auto& shown = game.Host().shown;
  ASSERT_GT(shown.size(), 8u);
  // Four or five frames of the fade, then the story's picture at once.
  EXPECT_LT(shown.size(), 8u + 8u);
  EXPECT_LE(shown.back().time, t0 + 720);
  EXPECT_EQ(Px(shown.back().window, SecondX(), RowY(0)), kStory);
  EXPECT_EQ(e.script.currentScript, "sub");
}

TEST(SelectionTreeTest, TheRightButtonConfirmsToo) {
  SceneGame game;
  TForm1& e = Start(game);
  game.Move(200, 370);
  game.Move(500, 400);
  game.Click(500, 400, MouseButton::Right);
  EXPECT_EQ(game.SoundsNamed("SSE01"), 1);
  EXPECT_EQ(e.script.currentScript, "sub");
  game.RunToWait();
  // A target without a label starts the script at its beginning.
  EXPECT_EQ(e.vars.V(10), 1);
}

TEST(SelectionTreeTest, ACallThatCannotBeMadeLetsTheStoryGoOnAfterTheCommand) {
  for (bool fullStack : {false, true}) {
    SCOPED_TRACE(fullStack);
    SceneGame game;
    TForm1& e = Start(game);
    game.Move(200, 370);
    if (fullStack) {
      e.script.callDepth = kCallStackFrames;
      game.Move(500, 360);  // Platform
    } else {
      game.Move(500, 450);  // Ticket: nosuch:x
    }
    game.Click(500, fullStack ? 360 : 450);
    EXPECT_EQ(e.ctl.choiceMode, 0);
    EXPECT_EQ(e.script.currentScript, "main");
    EXPECT_EQ(e.script.callDepth, fullStack ? kCallStackFrames : 0);
    EXPECT_EQ(game.Window(SecondX(), RowY(0)), kStory);
    game.RunToWait();
    // The label is not looked for in the calling script.
    EXPECT_EQ(e.vars.V(1), 1);
    EXPECT_EQ(e.vars.V(3), 0);
  }
}

TEST(SelectionTreeTest, AMenuThatCouldNotBeLeftIsNotShown) {
  for (const char* tree : {"12", "-1", "1"}) {
    SCOPED_TRACE(tree);
    SceneGame game;
    TForm1& e = Start(game, tree);
    EXPECT_EQ(e.ctl.choiceMode, 0);
    EXPECT_EQ(e.selectionTree.tree, -1);
    EXPECT_EQ(e.vars.V(1), 1);
    EXPECT_EQ(game.Window(FirstX(), RowY(0)), kStory);
  }
  SceneGame withoutTable;
  TForm1& e = Start(withoutTable, "0", nullptr);
  EXPECT_EQ(e.ctl.choiceMode, 0);
  EXPECT_EQ(e.vars.V(1), 1);
}

TEST(SelectionTreeTest, TheWaitResetDropsTheMenuAndClosingPutsThePictureBack) {
  SceneGame game;
  TForm1& e = Start(game);
  game.Move(200, 370);
  e.WaitReset();
  EXPECT_EQ(e.ctl.choiceMode, 0);
  EXPECT_EQ(e.selectionTree.tree, -1);
  EXPECT_TRUE(e.selectionTree.buttons[0].Empty());
  EXPECT_NE(e.DescribeState().find("\"selectionTree\":{\"tree\":-1,\"hover\":0,\"target\":\"\",\"first\":0"),
            std::string::npos);

  SceneGame other;
  TForm1& f = Start(other);
  other.Move(200, 370);
  f.CloseSelectionTree();
  EXPECT_EQ(f.ctl.choiceMode, 0);
  EXPECT_EQ(other.Window(FirstX(), RowY(0)), kStory);
  EXPECT_EQ(other.Screen(SecondX(), RowY(0)), kStory);
  // Moves and clicks no longer reach a menu.
  other.Move(200, 400);
  EXPECT_EQ(f.selectionTree.hover, 0);
}

TEST(SelectionTreeTest, LabelBytesStepTwelvePixelsFromTheColumnCentre) {
  SceneGame game;
  TForm1& e = Start(game, "0", "WW,0,\nWWWW,0,\nEND\n");
  ASSERT_EQ(e.ctl.choiceMode, 6);
  // The leftmost pixel of each label: its first byte lies at 230 + 12 − 12 × length / 2.
  for (int row = 0; row < 2; ++row) {
    const int expected = row == 0 ? 230 : 218;
    int leftmost = -1;
    for (int x = 100; x < 380 && leftmost < 0; ++x) {
      for (int y = 352 + 46 * row; y < 398 + 46 * row; ++y) {
        if (game.Window(x, y) != Opaque(kTree1a)) {
          leftmost = x;
          break;
        }
      }
    }
    EXPECT_GE(leftmost, expected) << row;
    EXPECT_LE(leftmost, expected + 3) << row;
  }
}

}  // namespace
}  // namespace torvel
