// The slide roll through the headless host: its one clock on the virtual clock, the fade step's
// bytes worked by hand at the frame where a click ends the roll, the darkness that carries over
// from roll to roll, the pages of large glyphs placed by byte position, the fonts it switches
// and puts back, and the fade step kept out of a page roll.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/glyphs.h"
#include "resources/sjis.h"
#include "scene_shots_support.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::Gradient;
using testing::InputPlan;
using testing::Packed;
using testing::Px;
using testing::Solid;

constexpr Bgr kTwo{60, 120, 180};
const char kFontConfig[] = "FONT_NAME:ＭＳ ゴシック\nFONT_SIZE:22\n";

uint32_t Ready(GameFixture& g, const std::string& roll, const std::string& main = "\\start\n@sroll ending\n\\done\n") {
  using testing::PackedOnce;
  g.Entry("tq_gra.tvx", "AWHITE",
          PackedOnce("white",
                     [] {
                       return Solid(800, 600, {255, 255, 255});
                     }))
      .Entry("tq_gra.tvx", "AONE", PackedOnce("one", [] { return Gradient(800, 600); }))
      .Entry("tq_gra.tvx", "ATWO", PackedOnce("two", [] { return Solid(800, 600, kTwo); }))
      .Entry("tq_gra.tvx", "AROLL1",
             PackedOnce("roll 1",
                        [] {
                          return Solid(800, 600, {10, 20, 30});
                        }))
      .Entry("tq_gra.tvx", "AROLL2",
             PackedOnce("roll 2",
                        [] {
                          return Solid(800, 600, {200, 100, 50});
                        }))
      .Script("_config", kFontConfig)
      .Script("main", main)
      .Script("ending", roll);
  g.Start();
  g.RunToWait();
  return g.Host().TickCount();
}

// Runs the command as the interpreter would, so that the clock shows the roll's own time.
void Play(GameFixture& g, std::string_view name = "ending") { EXPECT_EQ(g.Engine().CmdSroll(name), 1); }

struct ClockCase {
  std::string name;
  std::string roll;
  uint32_t lasts;
};

class SlideRollClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(SlideRollClockTest, RollTakesItsTime) {
  GameFixture g;
  const uint32_t t0 = Ready(g, GetParam().roll);
  Play(g);
  EXPECT_EQ(g.Host().TickCount() - t0, GetParam().lasts);
  EXPECT_EQ(g.Engine().ctl.screenMode, smScenario);
  EXPECT_FALSE(g.Engine().ctl.menuLock);
}

TEST(SlideRollTest, StoryGoesOnAfterTheRoll) {
  GameFixture g;
  Ready(g, "@WAIT 3\n@END\n");
  g.Click();
  g.RunToWait();
  EXPECT_EQ(g.Engine().script.lineBuffer, "\\done");
  EXPECT_EQ(g.Engine().ctl.screenMode, smScenario);
}

INSTANTIATE_TEST_SUITE_P(Waits, SlideRollClockTest,
                         ::testing::Values(
                             // Waits run from the roll's start, not from the end of the last wait.
                             ClockCase{"TwoWaitsFromTheStart", "@WAIT 10\n@WAIT 5\n@END\n", 1500},
                             // The fade of 8 ms a step is over at the first frame past 2048 ms; the wait is long past.
                             ClockCase{"FadeLongerThanTheWait", "@DARK 255\n@GRA AWHITE,8\n@WAIT 1\n@END\n", 2060},
                             ClockCase{"PictureWithoutSpeedFadesIn256ms", "@GRA S000\n@END\n", 260},
                             ClockCase{"WaitsSumWithNegativeOnes", "@WAIT -5\n@WAIT 10\n@END\n", 500},
                             // A negative speed would never finish its fade: the picture shows at once.
                             ClockCase{"NegativeSpeedShowsAtOnce", "@GRA S000,-5\n@WAIT 1\n@END\n", 100},
                             ClockCase{"PagesDoNotWaitForTheirFade", "@MOJ 3\n@WAIT 2\n@END\n", 200},
                             ClockCase{"EndMatchesAtTheLineStart", "@ENDING\n@WAIT 5\n", 0},
                             ClockCase{"CommandsAreWrittenInCapitals", "@wait 5\n@Wait 5\n@END\n", 0},
                             ClockCase{"ScriptEndEndsTheRoll", "@WAIT 3\n", 300}),
                         [](const ::testing::TestParamInfo<ClockCase>& info) { return info.param.name; });

