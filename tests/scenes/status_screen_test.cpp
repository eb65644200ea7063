// The status screen (opened here through its hook, which the quick button calls), its reveal
// frame by frame against the row formulas worked in the test, the click that closes it, the day
// panel in the story's picture, and `chgprm`.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene_shots_support.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::InputPlan;
using testing::OpaqueStacked;
using testing::Packed;
using testing::Px;
using testing::Solid;

constexpr Bgr kBase{30, 40, 50};
constexpr Bgr kToday{0, 0, 255};
constexpr Bgr kGauge{0, 255, 0};
constexpr Bgr kPanel{70, 80, 90};
constexpr Bgr kStory{5, 6, 7};

Bgr Rank(int r) { return Bgr{r * 40, 100, 200}; }
Bgr Winner(int w) { return Bgr{200, w * 20, 10}; }

void Copy(Bitmap& dst, Bgr c, int x, int y, int w, int h) {
  for (int yy = y; yy < y + h; ++yy) {
    for (int xx = x; xx < x + w; ++xx) {
      uint8_t* p = dst.At(xx, yy);
      p[0] = static_cast<uint8_t>(c[0]);
      p[1] = static_cast<uint8_t>(c[1]);
      p[2] = static_cast<uint8_t>(c[2]);
    }
  }
}

GameFixture& StatusGame(GameFixture& g, const std::string& main = "\\w\n") {
  g.Entry("tq_gra.tvx", "ST_BASE", testing::PackedOnce("base", [] { return Solid(800, 600, kBase); }))
      .Entry("tq_gra.tvx", "ST_TODAY", Packed(Solid(24, 20, kToday)))
      .Entry("tq_gra.tvx", "ST_GAGE", Packed(Solid(12, 16, kGauge)))
      .Script("main", main);
  for (int w = 1; w <= 10; ++w) {
    char name[16];
    std::snprintf(name, sizeof name, "ST_WNR%02d", w);
    g.Entry("tq_gra.tvx", name, Packed(Solid(40, 20, Winner(w))));
  }
  for (int r = 1; r <= 4; ++r)
    g.Entry("tq_gra.tvx", "ST_RANK" + std::to_string(r), Packed(OpaqueStacked(104, 50, Rank(r))));
  return g;
}

// Each row of the old picture tells its own number: blue and green hold it, red is 99.
Bitmap NumberedRows() {
  Bitmap b(800, 600);
  for (int y = 0; y < 600; ++y) Copy(b, Bgr{y & 255, y >> 8, 99}, 0, y, 800, 1);
  return b;
}

struct StatusCase {
  std::string name;
  int day;
  int chapter;
  int gauge;
  std::vector<std::pair<int, int>> winners;  // match, winner
  // What the test expects drawn, worked from the layout: the today mark's corner, the winners'
  // days and pictures, the marks of the gauge and the rank.
  std::vector<std::pair<int, int>> today;
  std::vector<std::pair<int, int>> drawnWinners;  // day, winner
  int marks;
  int rank;
};

Bitmap Expected(const StatusCase& c) {
  Bitmap want = Solid(800, 600, kBase);
  if (c.rank != 0) {
    const Bgr r = Rank(c.rank);
    Copy(want, Bgr{r[0] * 255 >> 8, r[1] * 255 >> 8, r[2] * 255 >> 8}, 410, 184, 104, 50);
  }
  for (auto [x, y] : c.today) Copy(want, kToday, x, y, 24, 20);
  for (auto [d, w] : c.drawnWinners) Copy(want, Winner(w), 246 + 368 * ((d - 1) / 8), 374 + 24 * ((d - 1) % 8), 40, 20);
  for (int i = 0; i < c.marks; ++i) Copy(want, kGauge, 318 + 14 * i, 268, 12, 16);
  return want;
}

class StatusScreenTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusScreenTest, ScreenShowsRankWinnersTodayAndGauge) {
  const StatusCase& c = GetParam();
  GameFixture g;
  StatusGame(g);
  TForm1& e = g.Start();
  g.RunToWait();
  e.vars.V(1) = c.day;
  e.vars.V(100) = c.chapter;
  e.vars.V(111) = c.gauge;
  for (auto [m, w] : c.winners) e.vars.V(299 + m) = w;
  e.OpenStatusScreen();
  const Bitmap want = Expected(c);
  EXPECT_TRUE(e.layers.screen.pixels == want.pixels);
  EXPECT_TRUE(g.Host().Window().pixels == want.pixels);
  EXPECT_EQ(e.ctl.screenMode, smTitleScreen);
  EXPECT_TRUE(e.ctl.menuLock);
  EXPECT_FALSE(e.ctl.blockingScene);
  EXPECT_EQ(e.vars.V(1), c.day);
  EXPECT_EQ(e.vars.V(100), c.chapter);
}

std::vector<std::pair<int, int>> AllWinners() {
  std::vector<std::pair<int, int>> w;
  for (int m = 1; m <= 9; ++m) w.emplace_back(m, m);
  return w;
}

