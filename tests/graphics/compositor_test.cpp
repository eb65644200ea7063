// The compositor through the headless host: overlays, tints, composite backgrounds and their
// export, checked at chosen pixels of the screen buffer.
#include <gtest/gtest.h>

#include <filesystem>

#include "picture_test_support.h"
#include "resources/file_io.h"
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
constexpr Bgr kOverlay{50, 60, 70};
constexpr Bgr kSprite{100, 150, 200};

// A 20 × 10 side-by-side overlay: colour left, an opaque mask right.
Bitmap SideBySide(Bgr colour) {
  Bitmap b = Solid(20, 10, colour);
  testing::FillColumns(b, 10, 20, {255, 255, 255});
  return b;
}

GameFixture& Pictures(GameFixture& g) {
  g.Entry("tq_gra.tvx", "AB01", Packed(Solid(800, 600, kBack)));
  g.Entry("tq_gra.tvx", "AB02", Packed(Gradient(800, 600)));
  g.Entry("tq_gra.tvx", "OV1", Packed(SideBySide(kOverlay)));
  g.Entry("tq_gra.tvx", "OVC", Packed(Solid(30, 10, {200, 100, 0})));
  g.Entry("tq_gra.tvx", "B01", Packed(Solid(40, 30, kSprite)));
  g.Entry("tq_gra.tvx", "M01", Packed(Solid(40, 30, {255, 255, 255})));
  return g;
}

TEST(OverlayTest, NotDrawnWhileS020HasItsStartValue) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@ovr OV1,2,100,200\n\\w\n");
  g.Start();
  g.RunToWait();
  TForm1& e = g.Engine();
  EXPECT_EQ(e.vars.S(20), 250);
  EXPECT_EQ(e.vars.S(35), 1);
  EXPECT_EQ(e.vars.S(21), 100);
  EXPECT_EQ(e.vars.S(22), 200);
  EXPECT_EQ(e.layers.lastTransition, 2);
  EXPECT_FALSE(e.text.windowShown);
  EXPECT_EQ(Px(e.layers.screen, 105, 205), kBack);
}

TEST(OverlayTest, SideBySideOverlayIsDrawnThroughItsMask) {
  GameFixture g;
  Pictures(g).Script("main", "!S020=0\n@gra AB01\n@ovr OV1,1,100,200\n\\w\n@ovr off\n\\off\n");
  g.Start();
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  EXPECT_EQ(Px(s, 100, 200), Opaque(kOverlay));
  EXPECT_EQ(Px(s, 109, 209), Opaque(kOverlay));  // the two-pixel tail after a group of eight
  EXPECT_EQ(Px(s, 110, 205), kBack);
  EXPECT_EQ(Px(s, 105, 210), kBack);
  g.Click();
  g.RunToWait();
  EXPECT_EQ(g.Engine().vars.S(35), 0);
  EXPECT_EQ(g.Engine().layers.overlayName, "off");
  EXPECT_EQ(Px(s, 100, 200), kBack);
}

TEST(OverlayTest, ConstantOpacityOverlayIsBlendedAndClippedToTheScene) {
  GameFixture g;
  Pictures(g).Script("main", "!S020=0\n!S023=64\n@gra AB01\n@ovr OVC,1,785,595\n\\w\n");
  g.Start();
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  // (overlay × 64 + scene × 192) >> 8
  const Bgr blended{(200 * 64 + 10 * 192) >> 8, (100 * 64 + 20 * 192) >> 8, (0 * 64 + 30 * 192) >> 8};
  EXPECT_EQ(Px(s, 785, 595), blended);
  EXPECT_EQ(Px(s, 799, 599), blended);
  EXPECT_EQ(Px(s, 784, 599), kBack);
}

TEST(OverlayTest, ConstantOpacityOverlayLeftAndAboveTheSceneIsClipped) {
  GameFixture g;
  Pictures(g).Script("main", "!S020=0\n!S023=256\n@gra AB01\n@ovr OVC,1,-25,-5\n\\w\n");
  g.Start();
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  EXPECT_EQ(Px(s, 0, 0), (Bgr{200, 100, 0}));
  EXPECT_EQ(Px(s, 4, 4), (Bgr{200, 100, 0}));
  EXPECT_EQ(Px(s, 5, 0), kBack);
  EXPECT_EQ(Px(s, 0, 5), kBack);
}

TEST(OverlayTest, S020ChoosesUnderOrOverTheSprites) {
  for (int order : {0, 1}) {
    SCOPED_TRACE(order);
    GameFixture g;
    Pictures(g).Script("main", "!S020=" + std::to_string(order) + "\n@gra AB01\n@spr B01\n@ovr OV1,1,395,0\n\\w\n");
    g.Start();
    g.RunToWait();
    EXPECT_EQ(Px(g.Engine().layers.screen, 400, 5), Opaque(order == 0 ? kSprite : kOverlay));
  }
}

