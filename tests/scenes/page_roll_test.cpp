// The page roll through the headless host: its clock (RESET, HOOK, WAIT) on the virtual clock,
// the picture fades checked frame by frame against the blend worked in the test, the text blocks
// laid out by their measured width, the rectangle and its clipping, and the close request that
// pauses and ends it while clicks leave it alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/small_text.h"
#include "resources/sjis.h"
#include "scene_shots_support.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::InputPlan;
using testing::Packed;
using testing::Px;
using testing::Solid;

constexpr Bgr kFirst{10, 20, 30};
constexpr Bgr kSecond{200, 100, 50};

// A game whose story waits once, then plays the roll "staff" and waits again. Returns the time
// on the clock at the first wait.
uint32_t Ready(GameFixture& g, const std::string& roll, const std::string& main = "\\start\n@roll staff\n\\done\n") {
  g.Entry("tq_gra.tvx", "AROLL1", testing::PackedOnce("first", [] { return Solid(800, 600, kFirst); }))
      .Entry("tq_gra.tvx", "AROLL2", testing::PackedOnce("second", [] { return Solid(800, 600, kSecond); }))
      .Script("main", main)
      .Script("staff", roll);
  g.Start();
  g.RunToWait();
  return g.Host().TickCount();
}

// Runs the command as the interpreter would, so that the clock shows the roll's own time.
void Play(GameFixture& g, std::string_view name = "staff") { EXPECT_EQ(g.Engine().CmdRoll(name), 1); }

uint8_t Mix(int to, int from, int a) { return static_cast<uint8_t>((to * a + from * (256 - a)) >> 8); }

Bgr Mixed(Bgr to, Bgr from, int a) {
  return Bgr{Mix(to[0], from[0], a), Mix(to[1], from[1], a), Mix(to[2], from[2], a)};
}

struct ClockCase {
  std::string name;
  std::string roll;
  uint32_t lasts;
};

class PageRollClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(PageRollClockTest, RollTakesItsTime) {
  GameFixture g;
  const uint32_t t0 = Ready(g, GetParam().roll);
  Play(g);
  EXPECT_EQ(g.Host().TickCount() - t0, GetParam().lasts);
  EXPECT_EQ(g.Engine().ctl.screenMode, smScenario);
}

INSTANTIATE_TEST_SUITE_P(Waits, PageRollClockTest,
                         ::testing::Values(
                             // PUT 1 fades for about a second; the WAIT still ends 3 s after the RESET.
                             ClockCase{"ResetPutWait", "@GRA AROLL1,0\n@RESET\nスタッフ\n@PUT 1\n@WAIT 30\n", 3000},
                             // No RESET, HOOK or WAIT before: the clock base is unset and the wait ends at once.
                             ClockCase{"WaitBeforeAnyClockEndsAtOnce", "@WAIT 30\n", 0},
                             ClockCase{"WaitAfterAFadeWithoutClockEndsAtOnce", "@GRA AROLL1,1\n@WAIT 30\n", 450},
                             // Each WAIT sets the base again when it ends.
                             ClockCase{"HookThenTwoWaits", "@HOOK\n@WAIT 5\n@WAIT 5\n", 1000},
                             ClockCase{"FadeLongerThanTheWait", "@RESET\n@GRA AROLL1,2\n@WAIT 5\n", 930},
                             ClockCase{"NegativeWait", "@RESET\n@WAIT -5\n", 0},
                             // Keywords are upper-cased; they end at a tab, a blank or a carriage return.
                             ClockCase{"LowerCaseKeywords", "@reset\n@wait 3\n", 300},
                             ClockCase{"StarTabAndReturn", "*RESET\tx\n*WAIT\t2\n@WAIT\r\n", 200},
                             // Longer words are cut to ten bytes and match nothing.
                             ClockCase{"UnknownKeywordsAreIgnored", "@RESETCLOCKNOW\n@WAIT 3\n@JUMP 4\n", 0}),
                         [](const ::testing::TestParamInfo<ClockCase>& info) { return info.param.name; });

TEST(PageRollTest, MissingScriptReturnsAtOnce) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@RESET\n@WAIT 10\n");
  Play(g, "nothing");
  EXPECT_EQ(g.Host().TickCount() - t0, 0u);
  EXPECT_EQ(g.Engine().ctl.screenMode, smScenario);
}

