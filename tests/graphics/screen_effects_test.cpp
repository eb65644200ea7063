// The screen effects through the headless host, frame by frame: the shake's offsets, the effect
// file's fills, tints, negatives and window moves, the comic-symbol mark and its blinking, the
// sprite moves and the effect animation, each checked against pictures worked out here, with
// their cuts and their limits.
#include <gtest/gtest.h>

#include "effect_test_support.h"
#include "graphics/kernels.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::ClickAtTime;
using testing::FillColumns;
using testing::GameFixture;
using testing::Gradient;
using testing::Packed;
using testing::Px;
using testing::RunTimed;
using testing::Solid;
using testing::TimedRun;

constexpr Bgr kScreen{10, 20, 30};

GameFixture& Started(GameFixture& g, const Bitmap& screen = Solid(800, 600, kScreen)) {
  g.Script("main", "\\w\n");
  g.Start();
  g.RunToWait();
  g.Engine().layers.screen = screen;
  g.Host().Present(screen, Rect{0, 0, 800, 600});
  return g;
}

// The screen moved by (dx, dy), black where it no longer reaches.
Bitmap Shifted(const Bitmap& screen, int dx, int dy) {
  Bitmap out(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const int sx = x - dx, sy = y - dy;
      if (sx < 0 || sy < 0 || sx >= 800 || sy >= 600) continue;
      for (int c = 0; c < 3; ++c) out.At(x, y)[c] = screen.At(sx, sy)[c];
    }
  }
  return out;
}

TEST(ShakeTest, HorizontalShakeAlternatesAndShrinksByTwoEachPeriod) {
  GameFixture g;
  const Bitmap screen = Gradient(800, 600);
  Started(g, screen);
  const TimedRun run = RunTimed(g, "@shake 1,21", {0, 50, 100, 150, 500});
  // Amplitudes 21, 19, …, 1: minus when bit 1 is clear, plus when it is set.
  const int expected[] = {-21, +19, -17, +15, -1};
  for (size_t i = 0; i < run.shots.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(run.shots[i].pixels, Shifted(screen, expected[i], 0).pixels);
  }
  EXPECT_EQ(run.elapsed, 11u * 50u);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(g.Host().Window().pixels, screen.pixels);
}

TEST(ShakeTest, VerticalShakeWithItsOwnPeriod) {
  GameFixture g;
  const Bitmap screen = Gradient(800, 600);
  Started(g, screen);
  const TimedRun run = RunTimed(g, "@shake 0,4,30", {0, 30});
  EXPECT_EQ(run.shots[0].pixels, Shifted(screen, 0, -4).pixels);
  EXPECT_EQ(run.shots[1].pixels, Shifted(screen, 0, 2).pixels);
  EXPECT_EQ(run.elapsed, 60u);
}

TEST(ShakeTest, RandomShakeMovesInTheDirectionsOfTheEnginesGenerator) {
  GameFixture g;
  const Bitmap screen = Gradient(800, 600);
  Started(g, screen);
  RandomGenerator model = g.Engine().random;
  const TimedRun run = RunTimed(g, "@shake 2,6,20", {0, 20, 40});
  const Point kUnit[] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const Point d = kUnit[model.Next() & 7];
    const int a = 6 - 2 * i;
    EXPECT_EQ(run.shots[static_cast<size_t>(i)].pixels, Shifted(screen, d.x * a, d.y * a).pixels);
  }
}

TEST(ShakeTest, AClickEndsItOnTheScreenPictureAndTellsTheScript) {
  GameFixture g;
  const Bitmap screen = Gradient(800, 600);
  Started(g, screen);
  TForm1& e = g.Engine();
  const TimedRun run = RunTimed(g, "@shake 1,20", {}, {ClickAtTime(120)});
  // The click is seen at the frame of 150; the shake stops at the next period.
  EXPECT_EQ(run.elapsed, 200u);
  EXPECT_EQ(e.vars.S(19), 1);
  EXPECT_EQ(g.Host().Window().pixels, screen.pixels);
  EXPECT_FALSE(e.ctl.blockingScene);
  EXPECT_FALSE(e.ctl.interruptibleWait);
  // The next effect does not clear it.
  RunTimed(g, "@shake 1,2", {});
  EXPECT_EQ(e.vars.S(19), 1);
}

