// The picture commands that draw straight onto the window or take it over for a while:
// `partsload`, `ptset`, `direct`, `mode` and `scroll`.
#include <gtest/gtest.h>

#include "picture_test_support.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::Gradient;
using testing::Packed;
using testing::Px;
using testing::Solid;

constexpr Bgr kBack{10, 20, 30};
constexpr Bgr kAqua{255, 255, 0};

GameFixture& Pictures(GameFixture& g) {
  g.Entry("tq_gra.tvx", "AB01", Packed(Solid(800, 600, kBack)));
  // A 100 × 100 parts sheet telling where each pixel came from, with aqua in columns 0..9.
  Bitmap parts = Gradient(100, 100);
  testing::FillColumns(parts, 0, 10, kAqua);
  g.Entry("tq_gra.tvx", "PARTS", Packed(parts));
  g.Entry("tq_gra.tvx", "PMASK", Packed(Solid(100, 100, {255, 255, 255})));
  g.Entry("tq_gra.tvx", "DP", Packed(Solid(50, 40, {9, 8, 7})));
  g.Entry("tq_gra.tvx", "TALL", Packed(Gradient(800, 700)));
  g.Entry("tq_gra.tvx", "WIDE", Packed(Gradient(900, 600)));
  return g;
}

TEST(PtsetTest, DrawsAPartOnTheWindowWithAquaClearUntilTheNextPresentation) {
  GameFixture g;
  Pictures(g).Script("main",
                     "@gra AB01\n@partsload PARTS\n!V001=20\n@ptset 0,0,V001,V001,300,300\n\\w\n@fadein 1\n\\w2\n");
  g.Start();
  g.RunToWait();
  const Bitmap& w = g.Host().Window();
  EXPECT_EQ(g.Engine().vars.S(15), 0);
  EXPECT_EQ(Px(w, 310, 305), (Bgr{10, 5, 7}));
  EXPECT_EQ(Px(w, 319, 319), (Bgr{19, 19, 7}));
  EXPECT_EQ(Px(w, 305, 305), kBack);  // aqua is see-through
  EXPECT_EQ(Px(w, 320, 305), kBack);
  EXPECT_EQ(Px(g.Engine().layers.screen, 310, 305), kBack);
  g.Click();
  g.RunToWait();
  EXPECT_EQ(Px(g.Host().Window(), 310, 305), kBack);
}

TEST(PtsetTest, EmptyOrOutsideRectanglesDrawNothing) {
  for (const char* args : {"20,20,20,40,300,300", "30,0,20,20,300,300", "100,0,140,20,300,300", "0,-50,20,-10,300,300",
                           "0,0,20,20,900,300"}) {
    SCOPED_TRACE(args);
    GameFixture g;
    Pictures(g).Script("main", std::string("@gra AB01\n@partsload PARTS\n@ptset ") + args + "\n\\w\n");
    g.Start();
    g.RunToWait();
    EXPECT_EQ(g.Host().Window().pixels, g.Engine().layers.screen.pixels);
  }
}

TEST(PtsetTest, PartsOverTheWindowEdgeAreClipped) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@partsload PARTS\n@ptset 10,0,60,50,780,-10\n\\w\n");
  g.Start();
  g.RunToWait();
  // Source (10, 10) lands on (780, 0); source (29, 49) on (799, 39).
  EXPECT_EQ(Px(g.Host().Window(), 780, 0), (Bgr{10, 10, 7}));
  EXPECT_EQ(Px(g.Host().Window(), 799, 39), (Bgr{29, 49, 7}));
  EXPECT_EQ(Px(g.Host().Window(), 799, 40), kBack);
}

TEST(PartsloadTest, MaskGoesToItsOwnBufferAndTheWorkBufferKeepsItsSize) {
  GameFixture g;
  Pictures(g).Script("main", "@partsload PARTS,PMASK\n\\w\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(g.Engine().vars.S(15), 1);
  EXPECT_EQ(l.parts.width, 100);
  EXPECT_EQ(l.partsMask.width, 100);
  EXPECT_EQ(Px(l.partsMask, 50, 50), (Bgr{255, 255, 255}));
  EXPECT_EQ(l.work.width, 800);
  EXPECT_EQ(l.work.height, 600);
}

TEST(DirectTest, DrawsOnTheWindowAndHoldsTheScriptForItsWait) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@direct DP,500,100,50\n\\w\n");
  g.Start();
  g.RunToWait();
  // The first frame loads the script; the second runs it, and `direct` holds it for 500 ms.
  EXPECT_GE(g.Host().TickCount(), 520u);
  EXPECT_TRUE(g.Engine().ctl.scriptRunning);
  const Bitmap& w = g.Host().Window();
  EXPECT_EQ(Px(w, 100, 50), (Bgr{9, 8, 7}));
  EXPECT_EQ(Px(w, 149, 89), (Bgr{9, 8, 7}));
  EXPECT_EQ(Px(w, 150, 50), kBack);
  EXPECT_EQ(Px(g.Engine().layers.screen, 100, 50), kBack);
  EXPECT_EQ(g.Engine().layers.parts.width, 50);
}

