// The general text drawer against a model built in the test from FreeType's own rendering of the
// face fontconfig picks: levels reduced to 0..64 and mapped to coverage, glyphs placed under the
// ascent at the pen, every row blended in groups of eight bytes with an exact tail; the width
// measure; the faces the games name; and the ruby keeping its look.
#include "graphics/small_text.h"

#include <ft2build.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include "resources/sjis.h"
#include "support/text_game.h"

namespace torvel {
namespace {

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

class FreeTypeFace {
 public:
  FreeTypeFace(const std::string& family, int pixels, bool bold = false) {
    FontFile file = MatchFontFile(family, bold);
    EXPECT_FALSE(file.path.empty()) << family;
    EXPECT_EQ(FT_Init_FreeType(&library_), 0);
    EXPECT_EQ(FT_New_Face(library_, file.path.c_str(), file.index, &face_), 0);
    EXPECT_EQ(FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels)), 0);
  }
  ~FreeTypeFace() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
  }
  FT_Face Face() const { return face_; }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

uint8_t Coverage(unsigned char gray) {
  const int level = (gray * 64 + 127) / 255;
  return static_cast<uint8_t>(level == 0 ? 0 : level >= 56 ? 255 : 3 * level + 90);
}

// One glyph row of `pixels` pixels blended over `row`: groups of eight bytes from the row's start,
// kept exactly when the group's coverage is all 0, else (a × (255 − m) >> 8) + (b × m >> 8); the
// bytes after the last whole group (a × (255 − m) + b × m) >> 8.
void ModelBlendRow(uint8_t* row, const std::vector<uint8_t>& cover, const uint8_t bgr[3]) {
  const size_t bytes = cover.size() * 3;
  const size_t grouped = cover.size() / 8 * 24;
  auto m = [&](size_t i) { return static_cast<unsigned>(cover[i / 3]); };
  for (size_t g = 0; g < grouped; g += 8) {
    bool clear = true;
    for (size_t k = g; k < g + 8; ++k) clear = clear && m(k) == 0;
    if (clear) continue;
    for (size_t k = g; k < g + 8; ++k)
      row[k] = static_cast<uint8_t>((row[k] * (255 - m(k)) >> 8) + (bgr[k % 3] * m(k) >> 8));
  }
  for (size_t k = grouped; k < bytes; ++k)
    row[k] = static_cast<uint8_t>((row[k] * (255 - m(k)) + bgr[k % 3] * m(k)) >> 8);
}

// The line in one colour with the pen at x and the top at y, every glyph inside the picture. A
// bold line of a face without a bold weight is FreeType's emboldened outline, advance included.
int ModelPass(FT_Face face, Bitmap& dst, const std::string& utf8, int x, int y, uint32_t colour, bool bold = false) {
  const uint8_t bgr[3] = {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                          static_cast<uint8_t>(colour)};
  const int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  int pen = x;
  for (char32_t ch : CodePoints(utf8)) {
    EXPECT_EQ(FT_Load_Char(face, ch, FT_LOAD_NO_BITMAP), 0);
    if (bold && !(face->style_flags & FT_STYLE_FLAG_BOLD)) FT_GlyphSlot_Embolden(face->glyph);
    EXPECT_EQ(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), 0);
    const FT_Bitmap& bm = face->glyph->bitmap;
    for (unsigned gy = 0; gy < bm.rows; ++gy) {
      std::vector<uint8_t> cover(bm.width);
      for (unsigned gx = 0; gx < bm.width; ++gx) cover[gx] = Coverage(bm.buffer[gy * bm.pitch + gx]);
      const int dy = y + ascent - face->glyph->bitmap_top + static_cast<int>(gy);
      EXPECT_TRUE(dy >= 0 && dy < dst.height);
      ModelBlendRow(dst.At(pen + face->glyph->bitmap_left, dy), cover, bgr);
    }
    pen += static_cast<int>((face->glyph->advance.x + 32) >> 6);
  }
  return pen - x;
}

struct FaceCase {
  std::string named;
  std::string family;
};

class FaceNameTest : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceNameTest, WindowsFaceNamesLandOnTheirIpaCounterparts) {
  const FontFile named = MatchFontFile(GetParam().named, false);
  const FontFile ipa = MatchFontFile(GetParam().family, false);
  ASSERT_FALSE(ipa.path.empty());
  EXPECT_EQ(named.path, ipa.path);
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceNameTest,
                         ::testing::Values(FaceCase{"ＭＳ 明朝", "IPAMincho"}, FaceCase{"ＭＳ Ｐ明朝", "IPAPMincho"},
                                           FaceCase{"ＭＳ Ｐゴシック", "IPAPGothic"},
                                           FaceCase{"ＭＳ ゴシック", "IPAGothic"}, FaceCase{"MS Mincho", "IPAMincho"},
                                           FaceCase{"MS PGothic", "IPAPGothic"}),
                         [](const ::testing::TestParamInfo<FaceCase>& info) {
                           return "Case" + std::to_string(info.index);
                         });

