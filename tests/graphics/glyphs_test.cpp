// Glyph cells: coverage against FreeType's own rendering of IPA Gothic, clipping, bad Shift-JIS,
// colour codes, the shadow, the cache and external characters.
#include "graphics/glyphs.h"

#include <ft2build.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include FT_FREETYPE_H

#include "resources/sjis.h"

namespace torvel {
namespace {

constexpr int kSize = 22;
const std::string kMsGothic = Utf8ToSjis("ＭＳ ゴシック");

// Decodes UTF-8 text into code points (the test's own view of the characters).
std::vector<char32_t> CodePoints(const std::string& utf8) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < utf8.size();) {
    auto b = static_cast<unsigned char>(utf8[i]);
    int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
    for (int k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out.push_back(c);
    i += n;
  }
  return out;
}

// The expected 32 × 36 coverage of one character, straight from FreeType: gray levels reduced to
// 0..64, mapped to coverage, the black box placed under the ascent two rows from the top.
std::vector<uint8_t> FreeTypeCell(FT_Face face, char32_t ch) {
  std::vector<uint8_t> cell(kGlyphCellWidth * kGlyphCellHeight, 0);
  int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  FT_UInt index = FT_Get_Char_Index(face, ch);
  EXPECT_NE(index, 0u);
  EXPECT_EQ(FT_Load_Glyph(face, index, FT_LOAD_DEFAULT), 0);
  EXPECT_EQ(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), 0);
  const FT_Bitmap& bm = face->glyph->bitmap;
  for (unsigned y = 0; y < bm.rows; ++y) {
    for (unsigned x = 0; x < bm.width; ++x) {
      int level = (bm.buffer[y * bm.pitch + x] * 64 + 127) / 255;
      int coverage = level == 0 ? 0 : level >= 56 ? 255 : 3 * level + 90;
      int row = 2 + ascent - face->glyph->bitmap_top + static_cast<int>(y);
      int col = face->glyph->bitmap_left + static_cast<int>(x);
      if (row >= 0 && row < kGlyphCellHeight && col >= 0 && col < kGlyphCellWidth) {
        cell[row * kGlyphCellWidth + col] = static_cast<uint8_t>(coverage);
      }
    }
  }
  return cell;
}

std::vector<uint8_t> CellCoverage(const GlyphCell& cell) {
  std::vector<uint8_t> out;
  for (int y = 0; y < cell.coverage.height; ++y) {
    for (int x = 0; x < cell.coverage.width; ++x) {
      const uint8_t* p = cell.coverage.At(x, y);
      EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
      out.push_back(p[0]);
    }
  }
  return out;
}

class GlyphsTest : public ::testing::Test {
 protected:
  void SetUp() override { glyphs.SetFont(kMsGothic, kSize, false); }
  GlyphRenderer glyphs;
};

TEST_F(GlyphsTest, WindowsGothicNameFallsBackToIpaGothic) {
  FontFile ms = MatchFontFile("MS Gothic", false);
  FontFile ipa = MatchFontFile("IPAGothic", false);
  ASSERT_FALSE(ipa.path.empty());
  EXPECT_EQ(ms.path, ipa.path);
  EXPECT_EQ(MatchFontFile("ＭＳ ゴシック", false).path, ipa.path);
}

TEST_F(GlyphsTest, LineMatchesFreeTypeRendering) {
  FT_Library library = nullptr;
  ASSERT_EQ(FT_Init_FreeType(&library), 0);
  FontFile file = MatchFontFile("IPAGothic", false);
  FT_Face face = nullptr;
  ASSERT_EQ(FT_New_Face(library, file.path.c_str(), file.index, &face), 0);
  EXPECT_STREQ(face->family_name, "IPAGothic");
  ASSERT_EQ(FT_Set_Pixel_Sizes(face, 0, kSize), 0);

  const std::string line = "「今日は、世界。」アイウAbg？";
  std::string sjis = Utf8ToSjis(line);
  std::vector<char32_t> chars = CodePoints(line);
  size_t pos = 0;
  for (char32_t ch : chars) {
    SCOPED_TRACE(static_cast<unsigned>(ch));
    size_t n = SjisCharLength(sjis, pos);
    glyphs.Prepare(std::string_view(sjis).substr(pos, n));
    std::vector<uint8_t> expected = FreeTypeCell(face, ch);
    EXPECT_EQ(CellCoverage(glyphs.Cell()), expected);
    int inked = 0;
    for (uint8_t v : expected) inked += v != 0;
    EXPECT_GT(inked, 10);
    pos += n;
  }
  EXPECT_EQ(pos, sjis.size());
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}

