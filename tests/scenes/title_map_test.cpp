// The destination map through the headless host: the areas read from the hit map's colours, the
// lists opened by clicks, the rows hovered into S115 and S116, the right button's steps back, the
// confirmation that sets the F flags and lets the script go on, and the pictures on the window at
// each step, worked from the mask and blend rules in the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/sjis.h"
#include "scene_shots_support.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::InputPlan;
using testing::OpaqueStacked;
using testing::Packed;
using testing::PackedOnce;
using testing::Px;
using testing::Solid;
using testing::Stacked;

constexpr Bgr kMap{40, 80, 120};
constexpr Bgr kLit{240, 200, 160};
constexpr Bgr kRank{50, 60, 70};
constexpr Bgr kRow{1, 2, 3};
constexpr Bgr kRowLit{90, 91, 92};
constexpr Bgr kPlate{11, 12, 13};
constexpr Bgr kChoice{130, 140, 150};
constexpr Bgr kConfirm{20, 30, 40};
constexpr Bgr kOk{100, 0, 0};
constexpr Bgr kOkLit{200, 0, 0};
constexpr Bgr kBack{0, 100, 0};
constexpr Bgr kBackLit{0, 200, 0};

// Blends of the kernels with an opaque mask: the stacked drawing and the area mask give b × 255
// >> 8; MaskBlendScreen gives a × 255 >> 8 where the mask is clear.
Bgr Opaque(Bgr c) { return Bgr{c[0] * 255 >> 8, c[1] * 255 >> 8, c[2] * 255 >> 8}; }

// Band i of the hit map (x from 100 i) has blue when bit 0 of i is set, red for bit 1, green for
// bit 2: index i, so the bands are the areas 0, 1, 2, 3, 4, 0, 5, 0.
Bitmap HitMap(int width = 800, int height = 600) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int band = x / 100;
      uint8_t* p = b.At(x, y);
      p[0] = band & 1 ? 200 : 10;
      p[2] = band & 2 ? 128 : 127;
      p[1] = band & 4 ? 255 : 0;
    }
  }
  return b;
}

// The mask of an area: opaque over its band.
Bitmap AreaMask(int band) {
  Bitmap m(800, 600);
  testing::FillColumns(m, band * 100, band * 100 + 100, {255, 255, 255});
  return m;
}

constexpr int kBandOfArea[6] = {0, 1, 2, 3, 4, 6};

const char kTable[] =
    ":2\n1,違う章,99\n"
    ":1\n1,駅前,11\n1,商店街,12,5\n1,港,13,6\n2,神社,21\n3,学校,31\n5,海岸,51\n0,無効,1\n"
    ":3\n1,三章,1\n:END\n";

GameFixture& MapGame(GameFixture& g, int chapter = 1, bool withHitMap = true, const std::string& table = kTable) {
  const std::string c = std::to_string(chapter);
  g.Entry("tq_gra.tvx", "TR_BASE" + c + "A", PackedOnce("map", [] { return Solid(800, 600, kMap); }))
      .Entry("tq_gra.tvx", "TR_BASE" + c + "B", PackedOnce("lit", [] { return Solid(800, 600, kLit); }))
      .Entry("tq_gra.tvx", "TR_RANK" + c, Packed(OpaqueStacked(200, 40, kRank)))
      .Entry("tq_gra.tvx", "TR_CONFIRM", PackedOnce("confirm", [] { return OpaqueStacked(800, 600, kConfirm); }))
      .Entry("tq_gra.tvx", "TR_CHOICE", Packed(OpaqueStacked(376, 40, kChoice)))
      .Entry("tq_gra.tvx", "TR_SEL", Packed(OpaqueStacked(232, 45, kRow)))
      .Entry("tq_gra.tvx", "TR_SEL_OM", Packed(OpaqueStacked(232, 45, kRowLit)))
      .Entry("tq_gra.tvx", "TR_OK", Packed(OpaqueStacked(128, 32, kOk)))
      .Entry("tq_gra.tvx", "TR_OK_OM", Packed(OpaqueStacked(128, 32, kOkLit)))
      .Entry("tq_gra.tvx", "TR_RET", Packed(OpaqueStacked(128, 32, kBack)))
      .Entry("tq_gra.tvx", "TR_RET_OM", Packed(OpaqueStacked(128, 32, kBackLit)))
      .Script("mapctrl", table)
      .Script("main", "!V100=" + std::to_string(chapter == 1 ? 0 : chapter) +
                          "\n=start\n@map\n!V010=S115\n!V011=S116\n\\after\n");
  if (withHitMap) g.Entry("tq_gra.tvx", "TR_HITMAP", PackedOnce("hit map", [] { return HitMap(); }));
  for (int a = 1; a <= 5; ++a) {
    g.Entry("tq_gra.tvx", "TR_SEL" + std::to_string(a), Packed(OpaqueStacked(64, 24, kPlate)));
    g.Entry("tq_gra.tvx", "TR_MASK" + c + std::to_string(a),
            PackedOnce("mask " + std::to_string(a), [a] { return AreaMask(kBandOfArea[a]); }));
  }
  return g;
}

