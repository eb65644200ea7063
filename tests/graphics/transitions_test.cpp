// Transitions through the headless host on the virtual clock: chosen frames are captured with
// "shot" events and their pixels checked against the blend formulas worked by hand; interrupts,
// the cut setting, the speed variable and the close request during a transition.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/png_io.h"
#include "picture_test_support.h"
#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::Packed;
using testing::Solid;

// Old picture (10, 20, 30) and new picture (200, 100, 50) in blue, green, red order.
constexpr Bgr kOld{10, 20, 30};
constexpr Bgr kNew{200, 100, 50};

Bgr At(const Bitmap& b, int x, int y) {
  const uint8_t* p = b.At(x, y);
  return Bgr{p[0], p[1], p[2]};
}

struct Captured {
  std::vector<Bitmap> shots;
  uint32_t elapsed = 0;
};

// Runs transition `t` from kOld to kNew with shots at the given milliseconds after its start and,
// when clickAt ≥ 0, a click then.
Captured RunCaptured(GameFixture& g, int t, const std::vector<uint32_t>& shotTimes, int clickAt = -1) {
  TForm1& e = g.Engine();
  e.layers.previous = Solid(800, 600, kOld);
  e.layers.screen = Solid(800, 600, kNew);
  const uint32_t t0 = g.Host().TickCount();
  std::vector<InputEvent> events;
  std::vector<std::string> files;
  for (size_t i = 0; i < shotTimes.size(); ++i) {
    InputEvent shot;
    shot.kind = InputEvent::Kind::Shot;
    shot.time = t0 + shotTimes[i];
    shot.file = (g.Dir() / ("shot" + std::to_string(i) + ".png")).string();
    files.push_back(shot.file);
    events.push_back(shot);
  }
  if (clickAt >= 0) {
    InputEvent click;
    click.kind = InputEvent::Kind::Click;
    click.time = t0 + static_cast<uint32_t>(clickAt);
    click.x = 400;
    click.y = 300;
    events.push_back(click);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const InputEvent& a, const InputEvent& b) { return a.time < b.time; });
  g.Host().SetInput(events);
  e.RunTransition(t);
  Captured run;
  run.elapsed = g.Host().TickCount() - t0;
  for (const std::string& f : files) {
    Bitmap b;
    EXPECT_TRUE(ReadPng(f, b)) << f;
    run.shots.push_back(b);
  }
  return run;
}

GameFixture& Started(GameFixture& g) {
  g.Script("main", "\\w\n");
  g.Start();
  g.RunToWait();
  return g;
}

// Crossfade frames: (new × a + old × (256 − a)) >> 8 per byte.
TEST(TransitionTest, TimedCrossfadeOfOneSecondUsesStepEightAndPeriod31) {
  GameFixture g;
  Started(g);
  // Frame k shows a = 8k and is on the window when the clock reaches 31k.
  const Captured run = RunCaptured(g, 1000, {31, 124});
  // a = 8: (200·8 + 10·248) >> 8 = 4080 >> 8 = 15; (100·8 + 20·248) >> 8 = 5760 >> 8 = 22;
  // (50·8 + 30·248) >> 8 = 7840 >> 8 = 30.
  EXPECT_EQ(At(run.shots[0], 5, 5), (Bgr{15, 22, 30}));
  // a = 32: (6400 + 2240) >> 8 = 33; (3200 + 4480) >> 8 = 30; (1600 + 6720) >> 8 = 32.
  EXPECT_EQ(At(run.shots[1], 799, 599), (Bgr{33, 30, 32}));
  // a = 0, 8, …, 256: 33 frames of 31 ms.
  EXPECT_EQ(run.elapsed, 33u * 31u);
  EXPECT_EQ(At(g.Host().Window(), 400, 300), kNew);
}

TEST(TransitionTest, NegativeNumbersBehaveAsOne) {
  GameFixture g;
  Started(g);
  const Captured run = RunCaptured(g, -5, {10});
  // Kind 1: step 16, period 10. a = 16: (3200 + 2400) >> 8 = 21; (1600 + 4800) >> 8 = 25;
  // (800 + 7200) >> 8 = 31.
  EXPECT_EQ(At(run.shots[0], 100, 100), (Bgr{21, 25, 31}));
  EXPECT_EQ(run.elapsed, 17u * 10u);
}

TEST(TransitionTest, HugeNumbersLastAtMostAMinute) {
  GameFixture g;
  Started(g);
  const Captured run = RunCaptured(g, 2000000000, {});
  EXPECT_LE(run.elapsed, 61000u);
  EXPECT_EQ(At(g.Host().Window(), 1, 1), kNew);
}

TEST(TransitionTest, CutSettingMakesEveryKindACutAndStillResetsTheSpeed) {
  for (int kind : {1, 3, 5, 8, 17, 23, 1000}) {
    SCOPED_TRACE(kind);
    GameFixture g;
    Started(g);
    g.Engine().settings.GMode = 1;
    g.Engine().vars.S(16) = 7;
    const Captured run = RunCaptured(g, kind, {});
    EXPECT_EQ(run.elapsed, 0u);
    EXPECT_EQ(At(g.Host().Window(), 0, 0), kNew);
    EXPECT_EQ(g.Engine().vars.S(16), 0);
  }
}