INSTANTIATE_TEST_SUITE_P(
    Days, StatusScreenTest,
    ::testing::Values(
        // Day 12: the matches of days 1, 2, 4, 5, 7, 8 and 10; today in the second column's fourth
        // row; a gauge of 45 draws 30 marks; chapter 0 shows rank 1.
        StatusCase{"DayTwelve",
                   12,
                   0,
                   45,
                   AllWinners(),
                   {{34 + 368, 374 + 24 * 3}},
                   {{1, 1}, {2, 2}, {4, 3}, {5, 4}, {7, 5}, {8, 6}, {10, 7}},
                   30,
                   1},
        // Day 0 reads as day 1: today in the first row, no earlier day.
        StatusCase{"DayZero", 0, 2, 3, AllWinners(), {{34, 374}}, {}, 3, 2},
        // Days past the table have no match; the today mark of day 25 would be off the screen.
        StatusCase{"DayTwentyFive",
                   25,
                   4,
                   0,
                   AllWinners(),
                   {},
                   {{1, 1}, {2, 2}, {4, 3}, {5, 4}, {7, 5}, {8, 6}, {10, 7}, {12, 8}, {13, 9}},
                   0,
                   4},
        StatusCase{"HugeDay",
                   2000000000,
                   5,
                   -4,
                   AllWinners(),
                   {},
                   {{1, 1}, {2, 2}, {4, 3}, {5, 4}, {7, 5}, {8, 6}, {10, 7}, {12, 8}, {13, 9}},
                   0,
                   0},
        StatusCase{"NegativeDay", -3, 3, 1, AllWinners(), {}, {}, 1, 3},
        // Winners without a picture (0 or past 10) draw nothing.
        StatusCase{
            "MissingWinners", 6, 1, 30, {{1, 0}, {2, 11}, {3, 10}, {4, -1}}, {{34, 374 + 24 * 5}}, {{4, 10}}, 30, 1}),
    [](const ::testing::TestParamInfo<StatusCase>& info) { return info.param.name; });

// The reveal: at step f the top rows take new row (j × ⌊153600 / f⌋) / 256 while that product is
// below 153600, and the k-th row below them old row (k × ⌊153600 / (600 − f)⌋) / 256; f = 32, 64,
// … one step per 10 ms.
TEST(StatusScreenRevealTest, NewPictureGrowsDownWhileTheOldOneIsSqueezed) {
  GameFixture g;
  StatusGame(g);
  TForm1& e = g.Start();
  g.RunToWait();
  const Bitmap old = NumberedRows();
  e.layers.screen = old;
  e.vars.V(1) = 3;
  e.vars.V(111) = 2;
  StatusCase c{"", 3, 0, 2, {}, {{34, 374 + 48}}, {}, 2, 1};
  const Bitmap shown = Expected(c);
  const uint32_t t0 = g.Host().TickCount();
  InputPlan plan(g);
  const std::vector<int> frames = {0, 1, 5, 9, 13, 17};  // f = 32 (k + 1): 32 … 576
  std::vector<size_t> shots;
  for (int k : frames) shots.push_back(plan.Shot(t0 + 10 * static_cast<uint32_t>(k)));
  plan.Apply();
  e.OpenStatusScreen();
  EXPECT_EQ(g.Host().TickCount() - t0, 180u);
  for (size_t i = 0; i < frames.size(); ++i) {
    const int k = frames[i];
    SCOPED_TRACE(k);
    const int f = 32 * (k + 1);
    const Bitmap frame = plan.Picture(shots[i]);
    const int upper = 153600 / f;
    const int lower = 153600 / (600 - f);
    int row = 0;
    for (; row * upper < 153600; ++row)
      ASSERT_TRUE(std::equal(frame.Row(row), frame.Row(row) + 2400, shown.Row(row * upper / 256))) << row;
    EXPECT_GE(row, f);
    for (int j = 0; row < 600; ++row, ++j) {
      ASSERT_TRUE(std::equal(frame.Row(row), frame.Row(row) + 2400, old.Row(j * lower / 256))) << row;
    }
  }
  EXPECT_TRUE(g.Host().Window().pixels == shown.pixels);
}

TEST(StatusScreenRevealTest, AnyClickPutsThePictureBack) {
  for (MouseButton button : {MouseButton::Left, MouseButton::Right}) {
    GameFixture g;
    StatusGame(g);
    TForm1& e = g.Start();
    g.RunToWait();
    e.layers.screen = Solid(800, 600, kStory);
    e.OpenStatusScreen();
    EXPECT_TRUE(e.WaitsForPlayer());
    e.PBMouseDown(button, ShiftState{}, 100, 100);
    EXPECT_EQ(e.ctl.screenMode, smScenario);
    EXPECT_FALSE(e.ctl.menuLock);
    EXPECT_TRUE(e.layers.screen.pixels == Solid(800, 600, kStory).pixels);
    EXPECT_TRUE(g.Host().Window().pixels == Solid(800, 600, kStory).pixels);
    EXPECT_TRUE(e.statusScreen.kept.Empty());
  }
}