TEST(SlideRollTest, MissingScriptReturnsAtOnce) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@WAIT 10\n");
  Play(g, "nothing");
  EXPECT_EQ(g.Host().TickCount() - t0, 0u);
  EXPECT_FALSE(g.Engine().ctl.menuLock);
}

// A click ends the roll once its current line is over; the line after it never runs. Waits sum
// without overflowing.
TEST(SlideRollTest, ClickEndsTheRollAfterItsCurrentLine) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@DARK 255\n@WAIT 2147483647\n@WAIT 2147483647\n@GRA AWHITE,0\n@END\n");
  InputPlan plan(g);
  plan.Click(t0 + 400, 20, 30, MouseButton::Right);
  plan.Apply();
  Play(g);
  EXPECT_EQ(g.Host().TickCount() - t0, 400u);
  EXPECT_NE(Px(g.Host().Window(), 5, 5), (Bgr{255, 255, 255}));
  EXPECT_TRUE(g.Engine().staffRoll.aborted);
  EXPECT_EQ(g.Engine().staffRoll.slide.waited, 2147483647);
  EXPECT_NE(g.Engine().DescribeState().find("\"staffRoll\":{\"kind\":\"\",\"paused\":false,\"aborted\":true"),
            std::string::npos);
}

// The fade step at the frame a click ends the roll: c = elapsed / speed, w = c when B was built
// last and 255 − c when A was, and every byte (B × w >> 8) + (A × (256 − w) >> 8).
struct FadeCase {
  std::string name;
  std::string roll;
  uint32_t clickAt;
  bool towardsB;
  int speed;
};

class SlideFadeTest : public ::testing::TestWithParam<FadeCase> {};

TEST_P(SlideFadeTest, FrameFollowsTheFadeStep) {
  const FadeCase& c = GetParam();
  GameFixture g;
  const uint32_t t0 = Ready(g, c.roll);
  InputPlan plan(g);
  plan.Click(t0 + c.clickAt);
  plan.Apply();
  Play(g);
  ASSERT_EQ(g.Host().TickCount() - t0, c.clickAt);
  const int steps = static_cast<int>(c.clickAt) / c.speed;
  const int w = c.towardsB ? steps : 255 - steps;
  // B towards which the roll fades first holds the gradient or kTwo; A is black or kTwo.
  const Bitmap a = c.towardsB ? Solid(800, 600, {0, 0, 0}) : Solid(800, 600, kTwo);
  const Bitmap b = c.towardsB ? Solid(800, 600, kTwo) : Gradient(800, 600);
  Bitmap want(800, 600);
  for (size_t i = 0; i < want.pixels.size(); ++i) {
    want.pixels[i] = static_cast<uint8_t>((b.pixels[i] * w >> 8) + (a.pixels[i] * (256 - w) >> 8));
  }
  EXPECT_TRUE(g.Host().Window().pixels == want.pixels);
  EXPECT_TRUE(g.Engine().layers.screen.pixels == want.pixels);
  EXPECT_EQ(g.Engine().staffRoll.fadeSpeed, c.speed);  // the fade was still running
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SlideFadeTest,
    ::testing::Values(FadeCase{"TowardsBEarly", "@DARK 255\n@GRA ATWO,4\n@END\n", 100, true, 4},
                      FadeCase{"TowardsBLate", "@DARK 255\n@GRA ATWO,4\n@END\n", 1000, true, 4},
                      FadeCase{"TowardsAEarly", "@DARK 255\n@GRA AONE,0\n@GRA ATWO,4\n@END\n", 100, false, 4},
                      FadeCase{"TowardsAHalfway", "@DARK 255\n@GRA AONE,0\n@GRA ATWO,3\n@END\n", 380, false, 3},
                      FadeCase{"TowardsALate", "@DARK 255\n@GRA AONE,0\n@GRA ATWO,4\n@END\n", 1000, false, 4}),
    [](const ::testing::TestParamInfo<FadeCase>& info) { return info.param.name; });

