// The looping background animation on the headless engine: its play order on the idle frames,
// the delay, END and RELEASE, frames made from the scene at offsets (against a model of the
// shift and the blend), the one-shot sequence, and the text window and its text composed over
// every frame exactly as over a background of the same picture.
#include <gtest/gtest.h>

#include <string>

#include "effect_test_support.h"
#include "support/text_game.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::ClickAtTime;
using testing::GameFixture;
using testing::Gradient;
using testing::Packed;
using testing::Px;
using testing::RunTimed;
using testing::Solid;
using testing::TimedRun;

const Bgr kColours[] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}};

void AddFrames(GameFixture& g) {
  g.Entry("tq_gra.tvx", "BGA", Packed(Solid(800, 600, kColours[0])));
  g.Entry("tq_gra.tvx", "BGB", Packed(Solid(800, 600, kColours[1])));
  g.Entry("tq_gra.tvx", "BGC", Packed(Solid(800, 600, kColours[2])));
}

TEST(BackgroundAnimationTest, TheSequenceLoopsOnEverySecondIdleFrame) {
  GameFixture g;
  AddFrames(g);
  g.Script("main", "@bg S444,4\n@bg_anim 2,BGA,BGB,BGC,#0121\n\\w\n");
  g.Start();
  g.RunToWait();
  TForm1& e = g.Engine();
  const BackgroundAnimation& a = e.effects.bgAnim;
  ASSERT_EQ(a.count, 3);
  ASSERT_EQ(a.sequence, (std::vector<int>{0, 1, 2, 1}));
  int position = a.position;
  int shownChanges = 0;
  Bgr last = Px(g.Host().Window(), 400, 300);
  for (int i = 0; i < 16; ++i) {
    g.Host().RunFrame();
    if (e.ctl.frameCounter % 2 == 0) position = (position + 1) % 4;
    const Bgr shown = Px(g.Host().Window(), 400, 300);
    SCOPED_TRACE(e.ctl.frameCounter);
    EXPECT_EQ(shown, kColours[a.sequence[static_cast<size_t>(position)]]);
    if (shown != last) ++shownChanges;
    last = shown;
  }
  EXPECT_EQ(shownChanges, 8);
  EXPECT_TRUE(e.BackgroundAnimationRunning());
  EXPECT_NE(e.DescribeState().find("\"effects\":{\"bgAnim\":{\"active\":true,\"delay\":2,\"frames\":3,\"sequence\":"
                                   "[0,1,2,1],\"position\":" +
                                   std::to_string(position) +
                                   ",\"offsets\":false},\"mark\":{\"active\":false,"
                                   "\"mode\":0}}"),
            std::string::npos)
      << e.DescribeState();

  // A delay alone changes only the delay.
  RunTimed(g, "@bg_anim 5", {});
  EXPECT_EQ(a.delay, 5);
  EXPECT_EQ(a.count, 3);
  EXPECT_EQ(a.sequence, (std::vector<int>{0, 1, 2, 1}));
}

TEST(BackgroundAnimationTest, EndMakesTheShownFrameTheBackgroundUnderItsName) {
  GameFixture g;
  AddFrames(g);
  g.Script("main", "@bg S444,4\n@bg_anim 1,BGA,BGB,BGC\n\\w\n");
  g.Start();
  g.RunToWait();
  TForm1& e = g.Engine();
  g.Host().RunFrames(3);
  const int shown = e.effects.bgAnim.sequence[static_cast<size_t>(e.effects.bgAnim.position)];
  RunTimed(g, "@bg_anim END", {});
  EXPECT_FALSE(e.BackgroundAnimationRunning());
  EXPECT_EQ(e.layers.backgroundName, std::string("BG") + static_cast<char>('A' + shown));
  EXPECT_EQ(Px(e.layers.background, 10, 10), kColours[shown]);
  g.Host().RunFrames(4);
  EXPECT_EQ(Px(g.Host().Window(), 400, 300), kColours[shown]);
  EXPECT_EQ(Px(e.layers.screen, 400, 300), kColours[shown]);
}

TEST(BackgroundAnimationTest, ReleaseBringsBackTheEarlierPictureAndMayFreeTheFrames) {
  for (int memorySave : {0, 1}) {
    SCOPED_TRACE(memorySave);
    GameFixture g;
    AddFrames(g);
    g.Script("main", "@bg S444,4\n@bg_anim 1,BGA,BGB\n\\w\n");
    g.Start();
    g.RunToWait();
    TForm1& e = g.Engine();
    e.settings.MemorySaveMode = memorySave;
    g.Host().RunFrames(3);
    RunTimed(g, "@bg_anim RELEASE", {});
    EXPECT_FALSE(e.BackgroundAnimationRunning());
    EXPECT_EQ(Px(g.Host().Window(), 400, 300), (Bgr{64, 64, 64}));
    EXPECT_EQ(e.layers.backgroundName, "S444");
    EXPECT_EQ(e.effects.bgAnim.frames.empty(), memorySave == 1);
    g.Host().RunFrames(3);
    EXPECT_EQ(Px(g.Host().Window(), 400, 300), (Bgr{64, 64, 64}));
  }
}