TEST(ShakeTest, SkipModeWithTheCutSettingShakesNothing) {
  GameFixture g;
  Started(g);
  g.Engine().ctl.skipActive = true;
  EXPECT_EQ(RunTimed(g, "@shake 1,20", {}).elapsed, 0u);
  EXPECT_EQ(RunTimed(g, "@effect FLASH", {}).elapsed, 0u);
  g.Engine().settings.EFX_CUT = 0;
  EXPECT_EQ(RunTimed(g, "@shake 1,4", {}).elapsed, 100u);
}

TEST(ShakeTest, HugeAmplitudesAndPeriodsStayWithinTheScreen) {
  GameFixture g;
  Started(g);
  const TimedRun run = RunTimed(g, "@shake 1,2147483647,0", {0}, {ClickAtTime(5)});
  EXPECT_EQ(run.shots[0].pixels, Solid(800, 600, Bgr{0, 0, 0}).pixels);
  EXPECT_LE(run.elapsed, 10u);
}

const char kEffectFile[] =
    ":FLASH\n"
    "F,40,FG00,20,F08F8,30\n"
    "N,10,10\n"
    "S,15,10,-5,0,8\n"
    ":OTHER\n"
    "F,1000\n";

TEST(EffectTest, StepsShowFillsTintsNegativesAndMoveTheWindow) {
  GameFixture g;
  g.Script("effect", kEffectFile);
  Started(g);
  const Point home = g.Host().WindowPos();
  const size_t movesBefore = g.Host().WindowMoves().size();
  const TimedRun run = RunTimed(g, "@effect flash", {0, 40, 60, 90, 100});
  EXPECT_EQ(Px(run.shots[0], 5, 5), kScreen);
  EXPECT_EQ(Px(run.shots[1], 5, 5), (Bgr{0, 0, 255}));
  // (colour × 128 + screen × 128) >> 8 with blue F0, green 80, red 0.
  EXPECT_EQ(Px(run.shots[2], 799, 599),
            (Bgr{(240 * 128 + 10 * 128) >> 8, (128 * 128 + 20 * 128) >> 8, (30 * 128) >> 8}));
  EXPECT_EQ(Px(run.shots[3], 400, 300), (Bgr{245, 235, 225}));
  EXPECT_EQ(Px(run.shots[4], 400, 300), kScreen);
  const std::vector<Point>& moves = g.Host().WindowMoves();
  ASSERT_EQ(moves.size(), movesBefore + 3);
  EXPECT_EQ(moves[movesBefore].x, home.x + 10);
  EXPECT_EQ(moves[movesBefore].y, home.y - 5);
  EXPECT_EQ(moves[movesBefore + 1].x, home.x);
  EXPECT_EQ(moves[movesBefore + 1].y, home.y + 8);
  EXPECT_EQ(g.Host().WindowPos().x, home.x);
  EXPECT_EQ(g.Host().WindowPos().y, home.y);
  EXPECT_EQ(run.elapsed, 40u + 20u + 30u + 10u + 10u + 15u + 15u);
  EXPECT_EQ(Px(g.Host().Window(), 5, 5), kScreen);
}

TEST(EffectTest, ACutDuringAWindowMoveStillReturnsTheWindow) {
  GameFixture g;
  g.Script("effect", kEffectFile);
  Started(g);
  const Point home = g.Host().WindowPos();
  // The click during the first move is seen when the second one paces: the effect stops at 140.
  const TimedRun run = RunTimed(g, "@effect FLASH", {}, {ClickAtTime(115)});
  EXPECT_EQ(run.elapsed, 140u);
  EXPECT_EQ(g.Host().WindowMoves().back().x, home.x);
  EXPECT_EQ(g.Engine().vars.S(19), 1);
  EXPECT_EQ(g.Host().WindowPos().x, home.x);
  EXPECT_EQ(g.Host().WindowPos().y, home.y);
  EXPECT_EQ(Px(g.Host().Window(), 5, 5), kScreen);
}

TEST(EffectTest, MissingEntryOrFilePlaysNothing) {
  GameFixture g;
  g.Script("effect", kEffectFile);
  Started(g);
  EXPECT_EQ(RunTimed(g, "@effect NONE", {}).elapsed, 0u);
  GameFixture without;
  Started(without);
  EXPECT_EQ(RunTimed(without, "@effect FLASH", {}).elapsed, 0u);
}