// A finished fade towards B stays at its last step: white over black gives 255 × 255 >> 8.
TEST(SlideRollTest, FinishedFadeTowardsBStaysOneLevelShort) {
  GameFixture g;
  Ready(g, "@DARK 255\n@GRA AWHITE\n@END\n");
  Play(g);
  EXPECT_EQ(Px(g.Host().Window(), 300, 300), (Bgr{254, 254, 254}));
  EXPECT_EQ(g.Engine().staffRoll.fadeSpeed, 0);
}

struct DarknessCase {
  std::string name;
  std::vector<std::pair<std::string, std::string>> rolls;  // played one after the other
  Bgr white;                                               // what a white picture shows as
};

class SlideDarknessTest : public ::testing::TestWithParam<DarknessCase> {};

TEST_P(SlideDarknessTest, PicturesAreDarkenedUnder255) {
  const DarknessCase& c = GetParam();
  GameFixture g;
  for (const auto& [name, text] : c.rolls) g.Script(name, text);
  Ready(g, "@END\n");
  for (const auto& roll : c.rolls) Play(g, roll.first);
  EXPECT_EQ(Px(g.Host().Window(), 123, 456), c.white);
  EXPECT_EQ(Px(g.Engine().layers.screen, 799, 0), c.white);
}

const std::string kShowWhite = "@GRA AWHITE,0\n@END\n";

INSTANTIATE_TEST_SUITE_P(Levels, SlideDarknessTest,
                         ::testing::Values(
                             // Nothing has set the darkness in this run: every picture is black.
                             DarknessCase{"UnsetIsBlack", {{"a", kShowWhite}}, Bgr{0, 0, 0}},
                             DarknessCase{"Half", {{"a", "@DARK 128\n" + kShowWhite}}, Bgr{127, 127, 127}},
                             DarknessCase{"Full", {{"a", "@DARK 255\n" + kShowWhite}}, Bgr{255, 255, 255}},
                             DarknessCase{"MoreThanFull", {{"a", "@DARK 300\n" + kShowWhite}}, Bgr{255, 255, 255}},
                             DarknessCase{"Negative", {{"a", "@DARK -7\n" + kShowWhite}}, Bgr{0, 0, 0}},
                             // The last darkness set stays for the next roll.
                             DarknessCase{
                                 "CarriesOver", {{"a", "@DARK 64\n@END\n"}, {"b", kShowWhite}}, Bgr{63, 63, 63}},
                             // S000 is black whatever the darkness.
                             DarknessCase{"BlackName", {{"a", "@DARK 255\n@GRA s000,0\n@END\n"}}, Bgr{0, 0, 0}}),
                         [](const ::testing::TestParamInfo<DarknessCase>& info) { return info.param.name; });

TEST(SlideRollTest, DarknessMultipliesEveryByte) {
  GameFixture g;
  Ready(g, "@DARK 100\n@GRA AONE,0\n@END\n");
  Play(g);
  const Bitmap& shown = g.Host().Window();
  for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {255, 17}, {300, 599}, {799, 200}}) {
    EXPECT_EQ(Px(shown, x, y), (Bgr{(x & 255) * 100 >> 8, (y & 255) * 100 >> 8, 7 * 100 >> 8}));
  }
}

// The expected page: black with each character's large glyph at origin x + k × pitch + offset.
struct Glyph {
  std::string utf8;
  int x, y;
};

Bitmap ExpectedPage(const std::string& faceUtf8, int size, const std::vector<Glyph>& glyphs) {
  Bitmap want(800, 600);
  GlyphRenderer r;
  r.SetFont(Utf8ToSjis(faceUtf8), 22, false);
  for (const Glyph& g : glyphs) {
    r.RenderLarge(Utf8ToSjis(g.utf8), size);
    r.DrawLarge(want, g.x, g.y);
  }
  return want;
}

