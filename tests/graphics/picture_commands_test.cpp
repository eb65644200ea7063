// The picture commands through the headless host: backgrounds, sprites, the cache, `clrb`,
// `grb`, fades, the parts sheet, `direct`, `mode` and `scroll`, checked at chosen pixels of the
// screen buffer and the window.
#include <gtest/gtest.h>

#include "picture_test_support.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::Gradient;
using testing::Opaque;
using testing::Packed;
using testing::Px;
using testing::Solid;

constexpr Bgr kBack{10, 20, 30};
constexpr Bgr kSprite1{100, 150, 200};
constexpr Bgr kSprite2{60, 70, 80};
constexpr Bgr kSprite3{1, 2, 250};
constexpr int kSpriteW = 40;
constexpr int kSpriteH = 30;
constexpr int kClearColumns = 16;  // the mask's left 16 pixels (six whole groups) are clear

// A 40 × 30 sprite of one colour whose mask is clear over its first 16 columns.
void AddSprite(GameFixture& g, const std::string& name, Bgr colour, const std::string& archive = "tq_gra.tvx") {
  g.Entry(archive, name, Packed(Solid(kSpriteW, kSpriteH, colour)));
  Bitmap mask = Solid(kSpriteW, kSpriteH, {255, 255, 255});
  testing::FillColumns(mask, 0, kClearColumns, {0, 0, 0});
  g.Entry(archive, "M" + name.substr(1), Packed(mask));
}

// The usual pictures: a solid background, a gradient background and three sprites.
GameFixture& Pictures(GameFixture& g) {
  g.Entry("tq_gra.tvx", "AB01", Packed(Solid(800, 600, kBack)));
  g.Entry("tq_gra.tvx", "AB02", Packed(Gradient(800, 600)));
  AddSprite(g, "B01", kSprite1);
  AddSprite(g, "B02", kSprite2);
  AddSprite(g, "B03", kSprite3);
  return g;
}

Bgr GradientAt(int x, int y) { return Bgr{x & 255, y & 255, 7}; }

TEST(BackgroundCommandTest, GraShowsAPackedBackgroundWithTransitionOne) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB02\n\\wait\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(Px(l.screen, 123, 45), GradientAt(123, 45));
  EXPECT_EQ(Px(l.screen, 799, 599), GradientAt(799, 599));
  EXPECT_EQ(Px(g.Host().Window(), 123, 45), GradientAt(123, 45));
  EXPECT_EQ(l.lastTransition, 1);
  EXPECT_EQ(l.backgroundName, "AB02");
}

TEST(BackgroundCommandTest, MissingOrUndecodablePicturesKeepTheOldBackground) {
  GameFixture g;
  Pictures(g)
      .Entry("tq_gra.tvx", "ABROKEN", {1, 2, 3})
      .Entry("tq_gjp.tvx", "ABADJPEG", {0xFF, 0xD8, 0xFF, 0x00})
      .Script("main", "@gra AB01\n@gra AMISSING\n@gra ABROKEN\n@bg ABADJPEG\n\\wait\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 400, 300), kBack);
  EXPECT_EQ(Px(g.Host().Window(), 0, 0), kBack);
}

TEST(BackgroundCommandTest, SolidColourNamesFillTheBackground) {
  GameFixture g;
  Pictures(g).Script("main", "@gra S0f8 5\n\\one\n@gra sg\n\\two\n");
  g.Start();
  g.RunToWait();
  // Red 0, green f = 240, blue 8 = 128.
  EXPECT_EQ(Px(g.Engine().layers.screen, 10, 10), (Bgr{128, 240, 0}));
  EXPECT_EQ(g.Engine().layers.lastTransition, 5);
  EXPECT_EQ(g.Engine().layers.backgroundName, "S0F8");
  g.Click();
  g.RunToWait();
  // Missing digits read as 0.
  EXPECT_EQ(Px(g.Engine().layers.screen, 10, 10), (Bgr{0, 0, 255}));
}

TEST(BackgroundCommandTest, OtherFirstLettersDoNothing) {
  GameFixture g;
  Pictures(g)
      .Entry("tq_gra.tvx", "XB01", Packed(Solid(800, 600, {1, 1, 1})))
      .Script("main", "@gra AB01\n@gra XB01\n\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 0, 0), kBack);
  EXPECT_EQ(g.Engine().layers.backgroundName, "AB01");
}

TEST(BackgroundCommandTest, BgTakesAnyNameAndItsTransition) {
  GameFixture g;
  Pictures(g)
      .Entry("tq_gra.tvx", "XB01", Packed(Solid(800, 600, {1, 2, 3})))
      .Script("main", "@spr B01\n@bg xb01,4\n\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 400, 10), (Bgr{1, 2, 3}));  // the sprite went with it
  EXPECT_EQ(g.Engine().layers.spriteCount, 0);
  EXPECT_EQ(g.Engine().layers.lastTransition, 4);
}

TEST(BackgroundCommandTest, GrbPreparesWithoutShowingUntilGra) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@grb AB02\n@bg AB02\n@grb S888\n\\prepared\n@gra B01\n\\shown\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_TRUE(l.grbPending);
  EXPECT_EQ(Px(l.screen, 5, 5), kBack);
  EXPECT_EQ(Px(g.Host().Window(), 5, 5), kBack);
  EXPECT_EQ(Px(l.background, 5, 5), (Bgr{128, 128, 128}));
  g.Click();
  g.RunToWait();
  EXPECT_FALSE(l.grbPending);
  EXPECT_EQ(Px(l.screen, 5, 5), (Bgr{128, 128, 128}));
  EXPECT_EQ(Px(l.screen, 400, 5), Opaque(kSprite1));
}

TEST(BackgroundCommandTest, GrbWithANumberAboveZeroShowsABackground) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@grb AB02,4\n\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 5, 5), GradientAt(5, 5));
  EXPECT_EQ(g.Engine().layers.lastTransition, 4);
}