TEST_F(GlyphsTest, ShadowIsNeighbourMeanOneRowDown) {
  glyphs.Prepare(Utf8ToSjis("龍"));
  const GlyphCell& cell = glyphs.Cell();
  std::vector<uint8_t> cov = CellCoverage(cell);
  // The map's rows below the cell are empty for this glyph, so row 35's lower neighbour is 0.
  auto at = [&](int r, int c) -> int { return r < kGlyphCellHeight ? cov[r * kGlyphCellWidth + c] : 0; };
  for (int r = 0; r < kGlyphCellHeight; ++r) {
    for (int c = 0; c < kGlyphCellWidth; ++c) {
      int expected = 0;
      int src = r - 1;
      if (src >= 1 && src <= 34 && c >= 1 && c <= 30) {
        expected = (at(src - 1, c) + at(src, c - 1) + at(src, c + 1) + at(src + 1, c)) >> 2;
      }
      ASSERT_EQ(cell.shadowMask.At(c, r)[0], expected) << r << "," << c;
    }
  }
  // White text on white: only the shadow shows, below and right of the ink.
  glyphs.Prepare(Utf8ToSjis("■"));
  glyphs.SetColour(0, 0xFFFFFF);
  Bitmap dst(64, 64);
  dst.Fill(255, 255, 255);
  glyphs.Draw(dst, 0, 0);
  int darkened = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) darkened += dst.At(x, y)[0] < 200;
  }
  EXPECT_GT(darkened, 0);
  const std::vector<uint8_t> block = CellCoverage(glyphs.Cell());
  for (int y = 0; y + 1 < kGlyphCellHeight; ++y) {
    for (int x = 0; x + 1 < kGlyphCellWidth; ++x) {
      // Just outside the bottom right of the block the shadow darkens the white background.
      if (block[y * kGlyphCellWidth + x] == 255 && block[(y + 1) * kGlyphCellWidth + x] == 0 &&
          block[(y + 1) * kGlyphCellWidth + x + 1] == 0 && x > 0) {
        EXPECT_LT(dst.At(x + 1, y + 2)[0], 255) << x << "," << y;
      }
    }
  }
}

struct ColourCase {
  int code;
  uint8_t b, g, r;
};

TEST_F(GlyphsTest, ColourCodes) {
  const ColourCase cases[] = {{0, 0x56, 0x34, 0x12}, {8, 255, 255, 255},    {16, 255, 255, 255},
                              {1, 0, 0x80, 0},       {2, 0, 0, 255},        {10, 0, 0, 255},
                              {3, 0x80, 0, 0x80},    {4, 0, 255, 255},      {5, 255, 0, 0},
                              {6, 255, 255, 0},      {7, 0xC0, 0xC0, 0xC0}, {255, 0xC0, 0xC0, 0xC0}};
  glyphs.Prepare(Utf8ToSjis("■"));
  // The block's middle is fully covered, and opaque coverage gives the colour less one.
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.code);
    glyphs.SetColour(c.code, 0x563412);
    const uint8_t* p = glyphs.Cell().textColour.At(5, 5);
    EXPECT_EQ(p[0], c.b);
    EXPECT_EQ(p[1], c.g);
    EXPECT_EQ(p[2], c.r);
    Bitmap dst(40, 40);
    glyphs.Draw(dst, 0, 0);
    const uint8_t* d = dst.At(16, 18);
    EXPECT_EQ(d[0], c.b ? c.b - 1 : 0);
    EXPECT_EQ(d[1], c.g ? c.g - 1 : 0);
    EXPECT_EQ(d[2], c.r ? c.r - 1 : 0);
  }
}

// A destination with a pattern, so clipped writes that land in the wrong place show.
Bitmap Pattern(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w * 3; ++x) b.Row(y)[x] = static_cast<uint8_t>(x * 7 + y * 13);
  }
  return b;
}

TEST_F(GlyphsTest, CellsAreClippedOnAllSides) {
  glyphs.Prepare(Utf8ToSjis("■"));
  glyphs.SetColour(2, 0);
  constexpr int kW = 100, kH = 80, kMargin = 64;
  const Point positions[] = {{-10, 20}, {-31, 20},  {80, 20}, {99, 20},   {30, -10},  {30, -35},  {30, 60},
                             {30, 79},  {-12, -12}, {85, 70}, {-500, 10}, {5000, 10}, {10, -500}, {10, 5000}};
  for (Point p : positions) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    // The same drawing on a larger picture that holds the whole cell, then cropped.
    Bitmap big(kW + 2 * kMargin, kH + 2 * kMargin);
    Bitmap small = Pattern(kW, kH);
    for (int y = 0; y < kH; ++y) std::copy_n(small.Row(y), kW * 3, big.At(kMargin, y + kMargin));
    glyphs.Draw(small, p.x, p.y);
    if (p.x > -kMargin && p.x < kW + kMargin && p.y > -kMargin && p.y < kH + kMargin) {
      glyphs.Draw(big, p.x + kMargin, p.y + kMargin);
    }
    for (int y = 0; y < kH; ++y) {
      ASSERT_TRUE(std::equal(small.Row(y), small.Row(y) + kW * 3, big.At(kMargin, y + kMargin))) << "row " << y;
    }
  }
}