// Starts the game, sets flag F6 (so "港" is listed) and opens the map.
TForm1& Open(GameFixture& g) {
  TForm1& e = g.Start();
  g.RunToWait();
  e.vars.F.Set(6);
  g.Click();
  g.RunToWait();
  return e;
}

void Move(TForm1& e, int x, int y) { e.PBMouseMove(ShiftState{}, x, y); }

void ClickAt(TForm1& e, int x, int y, MouseButton button = MouseButton::Left) {
  e.PBMouseMove(ShiftState{}, x, y);
  e.PBMouseDown(button, ShiftState{}, x, y);
  e.PBMouseUp(button, ShiftState{}, x, y);
}

std::string MapState(TForm1& e) {
  const std::string s = e.DescribeState();
  const size_t at = s.find("\"titleMap\":");
  return at == std::string::npos ? std::string() : s.substr(at + 11, s.find('}', at) - at - 10);
}

TEST(TitleMapTest, OpensWithACrossfadeOntoTheMapAndItsRank) {
  GameFixture g;
  MapGame(g);
  TForm1& e = g.Start();
  g.RunToWait();
  const uint32_t t0 = g.Host().TickCount();
  InputPlan plan(g);
  const size_t mid = plan.Shot(t0 + 100);
  plan.Apply();
  g.Click();
  g.RunToWait();
  // Step 4 of 256 per 10 ms from the black screen: frame k shows a = 4 k.
  const int a = 40;
  EXPECT_EQ(Px(plan.Picture(mid), 400, 300), (Bgr{kMap[0] * a >> 8, kMap[1] * a >> 8, kMap[2] * a >> 8}));
  EXPECT_EQ(Px(g.Host().Window(), 400, 300), kMap);
  EXPECT_EQ(Px(g.Host().Window(), 10, 470), Opaque(kRank));
  EXPECT_EQ(Px(g.Host().Window(), 210, 470), kMap);
  EXPECT_EQ(e.ctl.screenMode, smTitleMap);
  EXPECT_EQ(MapState(e),
            "{\"step\":1,\"listArea\":0,\"area\":0,\"row\":0,\"button\":0,\"first\":\"\",\"second\":\"\"}");
  EXPECT_EQ(e.vars.V(100), 0);  // a chapter of 0 reads as 1 and stays 0
  EXPECT_TRUE(e.WaitsForPlayer());
  EXPECT_NE(e.DescribeState().find(",\"clock\":" + std::to_string(g.Host().TickCount())), std::string::npos);
}

struct HoverCase {
  int band;
  int area;
};

TEST(TitleMapTest, HitMapColoursSelectTheAreas) {
  GameFixture g;
  MapGame(g);
  TForm1& e = Open(g);
  // Blue, red and green at 128 or more count; area 4 lists nothing, so it counts as none.
  const HoverCase cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 0}, {5, 0}, {6, 5}, {7, 0}};
  for (const HoverCase& c : cases) {
    SCOPED_TRACE(c.band);
    Move(e, c.band * 100 + 50, 40);
    EXPECT_EQ(e.titleMap.area, c.area);
    const Bitmap& w = g.Host().Window();
    if (c.area == 0) {
      EXPECT_EQ(Px(w, c.band * 100 + 50, 40), kMap);
    } else {
      // The lit map through the area's mask; the clear rest of the mask costs a level.
      EXPECT_EQ(Px(w, c.band * 100 + 50, 40), Opaque(kLit));
      EXPECT_EQ(Px(w, c.band * 100 + 99, 300), Opaque(kLit));
      EXPECT_EQ(Px(w, (c.band * 100 + 450) % 800, 300), Opaque(kMap));
    }
  }
}