TEST(BackgroundCommandTest, GraAfterGrbWithAColourNameShowsNothingButEndsThePending) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@grb B01\n@gra S000\n\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_FALSE(g.Engine().layers.grbPending);
  EXPECT_EQ(Px(g.Engine().layers.screen, 5, 5), kBack);
  EXPECT_EQ(Px(g.Engine().layers.background, 5, 5), (Bgr{0, 0, 0}));
}

TEST(SpriteCommandTest, SpriteIsDrawnThroughItsMaskAtItsLayoutPosition) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@spr B01\n\\w\n");
  g.Start();
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  const int left = 400 - kSpriteW / 2;
  EXPECT_EQ(Px(s, left - 1, 5), kBack);
  EXPECT_EQ(Px(s, left + 3, 5), kBack);  // whole clear groups keep the background exactly
  EXPECT_EQ(Px(s, left + kClearColumns, 5), Opaque(kSprite1));
  EXPECT_EQ(Px(s, left + kSpriteW - 1, kSpriteH - 1), Opaque(kSprite1));
  EXPECT_EQ(Px(s, left + kSpriteW, 5), kBack);
  EXPECT_EQ(Px(s, left + 20, kSpriteH), kBack);
  EXPECT_EQ(g.Engine().layers.lastTransition, 1);
}

TEST(SpriteCommandTest, GraWithLeftAndRightPositions) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@gra B01 L\n@gra B02 r 7\n\\w\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.spriteCount, 2);
  EXPECT_EQ(l.spriteSpec, "B01,B02");
  EXPECT_EQ(Px(l.screen, 250, 5), Opaque(kSprite1));
  EXPECT_EQ(Px(l.screen, 550, 5), Opaque(kSprite2));
  EXPECT_EQ(l.lastTransition, 7);
}

TEST(SpriteCommandTest, GraRightOfASingleSpriteEmptiesTheLeft) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@gra B01\n@gra B02 R\n\\w\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.spriteSpec, ",B02");
  EXPECT_EQ(Px(l.screen, 250, 5), kBack);
  EXPECT_EQ(Px(l.screen, 400, 5), kBack);
  EXPECT_EQ(Px(l.screen, 550, 5), Opaque(kSprite2));
}

struct SpecCase {
  const char* label;
  const char* spec;
  int count;
  const char* joined;
  int transition;  // 9: the sprite list was not shown
};

class SpriteSpecTest : public ::testing::TestWithParam<SpecCase> {};