// The mark: 16 × 8 colour beside its mask, the left half of the mask opaque.
Bitmap MarkPicture() {
  Bitmap b(32, 8);
  FillColumns(b, 0, 16, Bgr{200, 0, 200});
  FillColumns(b, 16, 24, Bgr{255, 255, 255});
  return b;
}

// The window at the mark: the opaque half takes the mark's colour one level darker.
void ExpectMark(const Bitmap& shown, int x, int y, bool marked) {
  EXPECT_EQ(Px(shown, x + 2, y + 3), marked ? testing::Opaque(Bgr{200, 0, 200}) : kScreen);
  EXPECT_EQ(Px(shown, x + 12, y + 3), kScreen);
}

TEST(ComicMarkTest, ModeZeroDrawsOnTheWindowOnlyAndTheNextCompositionRemovesIt) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "ASE", Packed(MarkPicture()));
  Started(g);
  TForm1& e = g.Engine();
  RunTimed(g, "@manpu ASE,0,100,50", {});
  EXPECT_EQ(e.vars.S(32), 100);
  EXPECT_EQ(e.vars.S(33), 50);
  ExpectMark(g.Host().Window(), 100, 50, true);
  EXPECT_EQ(Px(e.layers.screen, 102, 53), kScreen);
  EXPECT_TRUE(e.effects.mark.active);
  e.ComposeScreen();
  ExpectMark(g.Host().Window(), 100, 50, false);
  EXPECT_FALSE(e.effects.mark.active);
}

TEST(ComicMarkTest, ModeOneAlsoMarksTheScreenBufferAndTheTickLeavesIt) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "ASE", Packed(MarkPicture()));
  Started(g);
  TForm1& e = g.Engine();
  // Without a position the mark goes where S032 and S033 say (520, 30 at start-up).
  RunTimed(g, "@manpu ASE,1", {});
  ExpectMark(g.Host().Window(), 520, 30, true);
  ExpectMark(e.layers.screen, 520, 30, true);
  g.Host().RunUntil(g.Host().TickCount() + 600);
  ExpectMark(g.Host().Window(), 520, 30, true);
}

TEST(ComicMarkTest, ModeTwoBlinksEveryFourthTick) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "ASE", Packed(MarkPicture()));
  Started(g);
  TForm1& e = g.Engine();
  RunTimed(g, "@manpu ASE,2,300,200", {});
  bool marked = true;  // as drawn by the command
  for (int ticks = 0; ticks < 16;) {
    const int before = e.ctl.timerCounter;
    g.Host().RunFrame();
    if (e.ctl.timerCounter == before) continue;
    ++ticks;
    const int t = e.ctl.timerCounter;
    if (t % 4 == 0) marked = (t & 4) != 0;
    SCOPED_TRACE(t);
    ExpectMark(g.Host().Window(), 300, 200, marked);
  }
}

TEST(ComicMarkTest, ABlinkingMarkKeepsOffAnEffectThatOwnsTheWindow) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "ASE", Packed(MarkPicture()));
  std::string white = "FGGG,40";
  for (int i = 0; i < 7; ++i) white += ",FGGG,40";
  g.Script("effect", ":WHITE\n" + white + "\n");
  Started(g);
  RunTimed(g, "@manpu ASE,2,300,200", {});
  // 320 ms of white, paced every 40 ms: the timer ticks at least five times, so the mark's turn
  // to blink comes, delivered at a pace just before the shot of that moment.
  const int ticks = g.Engine().ctl.timerCounter;
  std::vector<uint32_t> times;
  for (uint32_t t = 0; t < 320; t += 40) times.push_back(t);
  const TimedRun run = RunTimed(g, "@effect WHITE", times);
  EXPECT_GE(g.Engine().ctl.timerCounter - ticks, 5);
  for (const Bitmap& shot : run.shots) EXPECT_EQ(Px(shot, 302, 203), (Bgr{255, 255, 255}));
}

