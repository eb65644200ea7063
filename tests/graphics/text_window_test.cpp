// The text window on the headless engine: the frame recoloured by the player's settings and
// composed over the scene (checked against a small model of the blends), name plates, the
// click-wait icon and the open and close commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture_test_support.h"
#include "support/text_game.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::kTextConfig;
using testing::Packed;
using testing::Px;

// ---- a model of the masked row blend: groups of eight bytes, an all-clear group copied ----
std::vector<uint8_t> ModelBlend(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                                const std::vector<uint8_t>& m, size_t groups) {
  std::vector<uint8_t> d = a;
  for (size_t g = 0; g < groups; ++g) {
    bool clear = true;
    for (size_t i = g * 8; i < g * 8 + 8; ++i) clear = clear && m[i] == 0;
    if (clear) continue;
    for (size_t i = g * 8; i < g * 8 + 8; ++i)
      d[i] = static_cast<uint8_t>((a[i] * (255 - m[i]) >> 8) + (b[i] * m[i] >> 8));
  }
  return d;
}

std::vector<uint8_t> RowBytes(const Bitmap& b, int y) { return {b.Row(y), b.Row(y) + b.width * 3}; }

constexpr int kW = 66;  // 198 bytes a row: 24 whole groups and 6 bytes the blend leaves alone
constexpr int kH = 12;
constexpr int kX = 100;
constexpr int kY = 500;
constexpr Bgr kScene{90, 60, 30};

const std::string kSmallWindow =
    "TXW_OFS_X:100\nTXW_OFS_Y:500\nTXW_SIZE_X:66\nTXW_SIZE_Y:12\n"
    "TXW_COLOR_R:16\nTXW_COLOR_G:24\nTXW_COLOR_B:64\nTXW_ALPHA:160\nTXW_ALPHA2:128\n"
    "TX_OFS_X:4\nTX_OFS_Y:0\nTX_PITCH_X:11\nTX_PITCH_Y:30\nMOJI_MAX_X:10\nMOJI_MAX_Y:1\n";

Bitmap FramePicture() {
  Bitmap b(kW, 2 * kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint8_t* c = b.At(x, y);
      c[0] = static_cast<uint8_t>(x * 3);
      c[1] = static_cast<uint8_t>(y * 10);
      c[2] = static_cast<uint8_t>(200 - x);
      uint8_t* o = b.At(x, kH + y);
      // The first eight pixels are clear, so whole clear groups occur.
      const uint8_t alpha = x < 8 ? 0 : static_cast<uint8_t>((x * 4 + y * 7) & 0xFF);
      o[0] = o[1] = o[2] = alpha;
    }
  }
  return b;
}

Bitmap BodyMask() {
  Bitmap b(kW, kH);
  for (int y = 2; y < 10; ++y) {
    for (int x = 16; x < 48; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = p[1] = p[2] = y == 5 ? 128 : 255;
    }
  }
  return b;
}