TEST(OverlayTest, HiddenWhileTheBacklogShowsAnEarlierPage) {
  GameFixture g;
  Pictures(g).Script("main", "!S020=0\n@gra AB01\n@ovr OV1,1,100,200\n\\w\n");
  g.Start();
  g.RunToWait();
  g.Engine().ctl.screenMode = smPageBack;
  g.Engine().PresentScene(1);
  EXPECT_EQ(Px(g.Engine().layers.screen, 100, 200), kBack);
}

struct TintCase {
  const char* label;
  const char* calc;
  Bgr expected;  // at (5, 5) of the solid background
};

class SceneTintTest : public ::testing::TestWithParam<TintCase> {};

TEST_P(SceneTintTest, AppliesToTheWholeScene) {
  GameFixture g;
  Pictures(g).Script("main", std::string(GetParam().calc) + "\n@gra AB01\n\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 5, 5), GetParam().expected);
  EXPECT_EQ(Px(g.Engine().layers.scene, 795, 595), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SceneTintTest,
                         ::testing::Values(TintCase{"Darken", "!S011=1\n!S013=8", Bgr{5, 10, 15}},
                                           // g = 60 / 3 = 20: B 5, G 15, R 20
                                           TintCase{"Sepia", "!S011=2", Bgr{5, 15, 20}},
                                           TintCase{"Grey", "!S011=3", Bgr{20, 20, 20}}),
                         [](const ::testing::TestParamInfo<TintCase>& info) { return std::string(info.param.label); });

TEST(SceneTintTest, UpsideDownIsReappliedAtEveryPresentation) {
  GameFixture g;
  Pictures(g).Script("main", "!S011=4\n@gra AB02\n\\one\n@fadein 1\n\\two\n");
  g.Start();
  g.RunToWait();
  const Bgr corner{799 & 255, 599 & 255, 7};
  EXPECT_EQ(Px(g.Engine().layers.screen, 0, 0), corner);
  g.Click();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 0, 0), corner);
  EXPECT_EQ(Px(g.Engine().layers.screen, 10, 20), (Bgr{789 & 255, 579 & 255, 7}));
}

TEST(CompositeBackgroundTest, BaseWithSideBySideParts) {
  GameFixture g;
  Pictures(g).Script("_bgset", ":BG1\nAB02\nOV1,100,200\n:END\n").Script("main", "@bg #bg1\n\\w\n@bg #NONE\n\\w2\n");
  g.Start();
  g.RunToWait();
  const Bitmap& s = g.Engine().layers.screen;
  EXPECT_EQ(Px(s, 50, 60), (Bgr{50, 60, 7}));
  EXPECT_EQ(Px(s, 105, 205), Opaque(kOverlay));
  g.Click();
  g.RunToWait();
  // An entry that is missing keeps the background.
  EXPECT_EQ(Px(s, 105, 205), Opaque(kOverlay));
}

TEST(CompositeBackgroundTest, DebugOutExportsIntoTheGameFolderUnderSafeNames) {
  GameFixture g;
  Pictures(g).Script("_bgset", ":EARLY\nAB01\n$DEBUG_OUT\n:BG1\nAB02\n:..\\..\\EVIL\nAB01\n:END\n:LATE\nAB01\n");
  g.Script("main", "\\w\n");
  g.Start();
  namespace fs = std::filesystem;
  const fs::path folder = g.Dir() / "BMP";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(folder / "BG1.bmp", bytes));
  ASSERT_EQ(bytes.size(), 54u + 800u * 600u * 3u);
  // Bottom-up: the first pixel stored is (0, 599) of the gradient.
  EXPECT_EQ(bytes[54], 0);
  EXPECT_EQ(bytes[55], 599 & 255);
  EXPECT_EQ(bytes[56], 7);
  EXPECT_TRUE(fs::exists(folder / ".._.._EVIL.bmp"));
  EXPECT_FALSE(fs::exists(folder / "EARLY.bmp"));
  EXPECT_FALSE(fs::exists(folder / "LATE.bmp"));
  EXPECT_FALSE(fs::exists(g.Dir().parent_path() / "EVIL.bmp"));
  // The play starts on black all the same.
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.background, 5, 5), (Bgr{0, 0, 0}));
}

