// A line typed through the message processor with the demo's font, checked against a model
// built in the test from FreeType's own rendering of the face fontconfig picks: gray levels
// reduced to 0..64 and mapped to coverage, the neighbour-mean shadow, and both blends of each
// cell in typing order over a black window.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include FT_FREETYPE_H

#include "support/text_game.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::Sj;

constexpr int kCellW = 32;
constexpr int kCellH = 36;
constexpr int kFontPixels = 22;

const std::string kBlackWindowConfig =
    "TXW_OFS_X:0\nTXW_OFS_Y:440\nTXW_SIZE_X:800\nTXW_SIZE_Y:152\n"
    "TXW_COLOR_R:0\nTXW_COLOR_G:0\nTXW_COLOR_B:0\nTXW_ALPHA:255\n"
    "FONT_NAME:ＭＳ ゴシック\nFONT_SIZE:22\n"
    "TX_OFS_X:64\nTX_OFS_Y:14\nTX_PITCH_X:11\nTX_PITCH_Y:30\nMOJI_MAX_X:56\nMOJI_MAX_Y:5\n";

// The font file fontconfig picks for the demo's face name with Japanese text.
// A configuration of its own, released at the end: the shared default one is never freed.
std::string MatchedFontFile(int& index) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("ＭＳ ゴシック"));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::string path;
  FcChar8* file = nullptr;
  index = 0;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
  if (match) FcPatternGetInteger(match, FC_INDEX, 0, &index);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return path;
}

// The 32 × 36 coverage of a character straight from FreeType.
std::vector<int> Coverage(FT_Face face, char32_t ch) {
  std::vector<int> cell(kCellW * kCellH, 0);
  const int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  EXPECT_EQ(FT_Load_Char(face, ch, FT_LOAD_DEFAULT), 0);
  EXPECT_EQ(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), 0);
  const FT_Bitmap& bm = face->glyph->bitmap;
  for (unsigned y = 0; y < bm.rows; ++y) {
    for (unsigned x = 0; x < bm.width; ++x) {
      const int level = (bm.buffer[y * bm.pitch + x] * 64 + 127) / 255;
      const int row = 2 + ascent - face->glyph->bitmap_top + static_cast<int>(y);
      const int col = face->glyph->bitmap_left + static_cast<int>(x);
      if (row < 0 || row >= kCellH || col < 0 || col >= kCellW) continue;
      cell[row * kCellW + col] = level == 0 ? 0 : level >= 56 ? 255 : 3 * level + 90;
    }
  }
  return cell;
}

// One row of 32 pixels blended with a solid grey through a per-pixel mask: eight-byte groups,
// an all-clear group left as it is.
void BlendRow(uint8_t* d, int grey, const int* mask) {
  for (int g = 0; g < kCellW * 3 / 8; ++g) {
    bool clear = true;
    for (int i = g * 8; i < g * 8 + 8; ++i) clear = clear && mask[i / 3] == 0;
    if (clear) continue;
    for (int i = g * 8; i < g * 8 + 8; ++i) {
      const int m = mask[i / 3];
      d[i] = static_cast<uint8_t>((d[i] * (255 - m) >> 8) + (grey * m >> 8));
    }
  }
}

TEST(TypedLineTest, CellsMatchFreeTypeRenderingOfTheDemoFace) {
  int index = 0;
  const std::string path = MatchedFontFile(index);
  ASSERT_FALSE(path.empty());
  FT_Library library = nullptr;
  ASSERT_EQ(FT_Init_FreeType(&library), 0);
  FT_Face face = nullptr;
  ASSERT_EQ(FT_New_Face(library, path.c_str(), index, &face), 0);
  ASSERT_EQ(FT_Set_Pixel_Sizes(face, 0, kFontPixels), 0);

  GameFixture game;
  game.Script("_config", kBlackWindowConfig).Script("main", "「今日は、世界。」Ab\n\\\n");
  TForm1& e = game.Start();
  e.settings.Delay = 1;
  game.RunToWait();
  ASSERT_EQ(e.ctl.waitKind, 1);

  // The model: a black window (body opacity 255, colour black), then each character's shadow
  // one pixel right and down, then its white coverage, in typing order.
  Bitmap expected(kScreenWidth, kScreenHeight);
  const std::u32string line = U"「今日は、世界。」Ab";
  const int top = 440 + 14 + 30;
  int col = 0;
  for (char32_t ch : line) {
    const std::vector<int> cov = Coverage(face, ch);
    std::vector<int> shadow(kCellW * kCellH, 0);
    for (int r = 1; r <= kCellH - 2; ++r) {
      for (int c = 1; c <= kCellW - 2; ++c) {
        shadow[(r + 1) * kCellW + c] = (cov[(r - 1) * kCellW + c] + cov[r * kCellW + c - 1] + cov[r * kCellW + c + 1] +
                                        cov[(r + 1) * kCellW + c]) >>
                                       2;
      }
    }
    const int x = 64 + col * 11;
    for (int r = 0; r < kCellH; ++r) {
      BlendRow(expected.At(x + 1, top + r), 0, &shadow[r * kCellW]);
      BlendRow(expected.At(x, top + r), 255, &cov[r * kCellW]);
    }
    col += ch < 0x80 ? 1 : 2;
  }
  int inked = 0;
  for (int y = 440; y < 592; ++y) {
    SCOPED_TRACE(y);
    for (int x = 0; x < kScreenWidth; ++x) {
      ASSERT_EQ(e.layers.screen.At(x, y)[0], expected.At(x, y)[0]) << x;
      ASSERT_EQ(e.layers.screen.At(x, y)[2], expected.At(x, y)[2]) << x;
      inked += expected.At(x, y)[0] > 128;
    }
  }
  EXPECT_GT(inked, 200);
  // The same picture is on the window.
  for (int y = top; y < top + kCellH; ++y) {
    ASSERT_EQ(std::vector<uint8_t>(game.Host().Window().Row(y), game.Host().Window().Row(y) + kScreenWidth * 3),
              std::vector<uint8_t>(e.layers.screen.Row(y), e.layers.screen.Row(y) + kScreenWidth * 3));
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}

}  // namespace
}  // namespace torvel