class TextWindowPicture : public ::testing::Test {
 protected:
  TForm1& Start(bool withPictures) {
    if (withPictures) {
      game.Entry("tq_gra.tvx", "sys_tw", Packed(FramePicture())).Entry("tq_gra.tvx", "sys_tw1", Packed(BodyMask()));
    }
    game.Script("_config", kSmallWindow).Script("main", "\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  // Composes the shown, empty window over a solid scene.
  void Compose(TForm1& e) {
    e.layers.scene.Fill(kScene[0], kScene[1], kScene[2]);
    e.text.windowShown = true;
    e.textWindow.page.Clear();
    e.textWindow.cacheValid = false;
    e.ComposeScreen();
  }
  GameFixture game;
};

TEST_F(TextWindowPicture, RecolouredFrameOverASolidSceneMatchesTheModel) {
  TForm1& e = Start(true);
  e.settings.TXBG_R = 200;
  e.settings.TXBG_G = 40;
  e.settings.TXBG_B = 90;
  e.settings.TXBG_A = 90;
  e.BuildWindowFrame();
  Compose(e);

  // The model: recolour the frame's colour and opacity rows through the body mask, then blend
  // the scene with the frame colour through the frame opacity.
  const Bitmap frame = FramePicture();
  const Bitmap body = BodyMask();
  const size_t groups = kW * 3 / 8;
  std::vector<uint8_t> solid, grey(kW * 3, 90);
  for (int x = 0; x < kW; ++x) solid.insert(solid.end(), {90, 40, 200});
  const std::vector<uint8_t> scene = RowBytes(testing::Solid(kW, 1, kScene), 0);
  for (int r = 0; r < kH; ++r) {
    SCOPED_TRACE(r);
    const std::vector<uint8_t> colour = ModelBlend(RowBytes(frame, r), solid, RowBytes(body, r), groups);
    const std::vector<uint8_t> alpha = ModelBlend(RowBytes(frame, kH + r), grey, RowBytes(body, r), groups);
    const std::vector<uint8_t> expected = ModelBlend(scene, colour, alpha, groups);
    const std::vector<uint8_t> shown(e.layers.screen.At(kX, kY + r), e.layers.screen.At(kX, kY + r) + kW * 3);
    ASSERT_EQ(shown, expected);
  }
  // Around the window the scene is untouched.
  EXPECT_EQ(Px(e.layers.screen, kX - 1, kY), kScene);
  EXPECT_EQ(Px(e.layers.screen, kX + kW, kY + 3), kScene);
  EXPECT_EQ(Px(e.layers.screen, kX, kY - 1), kScene);
  EXPECT_EQ(Px(e.layers.screen, kX, kY + kH), kScene);
  // The clean copy holds the same picture, and a second composition reuses it.
  EXPECT_EQ(e.textWindow.clean.pixels, e.textWindow.buffer.pixels);
  EXPECT_TRUE(e.textWindow.cacheValid);
}

TEST_F(TextWindowPicture, SettingsEqualToTheDefaultsKeepTheFramesOwnPicture) {
  TForm1& e = Start(true);
  e.settings.TXBG_R = e.config.TXW_COLOR_R;
  e.settings.TXBG_G = e.config.TXW_COLOR_G;
  e.settings.TXBG_B = e.config.TXW_COLOR_B;
  e.settings.TXBG_A = e.config.TXW_ALPHA;
  e.BuildWindowFrame();
  EXPECT_EQ(e.textWindow.frame.pixels, FramePicture().pixels);
  // Only the colour changed: the opacity rows stay the frame's own.
  e.settings.TXBG_B = 250;
  e.BuildWindowFrame();
  const Bitmap frame = FramePicture();
  for (int r = kH; r < 2 * kH; ++r) EXPECT_EQ(RowBytes(e.textWindow.frame, r), RowBytes(frame, r)) << r;
  EXPECT_NE(RowBytes(e.textWindow.frame, 3), RowBytes(frame, 3));
}

TEST_F(TextWindowPicture, WithoutAFramePictureTheBodyHasThePlayersColourAndOpacity) {
  TForm1& e = Start(false);
  e.settings.TXBG_R = 255;
  e.settings.TXBG_G = 0;
  e.settings.TXBG_B = 100;
  e.settings.TXBG_A = 200;
  e.BuildWindowFrame();
  Compose(e);
  auto mix = [](int scene, int colour) { return (scene * 55 >> 8) + (colour * 200 >> 8); };
  EXPECT_EQ(Px(e.layers.screen, kX + 10, kY + 5), (Bgr{mix(kScene[0], 100), mix(kScene[1], 0), mix(kScene[2], 255)}));
  // The last six bytes of each row are past the whole groups: the scene shows there.
  EXPECT_EQ(Px(e.layers.screen, kX + kW - 1, kY + 5), kScene);
}

TEST_F(TextWindowPicture, FullScreenPageDarkensTheScene) {
  TForm1& e = Start(false);
  e.settings.TXBG_A2 = 128;
  e.vars.S(kVarDisplayMode) = 1;
  Compose(e);
  const int v = kScene[0] * (255 - 128) >> 8;
  EXPECT_EQ(Px(e.layers.screen, 3, 3)[0], v);
  EXPECT_EQ(Px(e.layers.screen, 799, 599)[0], v);
}

class TextWindowBehaviour : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& main) {
    game.Script("_config", kTextConfig).Script("main", main);
    TForm1& e = game.Start();
    e.settings.Delay = 1;
    game.RunToWait();
    return e;
  }
  // The brightest pixel of a rectangle of the screen buffer.
  static Bgr Brightest(const Bitmap& b, Rect r) {
    Bgr best{0, 0, 0};
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        Bgr p = Px(b, x, y);
        if (p[0] + p[1] + p[2] > best[0] + best[1] + best[2]) best = p;
      }
    }
    return best;
  }
  GameFixture game;
};

struct PlateCase {
  const char* name;
  std::string speaker;
  Bgr brightest;  // channels above 200 marked 255, below 100 marked 0
};

class NamePlateTest : public TextWindowBehaviour, public ::testing::WithParamInterface<PlateCase> {};

TEST_P(NamePlateTest, PlateShowsTheNameInTheSpeakersColour) {
  TForm1& e = Start(">" + GetParam().speaker + "\nあ\n\\\n");
  const int x = e.textWindow.x + e.config.NP_OFS_X;
  const int y = e.textWindow.y + e.config.NP_OFS_Y;
  Bgr best = Brightest(e.layers.screen, Rect{x, y, x + e.config.NP_SZ_X, y + e.config.NP_SZ_Y});
  for (int c = 0; c < 3; ++c) {
    if (GetParam().brightest[c] == 255) {
      EXPECT_GT(best[c], 200) << c;
    } else {
      EXPECT_LT(best[c], 100) << c;
    }
  }
  // The plate is on the window too.
  EXPECT_EQ(Brightest(game.Host().Window(), Rect{x, y, x + e.config.NP_SZ_X, y + e.config.NP_SZ_Y}), best);
}