TEST(PictureLoaderTest, JpegArchiveFirstThenGraphicArchivesFromTheLast) {
  GameFixture g;
  g.Entry("tq_gjp.tvx", "P1", testing::Jpeg(Solid(16, 16, {200, 100, 50})))
      .Entry("tq_gra.tvx", "P1", Packed(Solid(4, 4, {1, 1, 1})))
      .Entry("tq_gra.tvx", "P2", Packed(Solid(4, 4, {1, 1, 1})))
      .Entry("tq_gra2.tvx", "P2", Packed(Solid(4, 4, {2, 2, 2})))
      .Entry("tq_gra3.tvx", "P2", Packed(Solid(4, 4, {3, 3, 3})))
      .Entry("tq_gra.tvx", "P3", Packed(Solid(4, 4, {1, 1, 1})))
      .Entry("tq_gra2.tvx", "P3", Packed(Solid(5, 4, {2, 2, 2})))
      .Script("main", "\\w\n");
  g.Start();
  TForm1& e = g.Engine();
  Bitmap b;
  ASSERT_TRUE(e.LoadImage("p1", b));
  EXPECT_EQ(b.width, 16);
  Bgr c = Px(b, 8, 8);
  EXPECT_NEAR(c[0], 200, 2);
  EXPECT_NEAR(c[1], 100, 2);
  EXPECT_NEAR(c[2], 50, 2);
  ASSERT_TRUE(e.LoadImage("P2", b));
  EXPECT_EQ(Px(b, 0, 0), (Bgr{3, 3, 3}));
  ASSERT_TRUE(e.LoadImage("P3", b));
  EXPECT_EQ(b.width, 5);
  EXPECT_TRUE(e.ImageExists("p2"));
  EXPECT_FALSE(e.ImageExists("P4"));
  EXPECT_FALSE(e.LoadImage("P4", b));
  EXPECT_EQ(b.width, 5);
  // LoadPicture reports failure the other way round.
  EXPECT_TRUE(e.LoadPicture("P4", b));
  EXPECT_FALSE(e.LoadPicture("S123", b));
  EXPECT_EQ(Px(b, 0, 0), (Bgr{48, 32, 16}));
}

TEST(PictureLoaderTest, JpegBackgroundIsShown) {
  GameFixture g;
  g.Entry("tq_gjp.tvx", "AJ", testing::Jpeg(Solid(800, 600, {40, 80, 120}))).Script("main", "@gra AJ\n\\w\n");
  g.Start();
  g.RunToWait();
  Bgr c = Px(g.Engine().layers.screen, 400, 300);
  EXPECT_NEAR(c[0], 40, 2);
  EXPECT_NEAR(c[1], 80, 2);
  EXPECT_NEAR(c[2], 120, 2);
}

TEST(PictureLoaderTest, SmallBackgroundLeavesTheRestBlack) {
  GameFixture g;
  Pictures(g)
      .Entry("tq_gra.tvx", "ASMALL", Packed(Solid(10, 10, kBack)))
      .Script("main", "@gra ASMALL\n\\w\n@gra SFFF\n\\w2\n");
  g.Start();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 9, 9), kBack);
  EXPECT_EQ(Px(g.Engine().layers.screen, 10, 9), (Bgr{0, 0, 0}));
  // A colour after it covers the whole screen again.
  g.Click();
  g.RunToWait();
  EXPECT_EQ(Px(g.Engine().layers.screen, 799, 599), (Bgr{240, 240, 240}));
}

}  // namespace
}  // namespace torvel

namespace torvel {
namespace {

TEST(FullScreenTextTest, SceneIsShownFirstWhenS009AsksForIt) {
  struct Case {
    const char* label;
    const char* script;
    int transition;
  };
  const Case cases[] = {
      {"AlwaysTwoSteps", "@mode 1\n!S009=2\n@spr B01\n", 6},
      {"NewBackground", "@mode 1\n!S009=1\n@gra AB01 4\n", 6},
      {"SameBackground", "@gra AB01\n@mode 1\n!S009=1\n@fadein 1\n@spr B01\n", 1},
      {"WindowMode", "!S009=2\n@gra AB01 4\n", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    GameFixture g;
    Pictures(g).Script("main", std::string(c.script) + "\\w\n");
    g.Start();
    g.RunToWait();
    EXPECT_EQ(g.Engine().layers.lastTransition, c.transition);
  }
}

}  // namespace
}  // namespace torvel

namespace torvel {
namespace {

TEST(SceneStateTest, StateReportNamesTheScene) {
  GameFixture g;
  Pictures(g).Script("main", "@gra AB01\n@spr b01,\n@ovr OV1,1,0,0\n\\w\n");
  g.Start();
  g.RunToWait();
  EXPECT_NE(g.Engine().DescribeState().find(
                "\"scene\":{\"background\":\"AB01\",\"sprites\":\"B01,\",\"spriteCount\":2,\"overlay\":\"OV1\"}"),
            std::string::npos);
}

}  // namespace
}  // namespace torvel
