// The click map played through the headless host: the hovered looks, the pointer shapes of colour
// regions, the confirmation, the timeout and the maps that are skipped.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "scene_test_support.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::FillColumns;
using testing::Packed;
using testing::Px;
using testing::SceneGame;

constexpr Bgr kStory{96, 64, 32};  // "S246"
constexpr Bgr kPartsGround{5, 5, 5};
constexpr Bgr kShopLook{0, 0, 250};
constexpr Bgr kGateLook{0, 200, 0};
constexpr Bgr kGateSign{250, 0, 0};
constexpr Bgr kKeyF80{0x0C, 0x8A, 0xF5};  // red F5, green 8A, blue 0C
constexpr Bgr kKey0F0{0x01, 0xF9, 0x05};
constexpr Bgr kChosen{77, 78, 79};

void FillRect(Bitmap& b, int x0, int y0, int x1, int y1, Bgr c) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(c[0]);
      p[1] = static_cast<uint8_t>(c[1]);
      p[2] = static_cast<uint8_t>(c[2]);
    }
  }
}

// The parts picture, smaller than the screen: the looks of "*shop" and "#gate", the gate's sign,
// and the two colour areas (the second reaches the picture's right edge).
Bitmap Parts() {
  Bitmap b = testing::Solid(400, 300, kPartsGround);
  FillRect(b, 100, 50, 300, 200, kShopLook);
  FillRect(b, 20, 220, 80, 280, kGateLook);
  FillRect(b, 300, 0, 340, 40, kGateSign);
  FillRect(b, 200, 250, 260, 290, kKeyF80);
  FillRect(b, 340, 100, 400, 160, kKey0F0);
  return b;
}

constexpr const char* kMapTable =
    ":station\n1\nplatform,0,0,10,10\n"
    ":Town\n6\n"
    "plain,10,10,60,40\n"
    "*shop,300,200,100,50\n"
    "#gate,20,220,80,280,300,0,340,40,320,240\n"
    "$F80,1\n"
    "$0F0,3\n"
    "extra,600,400,700,500\n"
    ":townhall\n1\nhall,0,0,800,600\n"
    ":empty\n0\n";

constexpr const char* kBlock =
    "{Plain\n"
    "!V001=1\n"
    "\\\n"
    "{Shop text\n"
    "!V001=2\n"
    "\\\n"
    "{(V099=1)Gate\n"
    "!V001=3\n"
    "\\\n"
    "{Colour\n"
    "!V001=4\n"
    "\\\n"
    "{@5\n"
    "!V001=9\n"
    "\\\n"
    "}\n"
    "!V002=1\n"
    "\\\n";

std::string Main(const std::string& before, const std::string& parts = "PARTS", const std::string& block = kBlock,
                 const std::string& map = "town") {
  return "@gra S246,4\n" + before + "@partsload " + parts + "\n@clickmap " + map + "\n" + block;
}

TForm1& Start(SceneGame& game, const std::string& main) {
  game.fixture.Script("map", kMapTable)
      .Script("main", main)
      .Entry("tq_gra.tvx", "PARTS", Packed(Parts()))
      .Entry("tq_gra.tvx", "CHOSEN", Packed(testing::Solid(400, 300, kChosen)))
      .Entry("tq_se0.tvx", "SSE01", testing::Chime())
      .Entry("tq_se0.tvx", "HOVER", testing::Chime());
  TForm1& e = game.Start();
  game.RunToWait();
  return e;
}