TEST(TitleMapTest, HitMapIsReadOnlyInsideItsPicture) {
  GameFixture g;
  MapGame(g, 1, false);
  g.Entry("tq_gra.tvx", "TR_HITMAP", Packed(HitMap(250, 100)));
  TForm1& e = Open(g);
  Move(e, 150, 50);
  EXPECT_EQ(e.titleMap.area, 1);
  Move(e, 150, 150);
  EXPECT_EQ(e.titleMap.area, 0);
  Move(e, 650, 50);
  EXPECT_EQ(e.titleMap.area, 0);
}

// Area 1's list at (471, 294): rows of 45 pixels, the caption of a destination whose flag is set
// in yellow.
TEST(TitleMapTest, ListRowsHoverIntoS115AndShowTheirHighlight) {
  GameFixture g;
  MapGame(g);
  TForm1& e = Open(g);
  e.vars.F.Set(482 + 15 + 3 + 1);  // "港", row 1 of area 1, visited before
  ClickAt(e, 150, 40);
  EXPECT_EQ(e.titleMap.listArea, 1);
  const Bitmap& w = g.Host().Window();
  EXPECT_EQ(Px(w, 471 + 200, 294 + 40), Opaque(kRow));
  EXPECT_EQ(Px(w, 471 + 200, 339 + 40), Opaque(kRow));
  EXPECT_EQ(Px(w, 471 + 200, 384 + 10), kMap);  // two rows only: "商店街" is not listed
  EXPECT_EQ(Px(w, 372, 227), Opaque(kPlate));
  int yellow = 0, otherYellow = 0;
  for (int y = 339; y < 384; ++y) {
    for (int x = 471; x < 703; ++x) yellow += w.At(x, y)[0] < 60 && w.At(x, y)[1] > 150 && w.At(x, y)[2] > 150;
  }
  for (int y = 294; y < 339; ++y) {
    for (int x = 471; x < 703; ++x) otherYellow += w.At(x, y)[0] < 60 && w.At(x, y)[1] > 150 && w.At(x, y)[2] > 150;
  }
  EXPECT_GT(yellow, 10);
  EXPECT_EQ(otherYellow, 0);

  Move(e, 480, 300);
  EXPECT_EQ(e.vars.S(115), 11);
  EXPECT_EQ(Px(w, 471 + 200, 294 + 40), Opaque(kRowLit));
  Move(e, 480, 350);
  EXPECT_EQ(e.vars.S(115), 13);
  EXPECT_EQ(Px(w, 471 + 200, 294 + 40), Opaque(kRow));
  EXPECT_EQ(Px(w, 471 + 200, 339 + 40), Opaque(kRowLit));
  EXPECT_NE(MapState(e).find("\"row\":2,\"button\":0,\"first\":\"港\""), std::string::npos) << MapState(e);
  // A repaint shows the screen buffer and then the hovered row.
  g.Host().Present(Solid(800, 600, {0, 0, 0}), Rect{0, 0, 800, 600});
  e.PBPaint();
  EXPECT_EQ(Px(w, 471 + 200, 339 + 40), Opaque(kRowLit));
  EXPECT_EQ(Px(w, 10, 10), kMap);
  // Leaving the list takes the highlight away.
  Move(e, 480, 500);
  EXPECT_EQ(e.titleMap.row, 0);
  EXPECT_EQ(Px(w, 471 + 200, 339 + 40), Opaque(kRow));
}