TEST(SlideRollTest, LeftAlignedLineStartsOnePitchIn) {
  GameFixture g;
  Ready(g, "@DARK 255\n@GRA S000,0\n<ABC\n@MOJ 0\n@END\n");
  Play(g);
  const Bitmap want = ExpectedPage("ＭＳ ゴシック", 20, {{"A", 216, 100}, {"B", 232, 100}, {"C", 248, 100}});
  EXPECT_TRUE(g.Host().Window().pixels == want.pixels);
  int inked = 0;
  for (int y = 100; y < 164; ++y) inked += want.At(220, y)[0] != 0 || want.At(226, y)[0] != 0;
  EXPECT_GT(inked, 3);
}

TEST(SlideRollTest, LinesAreAlignedByTheirBytesInTheTextArea) {
  GameFixture g;
  Ready(g,
        "@DARK 255\n@GRA S000,0\n消える行\n{\n\n>XY\nあいう\n}\n@WIN 100,300,500,100\n@SIZE 30,20,50\n"
        "@MOJ 0\n@END\n");
  Play(g);
  // ">XY": offset 500 − 2 × 20 = 460; "あいう" (six bytes): (500 − 120) / 2 = 190, characters at
  // bytes 1, 3 and 5; the empty first line keeps its place.
  const Bitmap want = ExpectedPage("ＭＳ ゴシック", 30,
                                   {{"X", 100 + 20 + 460, 350},
                                    {"Y", 100 + 40 + 460, 350},
                                    {"あ", 100 + 20 + 190, 400},
                                    {"い", 100 + 60 + 190, 400},
                                    {"う", 100 + 100 + 190, 400}});
  EXPECT_TRUE(g.Host().Window().pixels == want.pixels);
}

TEST(SlideRollTest, FontSwitchesForTheRollAndComesBack) {
  GameFixture g;
  Ready(g, "@FONT 1\n@FONT 7\n@DARK 255\n@GRA S000,0\n<あ\n@MOJ 0\n@END\n");
  Play(g);
  const Bitmap mincho = ExpectedPage("ＭＳ Ｐ明朝", 20, {{"あ", 216, 100}});
  const Bitmap gothic = ExpectedPage("ＭＳ ゴシック", 20, {{"あ", 216, 100}});
  ASSERT_FALSE(mincho.pixels == gothic.pixels);
  EXPECT_TRUE(g.Host().Window().pixels == mincho.pixels);
  // The story's glyphs are in the configured face again.
  Bitmap after(800, 600);
  g.Engine().RenderLargeGlyph(Utf8ToSjis("あ"), 20);
  g.Engine().DrawLargeGlyph(after, 216, 100);
  EXPECT_TRUE(after.pixels == gothic.pixels);
}

TEST(SlideRollTest, GothicFontNumberTwo) {
  GameFixture g;
  Ready(g, "@FONT 2\n@DARK 255\n@GRA S000,0\n<あ\n@MOJ 0\n@END\n");
  Play(g);
  EXPECT_TRUE(g.Host().Window().pixels == ExpectedPage("ＭＳ Ｐゴシック", 20, {{"あ", 216, 100}}).pixels);
}