// From the story: the command stops auto mode, the roll plays and the story goes on.
TEST(PageRollTest, MusicStopsAutoModeAndLeavesTheMenusAsTheyWere) {
  GameFixture g;
  Ready(g, "@MUSIC 7\n");
  g.Engine().vars.S(26) = 5;
  const int refreshes = g.Host().MenuRefreshes();
  g.Click();
  g.RunToWait();
  EXPECT_EQ(g.Engine().script.lineBuffer, "\\done");
  EXPECT_EQ(g.Engine().vars.S(3), 7);
  EXPECT_EQ(g.Engine().vars.S(26), 0);
  EXPECT_FALSE(g.Engine().ctl.menuLock);
  EXPECT_GE(g.Host().MenuRefreshes(), refreshes + 2);
}

// GRA fades the screen to the picture: frame k shows a = step × (k + 1) and is on the window when
// the clock reaches 30 k. Timer ticks fall between the frames and must not paint over them.
TEST(PageRollTest, PictureFadesInSixteenthsAndEighthsPer30ms) {
  struct Case {
    int mode;
    int step;
    std::vector<int> frames;  // mode 1: every frame, so that the timer's ticks fall among them
  };
  for (const Case& c : {Case{1, 16, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}}, Case{2, 8, {1, 2, 17, 30}}}) {
    SCOPED_TRACE(c.mode);
    const int frames = 256 / c.step - 1;
    GameFixture g;
    const uint32_t t0 = Ready(g, "@GRA AROLL1,0\n@GRA AROLL2," + std::to_string(c.mode) + "\n");
    InputPlan plan(g);
    std::vector<size_t> shots;
    for (int k : c.frames) shots.push_back(plan.Shot(t0 + 30 * static_cast<uint32_t>(k)));
    plan.Apply();
    Play(g);
    for (size_t i = 0; i < c.frames.size(); ++i) {
      const int k = c.frames[i];
      SCOPED_TRACE(k);
      const Bitmap shot = plan.Picture(shots[i]);
      const Bgr want = Mixed(kSecond, kFirst, c.step * (k + 1));
      EXPECT_EQ(Px(shot, 0, 0), want);
      EXPECT_EQ(Px(shot, 799, 599), want);
    }
    EXPECT_EQ(g.Host().TickCount() - t0, 30u * static_cast<uint32_t>(frames));
    EXPECT_EQ(Px(g.Host().Window(), 400, 300), kSecond);
    EXPECT_EQ(Px(g.Engine().layers.screen, 400, 300), kSecond);
  }
}

TEST(PageRollTest, OtherModesShowThePictureAtOnce) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@GRA AROLL1,0\n@GRA aroll2,3\n");
  Play(g);
  EXPECT_EQ(g.Host().TickCount() - t0, 0u);
  EXPECT_EQ(Px(g.Host().Window(), 1, 1), kSecond);
}

// The expected screen after PUT 0: the background with each line black two pixels right and down,
// then white, in "ＭＳ 明朝" of 32 pixels, placed as the rectangle and alignment ask.
struct Layout {
  int x1 = 200, y1 = 200, x2 = 600, y2 = 600;
  bool centreVertically = true;
  int alignment = 1;
};

Bitmap ExpectedPage(const std::vector<std::string>& lines, const Layout& l) {
  Bitmap want = Solid(800, 600, kFirst);
  if (l.x2 <= l.x1 || l.y2 <= l.y1) return want;
  // The part of the rectangle on the screen, and where the rectangle's corner lies from it.
  const int left = std::max(l.x1, 0), top = std::max(l.y1, 0);
  const int right = std::min(l.x2, 800), bottom = std::min(l.y2, 600);
  if (right <= left || bottom <= top) return want;
  Bitmap inside = Solid(right - left, bottom - top, kFirst);
  const int dx = l.x1 - left, dy = l.y1 - top;
  GlyphSource source;
  const TextStyle style{Utf8ToSjis("ＭＳ 明朝"), 32, 0xFFFFFF, false, 2};
  const int width = l.x2 - l.x1;
  const int height = l.y2 - l.y1;
  const int first = l.centreVertically ? (height - static_cast<int>(lines.size()) * 32) / 2 : 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string line = Utf8ToSjis(lines[i]);
    if (line.empty()) continue;
    const int w = MeasureTextLine(source, line, style);
    const int x = l.alignment == 0 ? 0 : l.alignment == 2 ? width - w : (width - w) / 2;
    DrawTextLine(source, inside, line, dx + x, dy + first + static_cast<int>(i) * 32, style);
  }
  for (int y = 0; y < inside.height; ++y) std::copy_n(inside.Row(y), inside.width * 3, want.At(left, top + y));
  return want;
}