TEST_P(SpriteSpecTest, SetsTheLayout) {
  const SpecCase& c = GetParam();
  GameFixture g;
  Pictures(g).Script("main", std::string("@gra AB01 9\n@spr ") + c.spec + "\n\\w\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.spriteCount, c.count);
  EXPECT_EQ(l.spriteSpec, c.joined);
  EXPECT_EQ(l.lastTransition, c.transition);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpriteSpecTest,
    ::testing::Values(SpecCase{"One", "B01", 1, "B01", 1}, SpecCase{"Two", "B01,B02", 2, "B01,B02", 1},
                      SpecCase{"TransitionField", "B01,B02,3", 2, "B01,B02", 3},
                      SpecCase{"TrailingCommaAddsAnEmptyRight", "B01,", 2, "B01,", 1},
                      SpecCase{"CommaAndTransitionRemovesAll", ",5", 0, "", 5},
                      SpecCase{"EmptyIsNotShown", "", 0, "", 9},
                      SpecCase{"DigitsThenLettersReadTheDigits", "B01,3AB", 1, "B01", 3},
                      SpecCase{"ColonsAndLowerCase", "b01:b02", 2, "B01,B02", 1},
                      SpecCase{"FiveNamesDrawNothing", "B01,B02,B03,B01,B02", 5, "B01,B02,B03,B01,B02", 1}),
    [](const ::testing::TestParamInfo<SpecCase>& info) { return std::string(info.param.label); });

TEST(SpriteCommandTest, TrailingCommaPutsTheSpriteLeftInTheTwoLayout) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@spr B01,\n\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 250, 5), Opaque(kSprite1));
  EXPECT_EQ(Px(g.Engine().layers.screen, 400, 5), kBack);
}

TEST(SpriteCommandTest, DashKeepsThePictureAtItsPosition) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@char B01,B02\n@spr B03,-\n\\w\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.spriteSpec, "B03,B02");
  EXPECT_EQ(Px(l.screen, 250, 5), Opaque(kSprite3));
  EXPECT_EQ(Px(l.screen, 550, 5), Opaque(kSprite2));
}

TEST(SpriteCommandTest, FiveNamesAreKeptButNotDrawn) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@spr B01,B02,B03,B01,B02\n\\w\n");
  g.Start();
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  for (int x : {100, 250, 300, 400, 500, 550, 700}) EXPECT_EQ(Px(s, x, 5), kBack) << x;
}

TEST(SpriteCommandTest, SixSpritesCycleThroughTheFiveSlotsInOrder) {
  GameFixture g;
  Pictures(g);
  for (int i = 4; i <= 6; ++i) AddSprite(g, "B0" + std::to_string(i), Bgr{i, i, i});
  g.Script("main", "@spr B01\n@spr B02\n@spr B03\n@spr B04\n@spr B05\n@spr B01\n@spr B06\n\\w\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  // B01 shown again is found in the cache; the sixth distinct picture replaces the first slot.
  EXPECT_EQ(l.cache[0].key, "B06");
  EXPECT_EQ(l.cache[1].key, "B02");
  EXPECT_EQ(l.cache[4].key, "B05");
  EXPECT_EQ(l.cacheCursor, 1);
  EXPECT_EQ(l.positionSlots[0], 0);
}

TEST(SpriteCommandTest, OverlongSpecsAreCut) {
  GameFixture g;
  Pictures(g).Script("main", "@spr " + std::string(100, 'B') + "," + std::string(400, 'C') + "\n\\w\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.positionNames[0], std::string(63, 'B'));
  EXPECT_EQ(l.positionNames[1], std::string(63, 'C'));
  EXPECT_EQ(l.spriteCount, 2);
}

TEST(SpriteCommandTest, LayoutVariablesStartAtTheirValuesAndMoveSprites) {
  GameFixture g;
  Pictures(g).Script("main", "!S080=100\n!S090=50\n@gra AB01\n@spr B01\n\\w\n");
  g.Start();
  g.Host().RunFrames(1);
  const int expected[] = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(g.Engine().vars.S(80 + i), expected[i]) << i;
    EXPECT_EQ(g.Engine().vars.S(90 + i), 0) << i;
  }
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  EXPECT_EQ(Px(s, 100, 55), Opaque(kSprite1));
  EXPECT_EQ(Px(s, 100, 45), kBack);
  EXPECT_EQ(Px(s, 400, 55), kBack);
}

struct OrderCase {
  const char* label;
  const char* script;
  Bgr front;
};

class DrawingOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(DrawingOrderTest, LaterPositionsAreInFront) {
  GameFixture g;
  Pictures(g).Script("main", std::string("@gra AB01\n") + GetParam().script + "\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 400, 5), Opaque(GetParam().front));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawingOrderTest,
    ::testing::Values(OrderCase{"TwoPlain", "!S081=400\n!S082=400\n@spr B01,B02\n", kSprite2},
                      OrderCase{"TwoFlipped", "!S024=1\n!S081=400\n!S082=400\n@spr B01,B02\n", kSprite1},
                      // Three: 0, 2, 1 either way.
                      OrderCase{"ThreeMiddleLast", "!S083=400\n!S085=400\n@spr B01,B02,B03\n", kSprite2},
                      OrderCase{"ThreeFlipped", "!S024=1\n!S083=400\n!S085=400\n@spr B01,B02,B03\n", kSprite2},
                      // Four: 0, 1, 3, 2; flipped 3, 2, 0, 1.
                      OrderCase{"FourPlain", "!S088=400\n!S089=400\n@spr B01,B02,B03,B01\n", kSprite3},
                      OrderCase{"FourFlipped", "!S024=1\n!S086=400\n!S087=400\n!S088=400\n@spr B01,B02,B03,B01\n",
                                kSprite2}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.label); });

TEST(SpriteCommandTest, SplitSpritesCarryTheirMaskOnTheRight) {
  GameFixture g;
  Bitmap split = Solid(2 * kSpriteW, kSpriteH, kSprite1);
  testing::FillColumns(split, kSpriteW, 2 * kSpriteW, {255, 255, 255});
  testing::FillColumns(split, kSpriteW, kSpriteW + kClearColumns, {0, 0, 0});
  Pictures(g).Entry("tq_gra.tvx", "BT", Packed(split)).Script("main", "@gra AB01\n@spr BT\n\\w\n");
  g.Start();
  g.Engine().config.TACHI_TYPE = 1;
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.cache[0].picture.width, kSpriteW);
  EXPECT_EQ(Px(l.screen, 380 + 2, 5), kBack);
  EXPECT_EQ(Px(l.screen, 380 + kClearColumns, 5), Opaque(kSprite1));
}