// After a roll ended in the middle of a fade, the fade's speed is kept for the next slide roll,
// but the timer's fade step stays out of a page roll: its fades are on the window unspoiled.
TEST(SlideRollTest, FadeLeftRunningNeverTouchesAPageRoll) {
  GameFixture g;
  g.Script("staff", "@GRA AROLL1,0\n@GRA AROLL2,1\n");
  const uint32_t t0 = Ready(g, "@DARK 255\n@GRA AWHITE,0\n@MOJ 50\n@WAIT 100\n@END\n");
  InputPlan plan(g);
  plan.Click(t0 + 200);
  std::vector<size_t> shots;
  for (uint32_t k = 1; k < 9; ++k) shots.push_back(plan.Shot(t0 + 200 + 30 * k));
  plan.Apply();
  Play(g);
  ASSERT_EQ(g.Host().TickCount() - t0, 200u);
  EXPECT_EQ(g.Engine().CmdRoll("staff"), 1);
  EXPECT_EQ(g.Engine().staffRoll.fadeSpeed, 50);
  for (uint32_t k = 1; k < 9; ++k) {
    SCOPED_TRACE(k);
    const int a = 16 * static_cast<int>(k + 1);
    const Bgr want{(200 * a + 10 * (256 - a)) >> 8, (100 * a + 20 * (256 - a)) >> 8, (50 * a + 30 * (256 - a)) >> 8};
    EXPECT_EQ(Px(plan.Picture(shots[k - 1]), 400, 300), want);
  }
  EXPECT_EQ(Px(g.Host().Window(), 400, 300), (Bgr{200, 100, 50}));
}

TEST(SlideRollTest, CloseQuestionSeesTheRollAndCancelLetsItGoOn) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@DARK 255\n@WAIT 10\n@GRA ATWO,0\n@END\n");
  std::string seen;
  g.Host().onMessage = [&](const HeadlessHost::Message&) {
    seen = g.Engine().DescribeState();
    EXPECT_TRUE(g.Engine().ctl.menuLock);
    EXPECT_EQ(g.Engine().ctl.screenMode, smStaffRoll);
  };
  InputPlan plan(g);
  plan.Close(t0 + 300, false);
  plan.Apply();
  Play(g);
  EXPECT_NE(seen.find("\"staffRoll\":{\"kind\":\"slide\",\"paused\":true,\"aborted\":false,\"darkness\":255"),
            std::string::npos)
      << seen;
  EXPECT_NE(seen.find("\"waited\":10}"), std::string::npos);
  EXPECT_EQ(g.Host().TickCount() - t0, 1000u);
  EXPECT_EQ(Px(g.Host().Window(), 5, 5), kTwo);
}

// A window whose repaint lets a timer tick in, as a desktop's message loop may: the tick's fade
// step must not start again inside the one that is painting.
class ReentrantHost : public HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  void Present(const Bitmap& picture, const Rect& area) override {
    if (engine && engine->staffRoll.fadeStepping) {
      ++depth;
      ++stepsPainting;
      deepest = std::max(deepest, depth);
      if (depth < 4) engine->StaffRollTick();
      --depth;
    }
    HeadlessHost::Present(picture, area);
  }
  TForm1* engine = nullptr;
  int depth = 0;
  int deepest = 0;
  int stepsPainting = 0;
};

TEST(SlideRollTest, FadeStepIsNeverEnteredTwice) {
  ReentrantHost host(std::filesystem::path(::testing::TempDir()) / "torvel-reentrant");
  TForm1 e(host, EngineOptions{});
  host.Attach(&e);
  host.engine = &e;
  e.CreateScreenBuffers();
  std::string roll = "@DARK 255\n@GRA S000,2\n";
  std::replace(roll.begin(), roll.end(), '\n', '\0');
  e.RunSlideRoll(roll);
  // Steps every 20 ms until 256 × 2 ms have passed; each painted once, none inside another.
  EXPECT_GT(host.stepsPainting, 20);
  EXPECT_EQ(host.deepest, 1);
  EXPECT_FALSE(e.staffRoll.fadeStepping);
  EXPECT_EQ(e.staffRoll.fadeSpeed, 0);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
}

TEST(SlideRollTest, QuittingEndsTheRoll) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@DARK 255\n@WAIT 10\n@GRA ATWO,0\n@END\n");
  InputPlan plan(g);
  plan.Close(t0 + 300, true);
  plan.Apply();
  Play(g);
  g.Host().RunFrame();
  EXPECT_TRUE(g.Host().Closed());
  EXPECT_EQ(g.Host().TickCount() - t0, 300u);
  EXPECT_NE(Px(g.Host().Window(), 5, 5), kTwo);
}

}  // namespace
}  // namespace torvel