// The whole choice: first destination, back with the right button, another first destination,
// the second, back from the confirmation and forward again, then OK.
TEST(TitleMapTest, TwoDestinationsAreChosenAndConfirmed) {
  GameFixture g;
  MapGame(g);
  TForm1& e = Open(g);
  const Bitmap& w = g.Host().Window();

  ClickAt(e, 150, 40);  // area 1's list
  Move(e, 480, 300);    // "駅前", the first row: row 0 can be chosen
  const uint32_t t = g.Host().TickCount();
  InputPlan plan(g);
  const size_t dark = plan.Shot(t + 50);
  const size_t lit = plan.Shot(t + 100);
  plan.Apply();
  ClickAt(e, 480, 300);
  EXPECT_EQ(g.Host().TickCount() - t, 500u);  // five blinks of 50 + 50 ms
  EXPECT_EQ(Px(plan.Picture(dark), 671, 334), Opaque(kRow));
  EXPECT_EQ(Px(plan.Picture(lit), 671, 334), Opaque(kRowLit));
  EXPECT_EQ(e.titleMap.step, 2);
  EXPECT_EQ(e.titleMap.listArea, 0);
  // Step 2: the choice strip at (24, 541) with its picture and the first caption.
  EXPECT_EQ(Px(w, 24 + 370, 541 + 2), Opaque(kChoice));
  EXPECT_EQ(Px(w, 24 + 378, 541 + 2), kMap);

  // Right button with the list closed: back to step 1, the first caption kept.
  ClickAt(e, 700, 500, MouseButton::Right);
  EXPECT_EQ(e.titleMap.step, 1);
  EXPECT_EQ(SjisToUtf8(e.titleMap.first), "駅前");
  EXPECT_EQ(Px(w, 24 + 370, 541 + 2), kMap);
  // Until a new row is hovered.
  ClickAt(e, 250, 40);
  ClickAt(e, 130, 320);  // "神社" in area 2's list at (119, 314)
  EXPECT_EQ(SjisToUtf8(e.titleMap.first), "神社");
  EXPECT_EQ(e.vars.S(115), 21);
  EXPECT_EQ(e.titleMap.step, 2);

  // Right button with a list open only closes it.
  ClickAt(e, 650, 40);
  EXPECT_EQ(e.titleMap.listArea, 5);
  ClickAt(e, 650, 40, MouseButton::Right);
  EXPECT_EQ(e.titleMap.listArea, 0);
  EXPECT_EQ(e.titleMap.step, 2);
  // A click beside the open list closes it and stays in step 2.
  ClickAt(e, 650, 40);
  ClickAt(e, 300, 20);
  EXPECT_EQ(e.titleMap.listArea, 0);
  EXPECT_EQ(e.titleMap.step, 2);

  ClickAt(e, 650, 40);
  ClickAt(e, 80, 350);  // "海岸" in area 5's list at (67, 342)
  EXPECT_EQ(e.vars.S(116), 51);
  EXPECT_EQ(e.titleMap.step, 3);
  EXPECT_EQ(Px(w, 10, 10), Opaque(kConfirm));
  EXPECT_EQ(Px(w, 266 + 100, 382 + 5), Opaque(kOk));
  EXPECT_EQ(Px(w, 407 + 100, 382 + 5), Opaque(kBack));

  // Step 3: the buttons light up under the pointer; the right button goes back to step 2.
  Move(e, 393, 413);
  EXPECT_EQ(e.titleMap.button, 1);
  EXPECT_EQ(Px(w, 266 + 100, 382 + 5), Opaque(kOkLit));
  Move(e, 394, 400);
  EXPECT_EQ(e.titleMap.button, 0);
  EXPECT_EQ(Px(w, 266 + 100, 382 + 5), Opaque(kOk));
  Move(e, 407, 382);
  EXPECT_EQ(e.titleMap.button, 2);
  EXPECT_EQ(Px(w, 407 + 100, 382 + 5), Opaque(kBackLit));
  EXPECT_NE(MapState(e).find("{\"step\":3,\"listArea\":0,\"area\":0,\"row\":0,\"button\":2,\"first\":\"神社\","
                             "\"second\":\"海岸\"}"),
            std::string::npos)
      << MapState(e);
  ClickAt(e, 700, 500, MouseButton::Right);
  EXPECT_EQ(e.titleMap.step, 2);
  ClickAt(e, 650, 40);
  ClickAt(e, 80, 350);
  ASSERT_EQ(e.titleMap.step, 3);

  ClickAt(e, 300, 390);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_TRUE(e.vars.F.Test(482 + 15 + 3 * 2 + 0));  // 神社: chapter 1, area 2, row 0
  EXPECT_TRUE(e.vars.F.Test(482 + 15 + 3 * 5 + 0));  // 海岸: chapter 1, area 5, row 0
  EXPECT_FALSE(e.vars.F.Test(482 + 15 + 3 * 1 + 0));
  g.RunToWait();
  EXPECT_EQ(e.script.lineBuffer, "\\after");
  EXPECT_EQ(e.vars.V(10), 21);
  EXPECT_EQ(e.vars.V(11), 51);
  EXPECT_EQ(MapState(e),
            "{\"step\":0,\"listArea\":0,\"area\":0,\"row\":0,\"button\":0,\"first\":\"\",\"second\":\"\"}");
}