TEST_F(GlyphsTest, CellsStartingBelow570AreNotDrawn) {
  glyphs.Prepare(Utf8ToSjis("■"));
  glyphs.SetColour(8, 0);
  Bitmap dst(800, 600);
  glyphs.Draw(dst, 100, 571);
  EXPECT_EQ(dst.pixels, Bitmap(800, 600).pixels);
  glyphs.Draw(dst, 100, 570);
  EXPECT_NE(dst.pixels, Bitmap(800, 600).pixels);
}

TEST_F(GlyphsTest, InvalidShiftJisDrawsBlankCells) {
  const std::string cases[] = {"\x81", "\x85\x40", "\xA0", "\xFD", "\x81\x20", std::string(1, '\0')};
  for (const std::string& text : cases) {
    SCOPED_TRACE(SjisToUtf8(text));
    glyphs.Prepare(text);
    for (uint8_t v : CellCoverage(glyphs.Cell())) ASSERT_EQ(v, 0);
  }
  EXPECT_EQ(GlyphCode("\x81"), 0x81);
  EXPECT_EQ(GlyphCode(std::string_view("\x82\xA0", 2)), 0x82A0);
  EXPECT_EQ(GlyphCode(""), 0);
  // A lead byte closing the text takes one pitch and draws nothing; the text is read no further.
  std::string text = Utf8ToSjis("あ") + "\x81";
  Bitmap dst(200, 60);
  glyphs.DrawText(text, 0, 11, 0, dst, 8, 0, 0);
  for (int y = 0; y < 60; ++y) {
    for (int x = 11 * 3 + 1; x < 200; ++x) ASSERT_EQ(dst.At(x, y)[0], 0) << x << "," << y;
  }
}

TEST_F(GlyphsTest, CacheServesColoursAndGaijiOverrideFont) {
  const std::string a = Utf8ToSjis("あ");
  Bitmap gaiji(48, 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 48; ++x) gaiji.At(x, y)[0] = static_cast<uint8_t>(x + y * 2);
  }
  glyphs.ResetCache(Utf8ToSjis("★") + a, gaiji);
  size_t warmed = glyphs.CacheSize();
  // 2 external characters, 83 hiragana less the external one, 87 katakana codes less the one
  // that is no character (0x837F), 10 digits, 14 marks less the ideographic space, which has no
  // ink and so is never stored.
  EXPECT_EQ(warmed, 2u + 82u + 86u + 10u + 13u);
  glyphs.Prepare(a);
  std::vector<uint8_t> cov = CellCoverage(glyphs.Cell());
  for (int y = 0; y < kGlyphCellHeight; ++y) {
    for (int x = 0; x < kGlyphCellWidth; ++x) {
      bool inTile = x >= 2 && x < 26 && y >= 2 && y < 26;
      ASSERT_EQ(cov[y * kGlyphCellWidth + x], inTile ? 24 + (x - 2) + (y - 2) * 2 : 0) << x << "," << y;
    }
  }
  glyphs.SetColour(1, 0);
  glyphs.Prepare(Utf8ToSjis("漢"));
  glyphs.SetColour(2, 0);
  glyphs.Prepare(Utf8ToSjis("漢"));
  EXPECT_EQ(glyphs.CacheSize(), warmed + 1);
}

TEST_F(GlyphsTest, CharactersBeyondAFullCacheStillDraw) {
  glyphs.ClearCache();
  // The first level-one kanji rows hold far more than 1000 characters.
  int added = 0;
  for (int lead = 0x88; lead <= 0x98 && glyphs.CacheSize() < kGlyphCacheCapacity; ++lead) {
    for (int trail = 0x40; trail <= 0xFC && glyphs.CacheSize() < kGlyphCacheCapacity; ++trail) {
      glyphs.Render(static_cast<uint16_t>(lead << 8 | trail));
      ++added;
    }
  }
  ASSERT_EQ(glyphs.CacheSize(), static_cast<size_t>(kGlyphCacheCapacity));
  glyphs.Prepare(Utf8ToSjis("鬱"));
  std::vector<uint8_t> full = CellCoverage(glyphs.Cell());
  EXPECT_EQ(glyphs.CacheSize(), static_cast<size_t>(kGlyphCacheCapacity));
  GlyphRenderer fresh;
  fresh.SetFont(kMsGothic, kSize, false);
  fresh.Prepare(Utf8ToSjis("鬱"));
  EXPECT_EQ(full, CellCoverage(fresh.Cell()));
  EXPECT_GT(added, 0);
}

TEST_F(GlyphsTest, LargeGlyphsAreWhiteWithShadow) {
  glyphs.RenderLarge(Utf8ToSjis("■"), 48);
  const GlyphCell& cell = glyphs.LargeCell();
  EXPECT_EQ(cell.coverage.width, kLargeGlyphWidth);
  const uint8_t* colour = cell.textColour.At(10, 10);
  EXPECT_EQ(colour[0] & colour[1] & colour[2], 255);
  Bitmap dst(100, 100);
  glyphs.DrawLarge(dst, 0, 0);
  EXPECT_EQ(dst.At(24, 30)[2], 254);
  glyphs.DrawLarge(dst, 80, 80);  // clipped, no stray writes
}

}  // namespace
}  // namespace torvel