TEST(ClickMapTest, TheMapWaitsWithItsRegionsAndOptions) {
  SceneGame game;
  TForm1& e = Start(game, Main(""));
  ASSERT_EQ(e.ctl.choiceMode, 4);
  const ClickMapState& m = e.clickMap;
  EXPECT_EQ(m.map.name, "Town");
  EXPECT_EQ(m.map.regionCount, 6);
  EXPECT_TRUE(m.map.regions[1].enabled);
  EXPECT_FALSE(m.map.regions[3].enabled);  // a false condition
  EXPECT_FALSE(m.map.regions[5].enabled);  // the timeout option
  EXPECT_LT(m.map.regions[6].branch, 0);   // no option of its own
  // Option texts name the regions; the table's first character still decides the look.
  EXPECT_EQ(m.map.regions[2].name, "Shop text");
  EXPECT_EQ(m.map.regions[2].kind, ClickRegion::Kind::Shown);
  EXPECT_EQ(m.timeoutOption, 5);
  const std::string state = e.DescribeState();
  EXPECT_NE(state.find("\"clickMap\":{\"map\":\"Town\",\"regions\":6,\"selected\":0,\"timeout\":" +
                       std::to_string(m.timeoutTicks) + "}"),
            std::string::npos)
      << state;
  EXPECT_NE(state.find("\"pointerShape\":0"), std::string::npos);
}

TEST(ClickMapTest, HoveredRegionsShowTheirLooksFromThePartsPicture) {
  SceneGame game;
  TForm1& e = Start(game, Main("!V099=1\n"));
  game.Move(150, 100);
  EXPECT_EQ(e.clickMap.selected, 2);
  EXPECT_EQ(game.Window(150, 100), kShopLook);
  EXPECT_EQ(game.Window(100, 50), kShopLook);  // the rectangle's corner is shown, if not hit
  EXPECT_EQ(game.Window(300, 120), kStory);
  EXPECT_EQ(game.Screen(150, 100), kStory);

  // To "#gate": the shop's look goes, the gate's look and its sign at the destination come.
  game.Move(50, 250);
  EXPECT_EQ(e.clickMap.selected, 3);
  EXPECT_EQ(game.Window(150, 100), kStory);
  EXPECT_EQ(game.Window(50, 250), kGateLook);
  EXPECT_EQ(game.Window(330, 250), kGateSign);
  EXPECT_EQ(game.Window(310, 10), kStory);

  // A plain region has no look of its own.
  game.Move(30, 20);
  EXPECT_EQ(e.clickMap.selected, 1);
  EXPECT_EQ(game.Window(50, 250), kStory);
  EXPECT_EQ(game.Window(330, 250), kStory);

  game.Move(500, 500);
  EXPECT_EQ(e.clickMap.selected, 0);
  EXPECT_EQ(game.Window(30, 20), kStory);
}

TEST(ClickMapTest, RectanglesAreHitStrictlyInside) {
  SceneGame game;
  TForm1& e = Start(game, Main(""));
  struct Point {
    int x, y, hit;
  };
  for (const Point& p : {Point{100, 100, 0}, Point{101, 100, 2}, Point{299, 199, 2}, Point{300, 100, 0},
                         Point{150, 50, 0}, Point{150, 51, 2}, Point{150, 200, 0}}) {
    game.Move(p.x, p.y);
    EXPECT_EQ(e.clickMap.selected, p.hit) << p.x << "," << p.y;
  }
}

TEST(ClickMapTest, AFalseConditionLeavesTheRegionUnclickable) {
  SceneGame game;
  TForm1& e = Start(game, Main(""));
  game.Move(50, 250);
  EXPECT_EQ(e.clickMap.selected, 0);
  EXPECT_EQ(game.Window(50, 250), kStory);
  game.Click(50, 250);
  EXPECT_EQ(e.ctl.choiceMode, 4);
  EXPECT_EQ(game.SoundsNamed("SSE01"), 0);
}