struct TextCase {
  std::string name;
  std::string commands;  // between the background and PUT 0
  std::vector<std::string> lines;
  Layout layout;
};

class PageRollTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(PageRollTextTest, BlockIsDrawnByItsMeasuredWidth) {
  const TextCase& c = GetParam();
  std::string roll = "@GRA AROLL1,0\n" + c.commands;
  for (const std::string& line : c.lines) roll += line + "\n";
  roll += "@PUT 0\n";
  GameFixture g;
  Ready(g, roll);
  Play(g);
  const Bitmap want = ExpectedPage(c.lines, c.layout);
  EXPECT_TRUE(g.Engine().layers.screen.pixels == want.pixels);
  EXPECT_TRUE(g.Host().Window().pixels == want.pixels);
  // Something was written: the white text is on the picture (an opaque glyph pixel is 254).
  int white = 0;
  for (size_t i = 0; i + 2 < want.pixels.size(); i += 3) white += want.pixels[i] >= 250 && want.pixels[i + 2] >= 250;
  EXPECT_GT(white, 30);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, PageRollTextTest,
    ::testing::Values(
        TextCase{"CentredInTheDefaultRectangle", "", {"制作", "監督　山田 Taro"}, Layout{}},
        TextCase{
            "RightWithoutVerticalCentring", "@CENTER r\n", {"音楽", "Sound 1"}, Layout{200, 200, 600, 600, false, 2}},
        TextCase{"LeftAtTheTop", "@CENTER\n", {"左"}, Layout{200, 200, 600, 600, false, 0}},
        TextCase{"CentreFlagsInAnyCase", "@CENTER Xy\n", {"中央"}, Layout{}},
        TextCase{"OwnRectangle", "@WIN 100,50,300,150\n", {"小さな枠"}, Layout{100, 50, 300, 150}},
        // Only the part on the screen is drawn; the layout still uses the whole rectangle.
        TextCase{
            "RectanglePastTheScreen", "@WIN 700,500,1100,700\n", {"はみ出す文字列です"}, Layout{700, 500, 1100, 700}},
        TextCase{"RectangleBeforeTheScreen",
                 "@WIN -300,-20,200,100\n@CENTER ry\n",
                 {"左上にはみ出す"},
                 Layout{-300, -20, 200, 100, true, 2}},
        // An empty line takes its place in the block.
        TextCase{"EmptyLinesCount", "", {"上", "", "下"}, Layout{}}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; });

TEST(PageRollTest, FirstTextLineAfterACommandStartsANewBlock) {
  GameFixture g;
  Ready(g, "@GRA AROLL1,0\n旧い行\n@PUT 0\n@MUSIC 0\n新しい行\n@PUT 0\n");
  Play(g);
  EXPECT_TRUE(g.Engine().layers.screen.pixels == ExpectedPage({"新しい行"}, Layout{}).pixels);
}

TEST(PageRollTest, EmptyRectanglesDrawNothing) {
  for (const std::string win : {"@WIN 300,300,300,400\n", "@WIN 500,500,100,100\n", "@WIN 900,700,1000,800\n"}) {
    SCOPED_TRACE(win);
    GameFixture g;
    Ready(g, "@GRA AROLL1,0\n" + win + "文字\n@PUT 0\n@PUT 1\n@ERA 1\n");
    Play(g);
    EXPECT_TRUE(g.Engine().layers.screen.pixels == Solid(800, 600, kFirst).pixels);
    EXPECT_TRUE(g.Host().Window().pixels == Solid(800, 600, kFirst).pixels);
  }
}