TEST(ModeTest, SwitchesTheDisplayModeAndEndsTheStep) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n!S037=5\n@mode 1\n@mode 1\n@mode 0\n\\w\n");
  g.Start();
  g.Host().RunFrames(2);  // the first tick loads the script, the second runs up to the first mode
  EXPECT_EQ(g.Engine().vars.S(160), 1);
  EXPECT_EQ(g.Engine().vars.S(37), 0xFFFFFF);
  EXPECT_EQ(g.Engine().layers.lastTransition, 6);
  g.RunToWait();
  EXPECT_EQ(g.Engine().vars.S(160), 0);
}

struct ScrollCase {
  const char* label;
  const char* args;
  Bgr lastView;  // screen (0, 0) at the end
  uint32_t minimumMs;
};

class ScrollTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollTest, PansAcrossThePicture) {
  const ScrollCase& c = GetParam();
  GameFixture g;
  Pictures(g).Script("main", std::string("@gra AB01\n@scroll ") + c.args + "\n\\w\n");
  g.Start();
  g.Host().RunFrames(1);
  const uint32_t before = g.Host().TickCount();
  g.RunToWait();
  EXPECT_GE(g.Host().TickCount() - before, c.minimumMs);
  const TForm1& e = g.Engine();
  EXPECT_EQ(Px(e.layers.screen, 0, 0), c.lastView);
  EXPECT_EQ(Px(g.Host().Window(), 0, 0), c.lastView);
  EXPECT_EQ(Px(e.layers.previous, 0, 0), kBack);
  EXPECT_EQ(Px(e.layers.background, 0, 0), kBack);
  EXPECT_FALSE(e.ctl.menuLock);
  EXPECT_FALSE(e.ctl.blockingScene);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScrollTest,
                         ::testing::Values(ScrollCase{"Up", "TALL,0,10,1", {0, 0, 7}, 1000},
                                           ScrollCase{"Right", "WIDE,1,10,1", {100, 0, 7}, 1000},
                                           ScrollCase{"Down", "TALL,2,10,1", {0, 100, 7}, 1000},
                                           ScrollCase{"Left", "WIDE,3,10,1", {0, 0, 7}, 1000},
                                           // A period of 0 counts as 1 ms.
                                           ScrollCase{"PeriodZero", "TALL,2,0,1", {0, 100, 7}, 100}),
                         [](const ::testing::TestParamInfo<ScrollCase>& info) {
                           return std::string(info.param.label);
                         });

TEST(ScrollCommandTest, MissingOrSmallPicturesAreRefused) {
  for (const char* name : {"NONE", "DP"}) {
    SCOPED_TRACE(name);
    GameFixture g;
    Pictures(g).Script("main", std::string("@gra AB01\n@scroll ") + name + ",2,10,1\n\\w\n");
    g.Start();
    g.RunToWait();
    EXPECT_EQ(Px(g.Engine().layers.screen, 0, 0), kBack);
    EXPECT_FALSE(g.Engine().ctl.menuLock);
    EXPECT_EQ(g.Engine().ctl.screenMode, smScenario);
  }
}

TEST(ScrollCommandTest, AClickCutsThePanShort) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@scroll TALL,2,100,1\n\\w\n");
  InputEvent click;
  click.kind = InputEvent::Kind::Click;
  click.time = 500;
  click.x = 400;
  click.y = 300;
  g.Start();
  g.Host().SetInput({click});
  g.RunToWait();
  EXPECT_LT(g.Host().TickCount(), 2000u);  // the whole pan takes 10 s
  EXPECT_EQ(Px(g.Engine().layers.screen, 0, 0), (Bgr{0, 100, 7}));
  EXPECT_EQ(g.Engine().ctl.interruptRequest, 0);
}

TEST(ScrollCommandTest, ClosingDuringThePanWaitsForItsEndAndThenAsks) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@scroll TALL,2,100,1\n\\w\n");
  InputEvent close;
  close.kind = InputEvent::Kind::Close;
  close.time = 500;
  g.Start();
  g.Host().SetInput({close});
  g.Host().RunUntilSettled(1000);
  // The pan ended at its final view before the quit question was asked.
  EXPECT_EQ(Px(g.Host().Window(), 0, 0), (Bgr{0, 100, 7}));
  EXPECT_EQ(g.Host().Messages().size(), 1u);
  EXPECT_TRUE(g.Host().Closed());
}

}  // namespace
}  // namespace torvel