TEST(ClickMapTest, ColourRegionsSetThePointerShapeAndAnswerEvenWhenDisabled) {
  SceneGame game;
  TForm1& e = Start(game, Main(""));
  game.Move(210, 260);
  EXPECT_EQ(e.clickMap.selected, 4);
  EXPECT_EQ(game.Host().PointerShape(), 30);
  game.Move(350, 110);
  EXPECT_EQ(e.clickMap.selected, 5);
  EXPECT_EQ(game.Host().PointerShape(), 32);
  EXPECT_NE(e.DescribeState().find("\"pointerShape\":32"), std::string::npos);
  // Region 5 is the timeout option: a click on it chooses nothing.
  game.Click(350, 110);
  EXPECT_EQ(e.ctl.choiceMode, 4);
  EXPECT_EQ(game.SoundsNamed("SSE01"), 0);
  // The parts picture ends at x 400: past it there is no colour to match.
  game.Move(450, 110);
  EXPECT_EQ(e.clickMap.selected, 0);
  EXPECT_EQ(game.Host().PointerShape(), 0);

  game.Move(210, 260);
  EXPECT_EQ(game.Host().PointerShape(), 30);
  game.Click(210, 260);
  EXPECT_EQ(e.ctl.choiceMode, 0);
  // The map has ended: the default pointer is back though the pointer has not moved.
  EXPECT_EQ(game.Host().PointerShape(), 0);
  game.RunToWait();
  EXPECT_EQ(e.vars.V(1), 4);
}

TEST(ClickMapTest, AClickChoosesTheHoveredOption) {
  SceneGame game;
  TForm1& e = Start(game, Main("!V099=1\n!S010=5\n!S161=1\n"));
  game.Move(150, 100);
  ASSERT_EQ(game.Window(150, 100), kShopLook);
  game.Click(150, 100);
  EXPECT_EQ(game.SoundsNamed("SSE01"), 1);
  EXPECT_EQ(e.ctl.choiceMode, 0);
  EXPECT_EQ(e.vars.S(10), 0);
  EXPECT_EQ(e.vars.S(15), 0);
  // The window shows the screen buffer again.
  EXPECT_EQ(game.Window(150, 100), kStory);
  // A pick on the map is not a `select` answer: the choice record stays as it was.
  EXPECT_EQ(e.vars.S(kVarRecordCount), 0);
  EXPECT_NE(e.DescribeState().find("\"clickMap\":{\"map\":\"\",\"regions\":0,\"selected\":0,\"timeout\":0}"),
            std::string::npos);
  game.RunToWait();
  EXPECT_EQ(e.vars.V(1), 2);
  game.Click(400, 300);
  game.RunToWait();
  EXPECT_EQ(e.vars.V(2), 1);
}

TEST(ClickMapTest, WithAChosenPictureTheChosenLookStaysOnTheScreenBuffer) {
  SceneGame game;
  TForm1& e = Start(game, Main("", "PARTS,CHOSEN"));
  ASSERT_EQ(e.vars.S(15), 1);
  game.Click(150, 100);
  EXPECT_EQ(e.vars.S(15), 0);
  EXPECT_EQ(game.Screen(150, 100), kChosen);
  EXPECT_EQ(game.Screen(100, 50), kChosen);
  EXPECT_EQ(game.Screen(300, 100), kStory);
  EXPECT_EQ(game.Window(150, 100), kChosen);
  e.PBPaint();
  EXPECT_EQ(game.Window(150, 100), kChosen);
  EXPECT_EQ(game.Window(30, 20), kStory);
}

// Without a chosen picture the confirmation repaints the window from the screen buffer, except in
// full-screen text mode, where the hovered look stays until the story draws again.
TEST(ClickMapTest, TheConfirmationRepaintsUnlessTextIsFullScreen) {
  for (const bool fullScreenText : {false, true}) {
    SCOPED_TRACE(fullScreenText);
    SceneGame game;
    TForm1& e = Start(game, Main(fullScreenText ? "!V099=1\n!S160=1\n" : "!V099=1\n"));
    game.Move(150, 100);
    ASSERT_EQ(game.Window(150, 100), kShopLook);
    game.Click(150, 100);
    EXPECT_EQ(e.ctl.choiceMode, 0);
    EXPECT_EQ(game.Window(150, 100), fullScreenText ? kShopLook : kStory);
    EXPECT_EQ(game.Screen(150, 100), kStory);
  }
}