TEST(StatusScreenRevealTest, OpensOnlyOverTheStory) {
  GameFixture g;
  StatusGame(g);
  TForm1& e = g.Start();
  g.RunToWait();
  e.ctl.screenMode = smStaffRoll;
  e.OpenStatusScreen();
  EXPECT_EQ(e.ctl.screenMode, smStaffRoll);
  EXPECT_FALSE(e.ctl.menuLock);
}

struct PanelCase {
  std::string name;
  std::string setup;
  bool shown;
};

class DayPanelTest : public ::testing::TestWithParam<PanelCase> {};

// "day%02d" of S110, drawn masked at (15, 15) after each composition while S004 asks for it.
TEST_P(DayPanelTest, PanelFollowsS004AndS110) {
  GameFixture g;
  StatusGame(g, GetParam().setup + "@gra AB01\n\\w\n")
      .Entry("tq_gra.tvx", "AB01", testing::PackedOnce("story", [] { return Solid(800, 600, kStory); }))
      .Entry("tq_gra.tvx", "DAY03", Packed(OpaqueStacked(64, 32, kPanel)))
      .Entry("tq_gra.tvx", "DAY12", Packed(OpaqueStacked(64, 32, Bgr{1, 2, 250})));
  g.Start();
  g.RunToWait();
  const Bitmap& w = g.Host().Window();
  const Bgr panel{kPanel[0] * 255 >> 8, kPanel[1] * 255 >> 8, kPanel[2] * 255 >> 8};
  EXPECT_EQ(Px(w, 15, 15), GetParam().shown ? panel : kStory);
  EXPECT_EQ(Px(w, 78, 46), GetParam().shown ? panel : kStory);
  EXPECT_EQ(Px(w, 79, 47), kStory);
  EXPECT_EQ(Px(w, 14, 14), kStory);
}

INSTANTIATE_TEST_SUITE_P(Cases, DayPanelTest,
                         ::testing::Values(PanelCase{"Shown", "!S004=1;S110=3\n", true},
                                           PanelCase{"Off", "!S110=3\n", false},
                                           PanelCase{"FullScreenText", "!S004=1;S110=3;S160=1\n", false},
                                           PanelCase{"NoPicture", "!S004=1;S110=4\n", false}),
                         [](const ::testing::TestParamInfo<PanelCase>& info) { return info.param.name; });

TEST(DayPanelTest, NewDayLoadsItsPanel) {
  GameFixture g;
  StatusGame(g, "!S004=1;S110=3\n@gra AB01\n\\one\n!S110=12\n@gra AB01\n\\two\n")
      .Entry("tq_gra.tvx", "AB01", testing::PackedOnce("story", [] { return Solid(800, 600, kStory); }))
      .Entry("tq_gra.tvx", "DAY03", Packed(OpaqueStacked(64, 32, kPanel)))
      .Entry("tq_gra.tvx", "DAY12", Packed(OpaqueStacked(64, 32, Bgr{1, 2, 250})));
  g.Start();
  g.RunToWait();
  g.Click();
  g.RunToWait();
  EXPECT_EQ(Px(g.Host().Window(), 20, 20), (Bgr{0, 1, 249}));
}

// A replay of the CG viewer or the recollection mode shows its scenes without the panel.
TEST(DayPanelTest, ReplaysShowNoPanel) {
  for (int replay : {1, 2}) {
    SCOPED_TRACE(replay);
    GameFixture g;
    StatusGame(g, "!S004=1;S110=3\n\\one\n@gra AB01\n\\two\n")
        .Entry("tq_gra.tvx", "AB01", testing::PackedOnce("story", [] { return Solid(800, 600, kStory); }))
        .Entry("tq_gra.tvx", "DAY03", Packed(OpaqueStacked(64, 32, kPanel)));
    TForm1& e = g.Start();
    g.RunToWait();
    e.script.replayMode = replay;
    g.Click();
    g.RunToWait();
    ASSERT_EQ(e.script.lineBuffer, "\\two");
    EXPECT_EQ(Px(g.Host().Window(), 15, 15), kStory);
    EXPECT_EQ(Px(g.Host().Window(), 40, 30), kStory);
  }
}

TEST(ChgprmTest, ShowsTheScreenBuffer) {
  GameFixture g;
  // A wait that keeps the page: nothing composes the screen buffer again before the command.
  StatusGame(g, "=one\n@chgprm\n\\two\n");
  TForm1& e = g.Start();
  g.RunToWait();
  e.layers.screen = Solid(800, 600, Bgr{9, 99, 199});
  EXPECT_NE(Px(g.Host().Window(), 1, 1), (Bgr{9, 99, 199}));
  g.Click();
  g.RunToWait();
  EXPECT_EQ(Px(g.Host().Window(), 1, 1), (Bgr{9, 99, 199}));
  EXPECT_EQ(e.script.lineBuffer, "\\two");
}

}  // namespace
}  // namespace torvel