// PUT 1 fades the rectangle from the screen to the text picture and ERA 1 back to the background,
// both 8/256 per 30 ms; the rest of the window stays as it was.
TEST(PageRollTest, PutAndEraseFadeTheRectangleInEighths) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@GRA AROLL2,0\n@GRA AROLL1,0\n@RESET\n制作\n@PUT 1\n@WAIT 10\n@ERA 1\n@GRA AROLL2,0\n");
  InputPlan plan(g);
  const size_t put = plan.Shot(t0 + 30 * 3);
  const size_t era = plan.Shot(t0 + 1000 + 30 * 5);
  plan.Apply();
  Play(g);
  const Bitmap text = ExpectedPage({"制作"}, Layout{});
  const Bitmap back = Solid(800, 600, kFirst);
  const Bitmap putShot = plan.Picture(put);
  const Bitmap eraShot = plan.Picture(era);
  int inked = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      for (int c = 0; c < 3; ++c) {
        const uint8_t t = text.At(x, y)[c];
        const uint8_t b = back.At(x, y)[c];
        ASSERT_EQ(putShot.At(x, y)[c], Mix(t, b, 8 * 4)) << x << "," << y;
        ASSERT_EQ(eraShot.At(x, y)[c], Mix(b, t, 8 * 6)) << x << "," << y;
      }
      inked += text.At(x, y)[0] != back.At(x, y)[0];
    }
  }
  EXPECT_GT(inked, 50);
  EXPECT_EQ(Px(g.Host().Window(), 400, 400), kSecond);
}

TEST(PageRollTest, EraseZeroPutsTheWholeBackgroundBack) {
  GameFixture g;
  Ready(g, "@GRA AROLL1,0\n文字\n@PUT 0\n@ERA 0\n");
  Play(g);
  EXPECT_TRUE(g.Engine().layers.screen.pixels == Solid(800, 600, kFirst).pixels);
  EXPECT_TRUE(g.Host().Window().pixels == Solid(800, 600, kFirst).pixels);
}

TEST(PageRollTest, ClicksDoNothing) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@RESET\n@WAIT 10\n@GRA AROLL2,0\n");
  InputPlan plan(g);
  plan.Click(t0 + 300);
  plan.Click(t0 + 500, 10, 10, MouseButton::Right);
  plan.Apply();
  Play(g);
  EXPECT_EQ(g.Host().TickCount() - t0, 1000u);
  EXPECT_EQ(Px(g.Host().Window(), 5, 5), kSecond);
  EXPECT_FALSE(g.Engine().staffRoll.aborted);
}

// The quit question pauses the roll while it is open; Cancel lets it go on.
TEST(PageRollTest, CloseQuestionPausesTheRollAndCancelResumesIt) {
  GameFixture g;
  const uint32_t t0 = Ready(g, "@RESET\n@WAIT 10\n@GRA AROLL2,0\n");
  std::vector<std::string> seen;
  g.Host().onMessage = [&](const HeadlessHost::Message&) {
    seen.push_back(g.Engine().DescribeState());
    EXPECT_TRUE(g.Engine().staffRoll.paused);
  };
  InputPlan plan(g);
  plan.Close(t0 + 300, false);
  plan.Apply();
  Play(g);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].find("\"staffRoll\":{\"kind\":\"page\",\"paused\":true,\"aborted\":false"), std::string::npos)
      << seen[0];
  EXPECT_FALSE(g.Engine().staffRoll.paused);
  EXPECT_FALSE(g.Host().Closed());
  EXPECT_EQ(g.Host().TickCount() - t0, 1000u);
  EXPECT_EQ(Px(g.Host().Window(), 5, 5), kSecond);
  EXPECT_NE(g.Engine().DescribeState().find("\"staffRoll\":{\"kind\":\"\",\"paused\":false"), std::string::npos);
}

// OK ends the roll at its next line or fade step (a fade notices it once its frame is over), and
// the window closes once the frame is over.
TEST(PageRollTest, QuittingEndsTheRollInAWaitOrAFade) {
  struct Case {
    std::string roll;
    uint32_t endsAt;
  };
  for (const Case& c : {Case{"@RESET\n@WAIT 100\n@GRA AROLL2,0\n", 300}, Case{"@GRA AROLL2,2\n@GRA AROLL2,0\n", 330}}) {
    SCOPED_TRACE(c.roll);
    GameFixture g;
    const uint32_t t0 = Ready(g, "@GRA AROLL1,0\n" + c.roll);
    InputPlan plan(g);
    plan.Close(t0 + 300, true);
    plan.Apply();
    Play(g);
    EXPECT_EQ(g.Host().TickCount() - t0, c.endsAt);
    g.Host().RunFrame();
    EXPECT_TRUE(g.Host().Closed());
    // The line after the one that was running never ran.
    EXPECT_NE(Px(g.Host().Window(), 5, 5), kSecond);
    EXPECT_TRUE(g.Engine().staffRoll.aborted);
  }
}

}  // namespace
}  // namespace torvel