TEST(SpriteCommandTest, CompositeSpriteDrawsItsBaseAndPlacedParts) {
  GameFixture g;
  Pictures(g).Script("_sprset", ":C1\nB01\nB02,30,10\n:END\n").Script("main", "@gra AB01\n@spr #C1\n\\w\n");
  g.Start();
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  EXPECT_EQ(Px(s, 380 + 20, 5), Opaque(kSprite1));
  // The part is drawn at the base's left edge + 30, top + 10, in front of the base.
  EXPECT_EQ(Px(s, 380 + 30 + 20, 15), Opaque(kSprite2));
  EXPECT_EQ(Px(s, 380 + 30 + 20, 5), kBack);
}

TEST(SpriteCommandTest, CompositeBaseNeverEvictsASlotTheSameSceneUses) {
  GameFixture g;
  Pictures(g).Script("_sprset", ":C1\nB05\n:END\n");
  for (int i = 4; i <= 8; ++i) AddSprite(g, "B0" + std::to_string(i), Bgr{i, i, i});
  // B08, B07, B06, B04 and B03 fill the five slots, so the cursor is back on B08's slot when the
  // composite (drawn first, flipped) needs its base B05; B08 is still in use by position 0.
  g.Script("main",
           "@gra AB01\n@spr B08\n@spr B07\n@spr B06\n@spr B04\n@spr B03\n!S024=1\n!S082=700\n@spr B08,#C1\n\\one\n"
           "@fadein 1\n\\two\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.cache[static_cast<size_t>(l.positionSlots[0])].key, "B08");
  EXPECT_EQ(Px(l.screen, 250, 5), Opaque(Bgr{8, 8, 8}));
  EXPECT_EQ(Px(l.screen, 700, 5), Opaque(Bgr{5, 5, 5}));
  g.Click();
  g.RunToWait();
  EXPECT_EQ(Px(l.screen, 250, 5), Opaque(Bgr{8, 8, 8}));
}

TEST(SpriteCommandTest, SpriteChangesAreCountedOutsideSkipAndFirstAutoSetting) {
  GameFixture g;
  Pictures(g).Script("main", "@spr B01\n@spr B02\n!S026=1\n@spr B01\n!S026=2\n@spr B03\n\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(g.Engine().layers.spriteChanges, 3);
}

TEST(ClrbCommandTest, WithoutANumberChangesLayersButNotThePicture) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@spr B01\n@clrb\n\\cleared\n@fadein 2\n\\shown\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.spriteCount, 0);
  EXPECT_EQ(Px(l.screen, 400, 5), Opaque(kSprite1));
  EXPECT_EQ(Px(g.Host().Window(), 400, 5), Opaque(kSprite1));
  g.Click();
  g.RunToWait();
  EXPECT_EQ(Px(l.screen, 400, 5), kBack);
  EXPECT_EQ(Px(g.Host().Window(), 400, 5), kBack);
  EXPECT_EQ(l.lastTransition, 3);
  EXPECT_EQ(g.Engine().vars.S(16), 0);  // every transition resets the speed
}