// Every kind ends on the new picture with the flags cleared and S016 back to 0; 0 and 25..127
// draw nothing.
TEST(TransitionTest, EveryKindEndsOnTheNewPicture) {
  for (int kind = 0; kind <= 30; ++kind) {
    SCOPED_TRACE(kind);
    GameFixture g;
    Started(g);
    g.Host().Present(Solid(800, 600, kOld), Rect{0, 0, 800, 600});
    g.Engine().vars.S(29) = 18;
    g.Engine().vars.S(16) = 2;
    RunCaptured(g, kind, {});
    const bool draws = kind >= 1 && kind <= 24;
    for (Point p : {Point{0, 0}, Point{799, 0}, Point{400, 300}, Point{0, 599}, Point{799, 599}}) {
      EXPECT_EQ(At(g.Host().Window(), p.x, p.y), draws ? kNew : kOld) << p.x << "," << p.y;
    }
    EXPECT_FALSE(g.Engine().ctl.blockingScene);
    EXPECT_FALSE(g.Engine().ctl.interruptibleWait);
    EXPECT_EQ(g.Engine().vars.S(16), 0);
    EXPECT_EQ(g.Engine().vars.S(19), 0);
  }
}

TEST(TransitionTest, SlideInFromTheRightAtStepEight) {
  GameFixture g;
  Started(g);
  g.Engine().vars.S(29) = 18;  // side 2 (right), speed 8
  // Paced at 20 ms: frame k shows a = 8k. At a = 32 the new picture is displaced 224 px right
  // and blended at opacity 32: (200·32 + 10·224) >> 8 = 33; (3200 + 4480) >> 8 = 30;
  // (1600 + 6720) >> 8 = 32.
  const Captured run = RunCaptured(g, 23, {80});
  EXPECT_EQ(At(run.shots[0], 223, 300), kOld);
  EXPECT_EQ(At(run.shots[0], 224, 300), (Bgr{33, 30, 32}));
  EXPECT_EQ(At(run.shots[0], 799, 0), (Bgr{33, 30, 32}));
  EXPECT_EQ(run.elapsed, 32u * 20u);
}

TEST(TransitionTest, ClickDuringTileDissolveShowsTheNewPictureAndTellsTheScript) {
  GameFixture g;
  Started(g);
  const Captured run = RunCaptured(g, 8, {}, 100);
  EXPECT_EQ(g.Engine().vars.S(19), 1);
  EXPECT_LT(run.elapsed, 200u);
  for (Point p : {Point{0, 0}, Point{400, 300}, Point{799, 599}}) EXPECT_EQ(At(g.Host().Window(), p.x, p.y), kNew);
}

TEST(TransitionTest, ClickDuringACrossfadeLeavesS019AtZero) {
  GameFixture g;
  Started(g);
  const Captured run = RunCaptured(g, 2, {}, 45);
  EXPECT_EQ(g.Engine().vars.S(19), 0);
  EXPECT_LT(run.elapsed, 100u);
  EXPECT_EQ(At(g.Host().Window(), 10, 10), kNew);
}

TEST(TransitionTest, FirstTileDissolveFrameFadesTheFirstTileIn) {
  GameFixture g;
  Started(g);
  // Frame f = 0 blends list positions 0..16; only position 16 holds a tile, at old-weight 256.
  // Frame 1 (at 20 ms) blends that tile at old-weight 16·15 = 240:
  // (10·240 + 200·16) >> 8 = 5600 >> 8 = 21; (4800 + 1600) >> 8 = 25; (7200 + 800) >> 8 = 31.
  const Captured run = RunCaptured(g, 8, {20});
  int faded = 0, old = 0;
  for (int ty = 0; ty < 10; ++ty) {
    for (int tx = 0; tx < 10; ++tx) {
      const Bgr c = At(run.shots[0], tx * 80 + 40, ty * 60 + 30);
      if (c == Bgr{21, 25, 31}) ++faded;
      if (c == kOld) ++old;
    }
  }
  EXPECT_EQ(faded, 1);
  EXPECT_EQ(old, 99);
}