TEST(ClickMapTest, TheRightButtonConfirmsToo) {
  SceneGame game;
  TForm1& e = Start(game, Main(""));
  game.Click(30, 20, MouseButton::Right);
  EXPECT_EQ(game.SoundsNamed("SSE01"), 1);
  EXPECT_EQ(e.ctl.choiceMode, 0);
  game.RunToWait();
  EXPECT_EQ(e.vars.V(1), 1);
}

TEST(ClickMapTest, ClicksThatChooseNothingDoNothing) {
  SceneGame game;
  TForm1& e = Start(game, Main(""));
  // Outside every region, and on a region past the last option.
  for (const auto& [x, y] : {std::pair{500, 300}, std::pair{650, 450}}) {
    game.Click(x, y);
    EXPECT_EQ(e.ctl.choiceMode, 4) << x;
  }
  EXPECT_EQ(e.clickMap.selected, 6);
  EXPECT_EQ(game.SoundsNamed("SSE01"), 0);
}

TEST(ClickMapTest, TheHoverSoundPlaysOnEnteringARegion) {
  SceneGame game;
  TForm1& e = Start(game, Main("@string 6 1\n@string 7 HOVER\n"));
  game.Move(30, 20);
  game.Move(35, 25);
  EXPECT_EQ(game.SoundsNamed("HOVER"), 1);
  game.Move(150, 100);
  EXPECT_EQ(game.SoundsNamed("HOVER"), 2);
  EXPECT_EQ(e.clickMap.selected, 2);
}

TEST(ClickMapTest, ARegionUnderThePointerIsHighlightedAtOnce) {
  SceneGame game;
  TForm1& e = Start(game, std::string("@gra S246,4\n\\\n@partsload PARTS\n@clickmap town\n") + kBlock);
  ASSERT_EQ(e.ctl.waitKind, 1);
  // The click that ends the wait leaves the pointer over the shop.
  game.Click(150, 100);
  game.RunToWait();
  ASSERT_EQ(e.ctl.choiceMode, 4);
  EXPECT_EQ(e.clickMap.selected, 2);
  EXPECT_EQ(game.Window(150, 100), kShopLook);
}

TEST(ClickMapTest, FiveUnitsOfTimeoutAreAHundredTicksOfTheMapOnScreen) {
  SceneGame game;
  game.fixture.Script("main", Main("")).Script("map", kMapTable).Entry("tq_gra.tvx", "PARTS", Packed(Parts()));
  TForm1& e = game.Start();
  while (e.ctl.choiceMode != 4) game.Host().RunFrame();
  EXPECT_EQ(e.clickMap.timeoutTicks, 100);
  const int start = e.ctl.timerCounter;
  while (e.ctl.timerCounter < start + 99) game.Host().RunFrame();
  EXPECT_EQ(e.ctl.choiceMode, 4);
  EXPECT_EQ(e.clickMap.timeoutTicks, 1);
  EXPECT_NE(e.DescribeState().find("\"timeout\":1}"), std::string::npos);
  while (e.ctl.timerCounter < start + 100) game.Host().RunFrame();
  EXPECT_EQ(e.ctl.choiceMode, 0);
  game.RunToWait();
  EXPECT_EQ(e.vars.V(1), 9);
}