TEST(ClrbCommandTest, LeftOrRightEmptiesOnePosition) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@spr B01,B02\n@clrb 4R\n\\one\n@clrb l\n\\two\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.spriteSpec, "B01,");
  EXPECT_EQ(l.spriteCount, 2);
  EXPECT_EQ(l.lastTransition, 4);
  EXPECT_EQ(Px(l.screen, 250, 5), Opaque(kSprite1));
  EXPECT_EQ(Px(l.screen, 550, 5), kBack);
  g.Click();
  g.RunToWait();
  EXPECT_EQ(l.spriteSpec, ",");
}

TEST(ClrbCommandTest, LeftOfASingleSpriteKeepsItDrawnWhileTheCountIsOne) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@spr B01\n@clrb 4L\n\\one\n@spr B02\n\\two\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(l.spriteCount, 1);
  EXPECT_EQ(l.spriteSpec, ",");
  EXPECT_EQ(l.lastTransition, 4);
  // The picture was composed again, and the single layout still draws its position.
  EXPECT_EQ(Px(l.screen, 400, 5), Opaque(kSprite1));
  EXPECT_EQ(Px(g.Host().Window(), 400, 5), Opaque(kSprite1));
  g.Click();
  g.RunToWait();
  EXPECT_EQ(Px(l.screen, 400, 5), Opaque(kSprite2));
}

TEST(FadeCommandTest, FadeoutShowsBlackWithoutSprites) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB02\n@spr B01\n@fadeout 4\n\\w\n");
  g.Start();
  g.RunToWait();
  const Layers& l = g.Engine().layers;
  EXPECT_EQ(Px(l.screen, 400, 5), (Bgr{0, 0, 0}));
  EXPECT_EQ(Px(l.screen, 100, 100), (Bgr{0, 0, 0}));
  EXPECT_EQ(l.spriteCount, 0);
  EXPECT_EQ(l.lastTransition, 3);
  EXPECT_EQ(g.Engine().vars.S(16), 0);  // every transition resets the speed
}

TEST(PictureSeenTest, BackgroundsOnTheGalleryListAreMarked) {
  GameFixture g;
  Pictures(g).Script("main", "@gra ab02\n\\w\n");
  g.Start();
  g.Engine().layers.galleryPictures = {"AX", "AB01", "AB02"};
  g.RunToWait();
  EXPECT_FALSE(g.Engine().vars.D.Test(1));
  EXPECT_TRUE(g.Engine().vars.D.Test(2));
}

}  // namespace
}  // namespace torvel

namespace torvel {
namespace {

TEST(SpriteCommandTest, PositionsAtTheEndsOfTheIntegerRangeDrawNothing) {
  GameFixture g;
  Pictures(g).Script("_sprset", ":C1\nB01\nB02,2147483647,-2147483648\n:END\n");
  g.Script("main",
           "!S020=0\n!S080=2147483647\n!S090=-2147483648\n@gra AB01\n@spr B01\n!S081=-2147483648\n@spr #C1,B02\n"
           "@ovr B01,1,2147483647,2147483647\n!S023=100\n!S021=-2147483648\n@ovr B02,1\n"
           "@partsload B01\n@ptset 0,0,40,30,-2147483648,2147483647\n\\w\n");
  g.Start();
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  EXPECT_EQ(Px(s, 0, 0), kBack);
  EXPECT_EQ(Px(s, 799, 599), kBack);
  EXPECT_EQ(Px(s, 550, 5), Opaque(kSprite2));
}

}  // namespace
}  // namespace torvel