INSTANTIATE_TEST_SUITE_P(Text, NamePlateTest,
                         ::testing::Values(PlateCase{"Blue", "湊", {255, 0, 0}}, PlateCase{"Red", "少女", {0, 0, 255}},
                                           PlateCase{"UnknownIsWhite", "駅員", {255, 255, 255}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextWindowBehaviour, SpeakerEntriesPastFiftyNineAreNeverFound) {
  game.Script("_config", std::string(kTextConfig) + "NAME:60,駅員,00G\n").Script("main", ">駅員\n\\\n");
  TForm1& e = game.Start();
  game.RunToWait();
  EXPECT_EQ(static_cast<uint32_t>(e.vars.S(kVarTextColour)), 0xFFFFFFu);
}

TEST_F(TextWindowBehaviour, ClickWaitIconBlendsOnTheWindowOnlyAndIsErased) {
  // Four red frames, fully opaque.
  Bitmap icon(96, 48);
  icon.Fill(0, 0, 255);
  testing::FillColumns(icon, 0, 0, {0, 0, 0});
  for (int y = 24; y < 48; ++y) {
    for (int x = 0; x < 96; ++x) {
      uint8_t* p = icon.At(x, y);
      p[0] = p[1] = p[2] = 255;
    }
  }
  game.Entry("tq_gra.tvx", "sys_clickw", Packed(icon));
  TForm1& e = Start("あ\n\\\n");
  const int x = e.textWindow.x + e.config.CLICK_WAIT_OFS_X;
  const int y = e.textWindow.y + e.config.CLICK_WAIT_OFS_Y;
  const Bgr under = Px(e.layers.screen, x + 5, y + 5);
  ASSERT_EQ(e.textWindow.clickIcon.width, 96);
  e.AnimateClickWaitIcon();
  EXPECT_TRUE(e.textWindow.iconShown);
  EXPECT_EQ(Px(game.Host().Window(), x + 5, y + 5), (Bgr{0, 0, 254}));
  EXPECT_EQ(Px(e.layers.screen, x + 5, y + 5), under);
  e.ClickWaitErase();
  EXPECT_FALSE(e.textWindow.iconShown);
  EXPECT_EQ(Px(game.Host().Window(), x + 5, y + 5), under);
}

TEST_F(TextWindowBehaviour, FullScreenIconIsHiddenWhenItWouldReachPastTheLastRow) {
  TForm1& e = Start("@mode 1\nあ\n\\\n");
  ASSERT_EQ(e.vars.S(kVarDisplayMode), 1);
  // TX2_OFS_Y 48 and pitch 32: row 16 ends at 584, row 17 at 616.
  for (auto [row, shown] : {std::pair{16, true}, std::pair{17, false}}) {
    SCOPED_TRACE(row);
    e.textWindow.iconShown = false;
    e.text.cursorRow = row;
    e.AnimateClickWaitIcon();
    EXPECT_EQ(e.textWindow.iconShown, shown);
  }
}

TEST_F(TextWindowBehaviour, WinCloseOnTheFullScreenPageDoesNothing) {
  TForm1& e = Start("@mode 1\nあ\n\\\n@win_close\n\\\n");
  ASSERT_TRUE(e.text.windowShown);
  game.Click();
  game.RunToWait();
  EXPECT_TRUE(e.text.windowShown);
  EXPECT_EQ(e.vars.S(kVarDisplayMode), 1);
}

TEST_F(TextWindowBehaviour, OpenAndCloseFadeUnlessSkipping) {
  TForm1& e = Start("\\\n");
  for (bool skipping : {false, true}) {
    SCOPED_TRACE(skipping);
    e.ctl.skipActive = skipping;
    uint32_t before = game.Host().TickCount();
    e.OpenWindow();
    EXPECT_TRUE(e.text.windowShown);
    const uint32_t opening = game.Host().TickCount() - before;
    // The window shows the composed screen at the end either way.
    EXPECT_EQ(game.Host().Window().pixels, e.layers.screen.pixels);
    before = game.Host().TickCount();
    e.CloseWindow();
    EXPECT_FALSE(e.text.windowShown);
    const uint32_t closing = game.Host().TickCount() - before;
    if (skipping) {
      EXPECT_EQ(opening, 0u);
      EXPECT_EQ(closing, 0u);
    } else {
      // 256 opacity steps of 8 per 10 ms frame.
      EXPECT_GE(opening, 300u);
      EXPECT_GE(closing, 300u);
    }
    EXPECT_EQ(e.layers.screen.pixels, e.layers.scene.pixels);
  }
}

TEST_F(TextWindowBehaviour, RedrawTextPageDrawsThePageAgain) {
  TForm1& e = Start(">湊\nあい\n\\\n");
  const Bitmap typed = e.layers.screen;
  e.textWindow.cacheValid = false;
  e.RedrawTextWindow();
  EXPECT_EQ(e.layers.screen.pixels, typed.pixels);
}

}  // namespace
}  // namespace torvel