TEST(ClickMapTest, ALeftoverCountNeverFiresIntoALaterChoice) {
  SceneGame game;
  const std::string block =
      "{Plain\n!V001=1\n@go pick\n{@5\n!V001=9\n\\\n}\n:pick\n@select\n{A\n!V005=1\n\\\n{B\n!V005=2\n\\\n}\n";
  TForm1& e = Start(game, Main("", "PARTS", block));
  ASSERT_EQ(e.clickMap.timeoutOption, 2);
  game.Click(30, 20);
  game.RunToWait();
  ASSERT_EQ(e.ctl.choiceMode, 1);
  const int start = e.ctl.timerCounter;
  while (e.ctl.timerCounter < start + 150) game.Host().RunFrame();
  EXPECT_EQ(e.ctl.choiceMode, 1);
  EXPECT_EQ(e.vars.V(1), 1);
  EXPECT_EQ(e.vars.V(5), 0);
}

TEST(ClickMapTest, TimeoutsArmOnlyForPositiveCountsAndSaturate) {
  struct Case {
    const char* option;
    int ticks;
  };
  for (const Case& c : {Case{"@0", 0}, Case{"@-3", 0}, Case{"@999999999", INT_MAX}}) {
    SCOPED_TRACE(c.option);
    SceneGame game;
    TForm1& e = Start(game, Main("", "PARTS", std::string("{Plain\n\\\n{") + c.option + "\n\\\n}\n"));
    ASSERT_EQ(e.ctl.choiceMode, 4);
    if (c.ticks == 0) {
      EXPECT_EQ(e.clickMap.timeoutOption, 0);
      const int start = e.ctl.timerCounter;
      while (e.ctl.timerCounter < start + 30) game.Host().RunFrame();
      EXPECT_EQ(e.ctl.choiceMode, 4);
    } else {
      EXPECT_GE(e.clickMap.timeoutTicks, INT_MAX - 100);
    }
  }
}

TEST(ClickMapTest, MapsWithNothingToChooseAreSkipped) {
  struct Case {
    const char* name;
    std::string main;
  };
  const std::string noOptions = "@gra S246,4\n@partsload PARTS\n@clickmap town\n!V002=1\n\\\n";
  for (const Case& c : {Case{"NotFound", Main("", "PARTS", kBlock, "harbour")},
                        Case{"NoRegion", Main("", "PARTS", kBlock, "empty")}, Case{"NoOption", noOptions}}) {
    SCOPED_TRACE(c.name);
    SceneGame game;
    TForm1& e = Start(game, c.main);
    EXPECT_EQ(e.ctl.choiceMode, 0);
    EXPECT_EQ(e.vars.V(2), 1);
    EXPECT_EQ(e.vars.V(1), 0);
    EXPECT_NE(e.DescribeState().find("\"clickMap\":{\"map\":\"\""), std::string::npos);
  }
}

TEST(ClickMapTest, OptionsPastTheThirtyFirstAreReadButNotKept) {
  std::string table = ":big\n31\n";
  for (int i = 1; i <= 31; ++i)
    table += "r" + std::to_string(i) + "," + std::to_string(20 * i) + ",0," + std::to_string(20 * i + 10) + ",10\n";
  std::string block;
  for (int i = 1; i <= 31; ++i) block += "{O" + std::to_string(i) + "\n!V001=" + std::to_string(i) + "\n\\\n";
  block += "{@1\n!V001=99\n\\\n{O33\n!V001=33\n\\\n}\n";
  SceneGame game;
  game.fixture.Script("map", table)
      .Script("main", "@clickmap big\n" + block)
      .Entry("tq_se0.tvx", "SSE01", testing::Chime());
  TForm1& e = game.Start();
  game.RunToWait();
  ASSERT_EQ(e.ctl.choiceMode, 4);
  EXPECT_EQ(e.clickMap.map.regionCount, 31);
  EXPECT_EQ(e.clickMap.timeoutOption, 0);
  const int start = e.ctl.timerCounter;
  while (e.ctl.timerCounter < start + 30) game.Host().RunFrame();
  EXPECT_EQ(e.ctl.choiceMode, 4);
  game.Click(20 * 31 + 5, 5);
  game.RunToWait();
  EXPECT_EQ(e.vars.V(1), 31);
}

}  // namespace
}  // namespace torvel