TEST(TitleMapTest, ReturnButtonStartsTheChoiceAgain) {
  GameFixture g;
  MapGame(g);
  TForm1& e = Open(g);
  for (auto [ax, rx, ry] : std::vector<std::array<int, 3>>{{150, 480, 300}, {250, 130, 320}}) {
    ClickAt(e, ax, 40);
    ClickAt(e, rx, ry);
  }
  ASSERT_EQ(e.titleMap.step, 3);
  ClickAt(e, 500, 390);
  EXPECT_EQ(e.titleMap.step, 1);
  EXPECT_EQ(e.ctl.screenMode, smTitleMap);
  EXPECT_EQ(Px(g.Host().Window(), 10, 10), kMap);
  EXPECT_FALSE(e.vars.F.Test(482 + 15 + 3 + 0));
}

// The hover is worked out again every 16th frame where the pointer last was: after the list
// closes under a pointer that stays put, its area lights up again by itself.
TEST(TitleMapTest, HoverIsWorkedOutAgainEvery16thFrame) {
  GameFixture g;
  MapGame(g);
  TForm1& e = Open(g);
  ClickAt(e, 150, 40);
  ClickAt(e, 150, 40, MouseButton::Right);
  EXPECT_EQ(e.titleMap.listArea, 0);
  EXPECT_EQ(e.titleMap.area, 0);
  EXPECT_EQ(Px(g.Host().Window(), 150, 40), kMap);
  g.Host().RunFrames(16);
  EXPECT_EQ(e.titleMap.area, 1);
  EXPECT_EQ(Px(g.Host().Window(), 150, 40), Opaque(kLit));
}

TEST(TitleMapTest, LaterChaptersNumberTheirFlagsFifteenApart) {
  GameFixture g;
  MapGame(g, 3);
  TForm1& e = Open(g);
  ASSERT_EQ(e.titleMap.step, 1);
  ClickAt(e, 150, 40);
  ClickAt(e, 480, 300);
  ClickAt(e, 150, 40);
  ClickAt(e, 480, 300);
  ClickAt(e, 300, 390);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_TRUE(e.vars.F.Test(482 + 15 * 3 + 3 * 1 + 0));
  EXPECT_FALSE(e.vars.F.Test(482 + 15 * 1 + 3 * 1 + 0));
  EXPECT_EQ(e.vars.S(115), 1);
  EXPECT_EQ(e.vars.S(116), 1);
}

struct NoMapCase {
  std::string name;
  int chapter;
  bool hitMap;
  std::string table;
};

class TitleMapAbsentTest : public ::testing::TestWithParam<NoMapCase> {};

// Without its section, its table or its hit map the command does nothing and the script goes on.
TEST_P(TitleMapAbsentTest, CommandDoesNothing) {
  const NoMapCase& c = GetParam();
  GameFixture g;
  MapGame(g, c.chapter, c.hitMap, c.table);
  TForm1& e = g.Start();
  g.RunToWait();
  e.vars.S(115) = 77;
  g.Click();
  g.RunToWait();
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_EQ(e.script.lineBuffer, "\\after");
  EXPECT_EQ(e.vars.V(10), 77);
  EXPECT_EQ(e.titleMap.step, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, TitleMapAbsentTest,
                         ::testing::Values(NoMapCase{"NoHitMap", 1, false, kTable},
                                           NoMapCase{"NoSection", 4, true, kTable},
                                           NoMapCase{"EndBeforeTheSection", 1, true, ":END\n:1\n1,駅前,11\n"},
                                           NoMapCase{"EmptyTable", 1, true, ""}),
                         [](const ::testing::TestParamInfo<NoMapCase>& info) { return info.param.name; });

TEST(TitleMapTest, CloseTitleMapReleasesTheMap) {
  GameFixture g;
  MapGame(g);
  TForm1& e = Open(g);
  ClickAt(e, 150, 40);
  e.CloseTitleMap();
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_EQ(e.titleMap.step, 0);
  EXPECT_TRUE(e.titleMap.map.Empty());
  EXPECT_TRUE(e.titleMap.highlight.Empty());
  // Input for the map does nothing any more.
  ClickAt(e, 480, 300);
  EXPECT_EQ(e.vars.S(115), 0);
}

}  // namespace
}  // namespace torvel