TEST(FaceNameTest, MinchoAndGothicAreDifferentFiles) {
  EXPECT_NE(MatchFontFile("ＭＳ 明朝", false).path, MatchFontFile("ＭＳ ゴシック", false).path);
  EXPECT_NE(MatchFontFile("ＭＳ 明朝", false).path, MatchFontFile("ＭＳ Ｐ明朝", false).path);
}

struct DrawCase {
  std::string name;
  std::string face;  // UTF-8
  int height;
  uint32_t colour;
  int shadow;
  bool bold = false;
};

class TextLineTest : public ::testing::TestWithParam<DrawCase> {};

TEST_P(TextLineTest, LineMatchesFreeTypeRenderingWithItsShadow) {
  const DrawCase& c = GetParam();
  const std::string text = "スタッフ Roll 明朝";
  const int x = 37, y = 51;
  Bitmap got(400, 120);
  got.Fill(40, 90, 140);
  Bitmap want = got;
  GlyphSource source;
  const TextStyle style{Utf8ToSjis(c.face), c.height, c.colour, c.bold, c.shadow};
  const Rect area = DrawTextLine(source, got, Utf8ToSjis(text), x, y, style);

  FreeTypeFace face(c.face, c.height, c.bold);
  if (c.shadow > 0) ModelPass(face.Face(), want, text, x + c.shadow, y + c.shadow, 0x000000, c.bold);
  const int width = ModelPass(face.Face(), want, text, x, y, c.colour, c.bold);
  EXPECT_TRUE(got.pixels == want.pixels);
  EXPECT_EQ(MeasureTextLine(source, Utf8ToSjis(text), style), width);
  EXPECT_EQ(area.left, x);
  EXPECT_EQ(area.top, y);
  EXPECT_EQ(area.bottom, y + 2 * c.height + c.shadow);
  EXPECT_GE(area.right, x + width - c.height / 2);
  EXPECT_LE(area.right, x + width + c.height + c.shadow);
}

INSTANTIATE_TEST_SUITE_P(Styles, TextLineTest,
                         ::testing::Values(DrawCase{"MinchoWhiteWithTwoPixelShadow", "ＭＳ 明朝", 32, 0xFFFFFF, 2},
                                           DrawCase{"ProportionalGothicRedPlain", "ＭＳ Ｐゴシック", 18, 0x0000FF, 0},
                                           DrawCase{"GothicYellowOnePixelShadow", "ＭＳ ゴシック", 24, 0x00FFFF, 1},
                                           DrawCase{"BoldMinchoBlueWithShadow", "ＭＳ 明朝", 28, 0xFF0000, 2, true}),
                         [](const ::testing::TestParamInfo<DrawCase>& info) { return info.param.name; });

TEST(TextLineTest, ClipsToThePictureAndToleratesAnyPosition) {
  GlyphSource source;
  const TextStyle style{Utf8ToSjis("ＭＳ 明朝"), 40, 0xFFFFFF, true, 2};
  const std::string text = Utf8ToSjis("端の文字ですAB");
  for (auto [x, y] : std::vector<std::pair<int, int>>{
           {-30, -20}, {380, 90}, {-2000000000, 5}, {5, 2000000000}, {2147483647, -2147483647}, {0, 0}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    Bitmap b(100, 100);
    const Rect area = DrawTextLine(source, b, text, x, y, style);
    EXPECT_TRUE(area.left >= 0 && area.right <= 100 && area.top >= 0 && area.bottom <= 100);
  }
  Bitmap empty;
  EXPECT_TRUE(DrawTextLine(source, empty, text, 0, 0, style).Empty());
  // A lone lead byte and bytes that are no character draw nothing and measure nothing.
  EXPECT_EQ(MeasureTextLine(source, std::string("\x81", 1), style), 0);
  EXPECT_EQ(MeasureTextLine(source, "", style), 0);
}

TEST(TextLineTest, RubyStaysWhiteNinePixelsInThePlayFaceAndIsShownAtOnce) {
  testing::GameFixture g;
  g.Script("_config", testing::kTextConfig).Script("main", "\\w\n");
  TForm1& e = g.Start();
  g.RunToWait();
  e.layers.screen.Fill(0, 0, 0);
  const std::string text = Utf8ToSjis("えき");
  e.DrawSmallText(text, 100, 200);
  Bitmap want(800, 600);
  GlyphSource source;
  DrawTextLine(source, want, text, 100, 200, TextStyle{e.settings.FontName, 9, 0xFFFFFF, false, 0});
  EXPECT_TRUE(e.layers.screen.pixels == want.pixels);
  // Shown on the window at once, where the text went.
  const Bitmap& window = g.Host().Window();
  int differing = 0;
  for (int yy = 200; yy < 218; ++yy) {
    for (int xx = 100; xx < 130; ++xx) differing += window.At(xx, yy)[0] != want.At(xx, yy)[0];
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace torvel
