// Glyphs of a face that carries one-bit bitmap strikes at the play size ("AR PL UMing CN",
// strikes at 11 to 16 pixels): they come from the face's outline, anti-aliased, as
// FreeType renders that outline when asked for it alone.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include FT_FREETYPE_H

#include "platform/fonts/glyph_source.h"
#include "support/text_game.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::Sj;

constexpr const char* kStrikeFace = "AR PL UMing CN";
constexpr int kStrikeSize = 16;

// The file and face fontconfig gives for the family, from a configuration of its own.
std::string FaceFile(int& index) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kStrikeFace));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::string path;
  FcChar8* file = nullptr;
  FcChar8* family = nullptr;
  index = 0;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
      std::string(reinterpret_cast<char*>(family)) == kStrikeFace &&
      FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    path = reinterpret_cast<char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return path;
}

class GlyphStrikeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int index = 0;
    const std::string path = FaceFile(index);
    ASSERT_FALSE(path.empty()) << kStrikeFace << " is installed by scripts/bootstrap";
    ASSERT_EQ(FT_Init_FreeType(&library_), 0);
    ASSERT_EQ(FT_New_Face(library_, path.c_str(), index, &face_), 0);
    ASSERT_EQ(FT_Set_Pixel_Sizes(face_, 0, kStrikeSize), 0);
  }
  void TearDown() override {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
  }

  // What the face gives by default at the play size: its one-bit strike.
  bool DefaultIsOneBitStrike(char32_t ch) {
    return FT_Load_Char(face_, ch, FT_LOAD_DEFAULT) == 0 && face_->glyph->format == FT_GLYPH_FORMAT_BITMAP &&
           face_->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  }

  // The outline alone, rendered with 256 grey levels and reduced to 0..64.
  GrayGlyph Outline(char32_t ch) {
    GrayGlyph g;
    EXPECT_EQ(FT_Load_Char(face_, ch, FT_LOAD_NO_BITMAP), 0);
    EXPECT_EQ(face_->glyph->format, FT_GLYPH_FORMAT_OUTLINE);
    EXPECT_EQ(FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL), 0);
    const FT_Bitmap& bm = face_->glyph->bitmap;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.originX = face_->glyph->bitmap_left;
    g.originY = face_->glyph->bitmap_top;
    for (unsigned y = 0; y < bm.rows; ++y) {
      for (unsigned x = 0; x < bm.width; ++x) {
        g.levels.push_back(static_cast<uint8_t>((bm.buffer[y * bm.pitch + x] * 64 + 127) / 255));
      }
    }
    return g;
  }

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

TEST_F(GlyphStrikeTest, TheSourceRendersTheOutlineWhereTheFaceHasAStrike) {
  GlyphSource source;
  source.SetFont(Sj(kStrikeFace), kStrikeSize, false);
  for (char32_t ch : {U'あ', U'ア', U'漢', U'g'}) {
    SCOPED_TRACE(static_cast<int>(ch));
    ASSERT_TRUE(DefaultIsOneBitStrike(ch));
    const GrayGlyph want = Outline(ch);
    GrayGlyph got;
    ASSERT_TRUE(source.RasteriseUnicode(ch, kStrikeSize, got));
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_EQ(got.originX, want.originX);
    EXPECT_EQ(got.originY, want.originY);
    EXPECT_EQ(got.levels, want.levels);
    // Anti-aliased: edges between ink and paper.
    const std::set<uint8_t> levels(got.levels.begin(), got.levels.end());
    EXPECT_GT(levels.size(), 4u);
  }
}

TEST_F(GlyphStrikeTest, TypedTextOfSuchAFaceIsInked) {
  ASSERT_TRUE(DefaultIsOneBitStrike(U'あ'));
  GameFixture game;
  game.Script("_config", std::string(testing::kTextConfig) + "FONT_NAME:" + kStrikeFace + "\nFONT_SIZE:16\n")
      .Script("main", "ああ\n\\\n");
  TForm1& e = game.Start();
  e.settings.Delay = 1;
  game.RunToWait();
  // The two cells of row 1 hold white ink over the dark window.
  const int top = e.textWindow.y + e.config.TX_OFS_Y + e.config.TX_PITCH_Y;
  const int left = e.textWindow.x + e.config.TX_OFS_X + 2 * e.config.TX_PITCH_X;
  int inked = 0;
  for (int y = top; y < top + kGlyphCellHeight; ++y) {
    for (int x = left; x < left + 2 * 2 * e.config.TX_PITCH_X; ++x) inked += game.Host().Window().At(x, y)[0] > 200;
  }
  EXPECT_GT(inked, 40);
}

}  // namespace
}  // namespace torvel
