// The engine's glyph operations on the headless host: characters shown on the window at once,
// strings in colour codes, and the completion percentage of `special 6` drawn on the window only.
#include <gtest/gtest.h>

#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

class GlyphOutput : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& main) {
    game.Script("main", main);
    TForm1& e = game.Start();
    e.settings.FontName = Utf8ToSjis("ＭＳ ゴシック");
    e.settings.FONTSIZE = 22;
    e.ResetGlyphCache();
    game.Host().RunFrames(1);
    return e;
  }
  // Pixels of `b` inside the rectangle brighter than `level` in every channel.
  static int Bright(const Bitmap& b, Rect r, int level) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const uint8_t* p = b.At(x, y);
        n += p[0] > level && p[1] > level && p[2] > level;
      }
    }
    return n;
  }

  testing::GameFixture game;
};

TEST_F(GlyphOutput, ShowGlyphDrawsOnTheScreenAndShowsOnlyTheCell) {
  TForm1& e = Start("\\\n");
  e.layers.screen.Fill(0, 0, 0);
  Bitmap window(kScreenWidth, kScreenHeight);
  window.Fill(1, 2, 3);
  game.Host().Present(window, Rect{0, 0, kScreenWidth, kScreenHeight});
  e.vars.S(kVarTextColour) = 0xFFFFFF;
  e.SetTextColour(0);
  e.PrepareGlyph(Utf8ToSjis("あ"));
  e.ShowGlyph(100, 200);
  const Rect cell{100, 200, 132, 236};
  EXPECT_GT(Bright(e.layers.screen, cell, 200), 20);
  EXPECT_GT(Bright(game.Host().Window(), cell, 200), 20);
  // Outside the cell the window keeps what it showed.
  EXPECT_EQ(game.Host().Window().At(99, 199)[0], 1);
  EXPECT_EQ(game.Host().Window().At(140, 250)[2], 3);
  // A cell at the screen's corner is clipped and still shown.
  e.ShowGlyph(790, -20);
  e.ShowGlyph(-20, 560);
}

TEST_F(GlyphOutput, DrawStringPlacesCharactersByBytePosition) {
  TForm1& e = Start("\\\n");
  e.config.TX_PITCH_X = 11;
  Bitmap target(400, 60);
  e.DrawString(Utf8ToSjis("■") + "A" + Utf8ToSjis("■"), 0, target, 2, 10);
  // Characters start at bytes 1, 3 and 4: x = 11, 33, 44; red, from colour code 2.
  EXPECT_EQ(target.At(11 + 10, 10 + 16)[2], 254);
  EXPECT_EQ(target.At(11 + 10, 10 + 16)[0], 0);
  EXPECT_EQ(target.At(44 + 10, 10 + 16)[2], 254);
  Bitmap centred(400, 60);
  e.DrawStringCentred(Utf8ToSjis("■"), 200, centred, 8, 10);
  // x = 200 + 11 − (2 × 11) / 2 = 200.
  EXPECT_EQ(centred.At(200 + 10, 10 + 16)[1], 254);
  EXPECT_EQ(centred.At(200 - 3, 10 + 16)[1], 0);
}

TEST_F(GlyphOutput, CompletionPercentIsDrawnOnTheWindowOnly) {
  TForm1& e = Start("@special 6\n\\\n");
  e.layers.screen.Fill(0, 0, 0);
  Bitmap window(kScreenWidth, kScreenHeight);
  game.Host().Present(window, Rect{0, 0, kScreenWidth, kScreenHeight});
  const Bitmap screenBefore = e.layers.screen;
  game.Host().RunFrames(1);
  // "0" in white, ending at x = 570, from y = 12, 32 pixels high.
  EXPECT_GT(Bright(game.Host().Window(), Rect{540, 12, 570, 50}, 200), 20);
  EXPECT_EQ(Bright(game.Host().Window(), Rect{571, 0, 800, 600}, 0), 0);
  EXPECT_EQ(Bright(game.Host().Window(), Rect{0, 0, 530, 600}, 0), 0);
  EXPECT_EQ(e.layers.screen.pixels, screenBefore.pixels);
}

}  // namespace
}  // namespace torvel