// The pattern wipe: a pattern of 400 × 300 is stretched over the screen at `wipeset`.
TEST(TransitionTest, PatternWipeShowsTheNewPictureFirstWhereThePatternIsBright) {
  GameFixture g;
  Bitmap pattern = Solid(400, 300, {0, 0, 0});
  testing::FillColumns(pattern, 0, 200, {255, 255, 255});
  g.Entry("tq_gra.tvx", "WP", Packed(pattern));
  g.Script("main", "@wipeset WP\n\\w\n");
  g.Start();
  g.RunToWait();
  const Bitmap& wp = g.Engine().layers.wipePattern;
  ASSERT_EQ(wp.width, 800);
  ASSERT_EQ(wp.height, 600);
  EXPECT_EQ(At(wp, 399, 599), (Bgr{255, 255, 255}));
  EXPECT_EQ(At(wp, 400, 0), (Bgr{0, 0, 0}));
  // Speed 0: step 4. First frame: mask = max(0, p − 252) = 3 on the left, 0 on the right;
  // d = (old × (255 − m) >> 8) + (new × m >> 8):
  // left (10·252 >> 8) + (200·3 >> 8) = 9 + 2 = 11, 19 + 1 = 20, 29 + 0 = 29;
  // right 10·255 >> 8 = 9, 19, 29.
  const Captured run = RunCaptured(g, 5, {0});
  EXPECT_EQ(At(run.shots[0], 100, 300), (Bgr{11, 20, 29}));
  EXPECT_EQ(At(run.shots[0], 700, 300), (Bgr{9, 19, 29}));
}

TEST(TransitionTest, WipesetEndsTheStepWhetherOrNotThePatternLoads) {
  for (const char* name : {"WP", "MISSING"}) {
    SCOPED_TRACE(name);
    GameFixture g;
    g.Entry("tq_gra.tvx", "WP", Packed(Solid(800, 600, {128, 128, 128})));
    g.Script("main", std::string("@wipeset ") + name + "\n!V001=1\n\\w\n");
    TForm1& e = g.Start();
    g.Host().RunFrames(2);  // loads main, then the step that runs `wipeset`
    EXPECT_EQ(e.vars.V(1), 0);
    g.Host().RunFrames(1);
    EXPECT_EQ(e.vars.V(1), 1);
  }
}

TEST(TransitionTest, FadeinWithoutANumberUsesSpeedZero) {
  GameFixture g;
  Started(g);
  TForm1& e = g.Engine();
  uint32_t t0 = g.Host().TickCount();
  e.CmdFadein("10");
  // Speed 10: step 4, period 12: a = 0..256 in 65 frames.
  EXPECT_EQ(g.Host().TickCount() - t0, 65u * 12u);
  t0 = g.Host().TickCount();
  e.CmdFadein("");
  EXPECT_EQ(g.Host().TickCount() - t0, 65u * 8u);
}

TEST(TransitionTest, MosaicBlocksTakeTheirTopLeftPixelAndAreCutAtTheEdges) {
  GameFixture g;
  Started(g);
  Bitmap source(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* p = source.At(x, y);
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = static_cast<uint8_t>(x >> 8);
    }
  }
  g.Engine().Mosaic(source, 28);
  const Bitmap& w = g.Host().Window();
  // (5, 7) lies in the block from (0, 0); (799, 599) in the cut block from (784, 588).
  EXPECT_EQ(At(w, 5, 7), (Bgr{0, 0, 0}));
  EXPECT_EQ(At(w, 55, 30), (Bgr{28, 28, 0}));
  EXPECT_EQ(At(w, 799, 599), (Bgr{784 & 255, 588 & 255, 3}));
}

struct CloseCase {
  const char* name;
  bool ok;
};

class CloseDuringGraTest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseDuringGraTest, AsksAfterTheTransition) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "AB01", Packed(Solid(800, 600, kNew)));
  g.Script("main", "@gra AB01,5000\n\\w\n");
  g.Start();
  InputEvent close;
  close.kind = InputEvent::Kind::Close;
  close.time = g.Host().TickCount() + 1000;
  g.Host().SetInput({close});
  g.Host().QueueAnswer(GetParam().ok ? MessageResult::Ok : MessageResult::Cancel);
  g.Host().RunFrames(20);
  ASSERT_EQ(g.Host().Messages().size(), 1u);
  EXPECT_EQ(g.Host().Messages()[0].caption, Utf8ToSjis("確認"));
  EXPECT_EQ(g.Host().Messages()[0].text, Utf8ToSjis("ゲームを終了しますか？"));
  g.Host().RunFrames(5);
  EXPECT_EQ(g.Host().Closed(), GetParam().ok);
  if (!GetParam().ok) {
    EXPECT_EQ(g.Engine().ctl.waitKind, 1);  // the story went on to its click wait
    EXPECT_EQ(g.Host().Messages().size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseDuringGraTest,
                         ::testing::Values(CloseCase{"Ok", true}, CloseCase{"Cancel", false}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

TEST(ClosePendingTest, CloseDuringAnyBlockingLoopIsAskedWhenItEnds) {
  GameFixture g;
  Started(g);
  TForm1& e = g.Engine();
  e.ctl.blockingScene = true;  // a loop that cannot be cut short
  EXPECT_FALSE(e.FormCloseQuery());
  EXPECT_TRUE(g.Host().Messages().empty());
  g.Host().RunFrames(3);
  EXPECT_TRUE(g.Host().Messages().empty());
  e.ctl.blockingScene = false;
  g.Host().RunFrames(3);
  ASSERT_EQ(g.Host().Messages().size(), 1u);
  EXPECT_EQ(g.Host().Messages()[0].text, Utf8ToSjis("ゲームを終了しますか？"));
  EXPECT_TRUE(g.Host().Closed());
}

}  // namespace
}  // namespace torvel