TEST(ComicMarkTest, AMarkOffTheScreenIsClipped) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "ASE", Packed(MarkPicture()));
  Started(g);
  RunTimed(g, "@manpu ASE,2,795,-4", {});
  EXPECT_EQ(Px(g.Host().Window(), 796, 0), testing::Opaque(Bgr{200, 0, 200}));
  RunTimed(g, "@manpu ASE,0,2147483647,-2147483647", {});
  g.Engine().ComposeScreen();
  EXPECT_EQ(Px(g.Host().Window(), 796, 0), kScreen);
}

TEST(ComicMarkTest, AMissingPictureDrawsNothing) {
  GameFixture g;
  Started(g);
  RunTimed(g, "@manpu NONE,0,10,10", {});
  EXPECT_FALSE(g.Engine().effects.mark.active);
  EXPECT_EQ(g.Engine().vars.S(32), 520);
}

// Sprites of 20 × 20 in two colours with opaque masks.
void AddSprites(GameFixture& g) {
  const Bitmap opaque = Solid(20, 20, Bgr{255, 255, 255});
  g.Entry("tq_gra.tvx", "BSA", Packed(Solid(20, 20, Bgr{0, 0, 250})));
  g.Entry("tq_gra.tvx", "MSA", Packed(opaque));
  g.Entry("tq_gra.tvx", "BSB", Packed(Solid(20, 20, Bgr{0, 250, 0})));
  g.Entry("tq_gra.tvx", "MSB", Packed(opaque));
}

// The left edge of the red sprite on row 10 of a shot.
int RedLeft(const Bitmap& shot) {
  for (int x = 0; x < 800; ++x) {
    if (Px(shot, x, 10)[2] > 200) return x;
  }
  return -1;
}

TEST(SpriteMoveTest, SpritesGlideInTheirOwnStepsAndAZeroStepSpriteStays) {
  GameFixture g;
  AddSprites(g);
  Started(g);
  TForm1& e = g.Engine();
  // Two sprites: centres S081 = 250 and S082 = 550. A goes to 200 in 3 steps; B stays.
  const TimedRun run = RunTimed(g, "@sprmv BSA,200,0,3,BSB,700,0,0", {0, 30, 60});
  // 250 + (200 − 250) × s / 3: 250, 234, 217, then 200 at 90; left edges 10 less.
  EXPECT_EQ(RedLeft(run.shots[0]), 240);
  EXPECT_EQ(RedLeft(run.shots[1]), 224);
  EXPECT_EQ(RedLeft(run.shots[2]), 207);
  EXPECT_EQ(RedLeft(g.Host().Window()), 190);
  EXPECT_EQ(Px(run.shots[2], 545, 10)[1], 249) << "the sprite of 0 steps stays at its start";
  EXPECT_EQ(run.elapsed, 90u);
  EXPECT_EQ(e.vars.S(81), 200);
  EXPECT_EQ(e.vars.S(82), 550);
  EXPECT_EQ(e.layers.spriteCount, 2);
  EXPECT_EQ(e.layers.screen.pixels, e.layers.scene.pixels);
  EXPECT_EQ(e.vars.S(19), 0);
}

TEST(SpriteMoveTest, ACutPutsEverySpriteAtItsTargetAtOnce) {
  GameFixture g;
  AddSprites(g);
  Started(g);
  TForm1& e = g.Engine();
  // The click is seen when the pass of 30 paces; the sprite then jumps to its target.
  const TimedRun run = RunTimed(g, "@sprmv BSA,100,40,50", {}, {ClickAtTime(10)});
  EXPECT_EQ(run.elapsed, 60u);
  EXPECT_EQ(e.vars.S(80), 100);
  EXPECT_EQ(e.vars.S(90), 40);
  EXPECT_EQ(e.vars.S(19), 1);
  EXPECT_EQ(Px(g.Host().Window(), 95, 50)[2], 249);
}

TEST(SpriteMoveTest, InitAndGroupCountsOutsideTheLayoutsChangeNothingElse) {
  GameFixture g;
  AddSprites(g);
  Started(g);
  TForm1& e = g.Engine();
  for (int i = 80; i < 100; ++i) e.vars.S(i) = -i;
  const int after = e.vars.S(100);
  EXPECT_EQ(RunTimed(g, "@sprmv A,1,1,1,B,1,1,1,C,1,1,1,D,1,1,1,E,1,1,1", {}).elapsed, 0u);
  EXPECT_EQ(RunTimed(g, "@sprmv A,1,1", {}).elapsed, 0u);
  EXPECT_EQ(RunTimed(g, "@sprmv ", {}).elapsed, 0u);
  for (int i = 80; i < 100; ++i) EXPECT_EQ(e.vars.S(i), -i);
  EXPECT_EQ(e.vars.S(100), after);
  RunTimed(g, "@sprmv init", {});
  EXPECT_EQ(e.vars.S(80), 400);
  EXPECT_EQ(e.vars.S(89), 700);
  EXPECT_EQ(e.vars.S(99), 0);
}