TEST(BackgroundAnimationTest, TheTitlesStopIsARelease) {
  GameFixture g;
  AddFrames(g);
  g.Script("main", "@bg S444,4\n@bg_anim 1,BGA,BGB\n\\w\n");
  g.Start();
  g.RunToWait();
  g.Engine().StopBackgroundAnimation();
  EXPECT_FALSE(g.Engine().BackgroundAnimationRunning());
  EXPECT_EQ(Px(g.Host().Window(), 400, 300), (Bgr{64, 64, 64}));
  // Nothing runs: the stop changes nothing more.
  const Bitmap before = g.Host().Window();
  g.Engine().StopBackgroundAnimation();
  EXPECT_EQ(g.Host().Window().pixels, before.pixels);
}

TEST(BackgroundAnimationTest, FramesNotMadeAreLeftOutOfTheSequenceAndMissingPicturesStayBlack) {
  GameFixture g;
  AddFrames(g);
  g.Script("main", "@bg S444,4\n@bg_anim 1,BGA,NOPE,#09z12Z1\n\\w\n");
  g.Start();
  g.RunToWait();
  const BackgroundAnimation& a = g.Engine().effects.bgAnim;
  EXPECT_EQ(a.count, 2);
  EXPECT_EQ(a.sequence, (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(a.frames[1].name, "");
  EXPECT_EQ(Px(a.frames[1].picture, 5, 5), (Bgr{0, 0, 0}));
}

TEST(BackgroundAnimationTest, AtMost32FramesAnd128SequenceEntriesAndADelayOfAtLeastOne) {
  GameFixture g;
  AddFrames(g);
  std::string names;
  for (int i = 0; i < 34; ++i) names += i % 2 ? ",BGA" : ",BGB";
  g.Script("main", "@bg S444,4\n@bg_anim 0" + names + ",#" + std::string(200, '1') + "\n\\w\n");
  g.Start();
  g.RunToWait();
  const BackgroundAnimation& a = g.Engine().effects.bgAnim;
  EXPECT_EQ(a.count, 32);
  EXPECT_EQ(a.sequence.size(), 128u);
  EXPECT_EQ(a.delay, 1) << "a delay of 0 steps every frame instead of dividing by zero";
  g.Host().RunFrames(3);
  EXPECT_EQ(Px(g.Host().Window(), 400, 300), kColours[0]);
}

TEST(BackgroundAnimationTest, OffsetFramesShiftTheSceneAndBlendTheScreenRowsBelow) {
  GameFixture g;
  const Bitmap scene = Gradient(800, 600);
  g.Entry("tq_gra.tvx", "BGG", Packed(scene));
  g.Script("main", "@bg BGG,4\n@bg_anim OFS,1,0,0,0,128,10,5,#1\n\\w\n");
  g.Start();
  g.RunToWait();
  TForm1& e = g.Engine();
  ASSERT_TRUE(e.effects.bgAnim.offsets);
  ASSERT_EQ(e.effects.bgAnim.sequence, (std::vector<int>{1}));
  // The scene moved by (10, 5), black where it does not reach; then from column 10 of every row
  // y with a row y + 5, (screen[y + 5] × 128 + screen[y] × 128) >> 8 over 790 × 3 / 8 = 296 groups
  // of eight bytes; the last two bytes of those rows keep the moved scene.
  Bitmap expected(800, 600);
  for (int y = 5; y < 600; ++y) {
    for (int x = 10; x < 800; ++x) {
      for (int c = 0; c < 3; ++c) expected.At(x, y)[c] = scene.At(x - 10, y - 5)[c];
    }
  }
  for (int y = 0; y + 5 < 600; ++y) {
    for (int i = 0; i < 296 * 8; ++i) {
      expected.Row(y)[30 + i] = static_cast<uint8_t>((scene.Row(y + 5)[i] * 128 + scene.Row(y)[i] * 128) >> 8);
    }
  }
  EXPECT_EQ(g.Host().Window().pixels, expected.pixels);
  g.Host().RunFrames(2);
  EXPECT_EQ(g.Host().Window().pixels, expected.pixels);
  // END reloads the background by its name: the scene as it was.
  RunTimed(g, "@bg_anim END", {});
  EXPECT_EQ(g.Host().Window().pixels, scene.pixels);
}

TEST(BackgroundAnimationTest, NegativeOffsetsLeaveABlackStripOnTheRight) {
  GameFixture g;
  const Bitmap scene = Gradient(800, 600);
  g.Entry("tq_gra.tvx", "BGG", Packed(scene));
  g.Script("main", "@bg BGG,4\n@bg_anim OFS,1,64,-20,0,#0\n\\w\n");
  g.Start();
  g.RunToWait();
  const Bitmap& shown = g.Host().Window();
  EXPECT_EQ(Px(shown, 790, 100), (Bgr{0, 0, 0}));
  EXPECT_EQ(Px(shown, 780, 100), (Bgr{0, 0, 0}));
  // Column 0 mixes the screen's column 20 of its own row with itself (dy 0): unchanged.
  EXPECT_EQ(Px(shown, 0, 100), Px(scene, 20, 100));
}

TEST(BackgroundAnimationTest, APlayOnceSequenceEndsOnItsLastFrameWithTheWindowHidden) {
  GameFixture g;
  AddFrames(g);
  g.Script("main", "\\w\n");
  g.Start();
  g.RunToWait();
  TForm1& e = g.Engine();
  const TimedRun run = RunTimed(g, "@bg_anim 2,BGA,BGB,BGC,>012", {0, 60});
  EXPECT_EQ(Px(run.shots[0], 1, 1), kColours[0]);
  EXPECT_EQ(Px(run.shots[1], 1, 1), kColours[1]);
  EXPECT_EQ(run.elapsed, 120u);
  EXPECT_EQ(Px(g.Host().Window(), 1, 1), kColours[2]);
  EXPECT_EQ(Px(e.layers.screen, 1, 1), kColours[2]);
  EXPECT_FALSE(e.BackgroundAnimationRunning());
  EXPECT_FALSE(e.text.windowShown);
  EXPECT_EQ(e.vars.S(19), 0);

  // Cut short, it ends on the last frame of its sequence: the click is seen at the pause after
  // the second frame, two pauses before the end.
  const TimedRun cut = RunTimed(g, "@bg_anim 2,BGA,BGB,BGC,>01201", {}, {ClickAtTime(10)});
  EXPECT_EQ(cut.elapsed, 120u);
  EXPECT_EQ(Px(g.Host().Window(), 1, 1), kColours[1]);
  EXPECT_EQ(e.vars.S(19), 1);
}

// The window over a frame must look as over a background of that picture: compared with the
// same text shown by a game without the animation, outside the click-wait icon.
TEST(BackgroundAnimationTest, TheWindowAndItsTextAreComposedOverEveryFrame) {
  const std::string text = "あいうえお\n\\\n";
  GameFixture reference;
  AddFrames(reference);
  reference.Script("_config", testing::kTextConfig);
  reference.Script("main", "@bg BGB,4\n" + text + "@bg BGB,4\n\\w\n");
  reference.Start();
  reference.RunToWait();
  const Bitmap withText = reference.Host().Window();
  reference.Click();
  reference.RunToWait();
  const Bitmap emptied = reference.Host().Window();

  GameFixture g;
  AddFrames(g);
  g.Script("_config", testing::kTextConfig);
  g.Script("main", "@bg S444,4\n@bg_anim 1,BGA,BGB,BGC\n" + text + "\\w\n");
  g.Start();
  g.RunToWait();
  TForm1& e = g.Engine();
  const Rect icon{e.textWindow.x + e.config.CLICK_WAIT_OFS_X, e.textWindow.y + e.config.CLICK_WAIT_OFS_Y,
                  e.textWindow.x + e.config.CLICK_WAIT_OFS_X + e.config.CLICK_WAIT_SIZE_X,
                  e.textWindow.y + e.config.CLICK_WAIT_OFS_Y + e.config.CLICK_WAIT_SIZE_Y};
  auto sameOutsideIcon = [&](const Bitmap& a, const Bitmap& b) {
    int differing = 0;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        if (x >= icon.left && x < icon.right && y >= icon.top && y < icon.bottom) continue;
        if (Px(a, x, y) != Px(b, x, y)) ++differing;
      }
    }
    return differing;
  };
  auto untilFrame = [&](int frame) {
    for (int i = 0; i < 6; ++i) {
      g.Host().RunFrame();
      const BackgroundAnimation& a = e.effects.bgAnim;
      if (a.sequence[static_cast<size_t>(a.position)] == frame) return;
    }
    FAIL() << "frame " << frame << " never came";
  };
  untilFrame(1);
  EXPECT_EQ(sameOutsideIcon(g.Host().Window(), withText), 0);
  // The other frames carry the same window and text over their own picture.
  untilFrame(2);
  EXPECT_EQ(Px(g.Host().Window(), 400, 100), kColours[2]);
  EXPECT_NE(Px(g.Host().Window(), 400, 590), kColours[2]) << "the window lies over this frame too";
  // A new page empties the window on every frame.
  g.Click();
  g.RunToWait();
  untilFrame(1);
  EXPECT_EQ(sameOutsideIcon(g.Host().Window(), emptied), 0);
}

}  // namespace
}  // namespace torvel