TEST(SpriteMoveTest, FarTargetsDoNotOverflow) {
  GameFixture g;
  AddSprites(g);
  Started(g);
  TForm1& e = g.Engine();
  e.vars.S(80) = -2147483647;
  const TimedRun run = RunTimed(g, "@sprmv BSA,2147483647,0,2", {0, 30});
  EXPECT_EQ(e.vars.S(80), 2147483647);
  EXPECT_EQ(run.elapsed, 60u);
}

// Effect animation frames: colour left, mask right with its left 400 columns opaque.
Bitmap EffectFrame(Bgr colour, int w = 1600, int h = 600) {
  Bitmap b(w, h);
  FillColumns(b, 0, w / 2, colour);
  FillColumns(b, w / 2, w / 2 + w / 4, Bgr{255, 255, 255});
  return b;
}

TEST(EffectAnimationTest, FramesBlendOverTheScreenUntilOneIsMissing) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "FX_000", Packed(EffectFrame(Bgr{250, 0, 0})));
  g.Entry("tq_gra.tvx", "FX_001", Packed(EffectFrame(Bgr{0, 250, 0})));
  Started(g);
  TForm1& e = g.Engine();
  const TimedRun run = RunTimed(g, "@efxanim FX,40", {0, 40});
  EXPECT_EQ(Px(run.shots[0], 10, 10), testing::Opaque(Bgr{250, 0, 0}));
  EXPECT_EQ(Px(run.shots[0], 600, 10), kScreen);
  EXPECT_EQ(Px(run.shots[1], 399, 599), testing::Opaque(Bgr{0, 250, 0}));
  EXPECT_EQ(run.elapsed, 80u) << "FX_002 is missing: the animation ends there";
  EXPECT_EQ(Px(g.Host().Window(), 10, 10), kScreen);
  EXPECT_EQ(e.layers.previous.width, 800);

  // A list of frames plays in its order and ends with it.
  const TimedRun listed = RunTimed(g, "@efxanim FX,25,1,0,1", {0, 25, 50});
  EXPECT_EQ(Px(listed.shots[0], 10, 10), testing::Opaque(Bgr{0, 250, 0}));
  EXPECT_EQ(Px(listed.shots[1], 10, 10), testing::Opaque(Bgr{250, 0, 0}));
  EXPECT_EQ(Px(listed.shots[2], 10, 10), testing::Opaque(Bgr{0, 250, 0}));
  EXPECT_EQ(listed.elapsed, 75u);
}

TEST(EffectAnimationTest, OtherSizesAreDrawnSideBySideAndClipped) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "SM_000", Packed(EffectFrame(Bgr{0, 0, 250}, 2000, 700)));
  Started(g);
  const TimedRun run = RunTimed(g, "@efxanim SM,10,0", {0});
  EXPECT_EQ(Px(run.shots[0], 499, 599), testing::Opaque(Bgr{0, 0, 250}));
  EXPECT_EQ(Px(run.shots[0], 510, 10), kScreen);
}

TEST(EffectAnimationTest, AClickEndsItOnTheScreenPicture) {
  GameFixture g;
  g.Entry("tq_gra.tvx", "FX_000", Packed(EffectFrame(Bgr{250, 0, 0})));
  g.Entry("tq_gra.tvx", "FX_001", Packed(EffectFrame(Bgr{0, 250, 0})));
  Started(g);
  const TimedRun run = RunTimed(g, "@efxanim FX,40", {}, {ClickAtTime(0)});
  EXPECT_EQ(run.elapsed, 40u);
  EXPECT_EQ(g.Engine().vars.S(19), 1);
  EXPECT_EQ(Px(g.Host().Window(), 10, 10), kScreen);
}

}  // namespace
}  // namespace torvel
