// The faces offered for the message font.
#include "platform/fonts/font_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

struct FaceCase {
  const char* label;
  std::vector<FamilyName> names;
  std::optional<std::string> offered;  // UTF-8
};

class OfferedFaceNameTest : public ::testing::TestWithParam<FaceCase> {};

TEST_P(OfferedFaceNameTest, PrefersTheJapaneseName) {
  const std::optional<std::string> sjis = OfferedFaceName(GetParam().names);
  ASSERT_EQ(sjis.has_value(), GetParam().offered.has_value());
  if (sjis) {
    EXPECT_EQ(SjisToUtf8(*sjis), *GetParam().offered);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faces, OfferedFaceNameTest,
    ::testing::Values(FaceCase{"JapaneseSecond", {{"IPAGothic", "en"}, {"IPAゴシック", "ja"}}, "IPAゴシック"},
                      FaceCase{"RegionalJapanese", {{"Takao", "en"}, {"タカオ", "ja-jp"}}, "タカオ"},
                      FaceCase{"NoJapaneseName", {{"Noto Sans CJK JP", "en"}}, "Noto Sans CJK JP"},
                      FaceCase{"NoNames", {}, std::nullopt},
                      FaceCase{"VerticalFace", {{"@ＭＳ ゴシック", "ja"}}, std::nullopt},
                      FaceCase{"NoShiftJisForm", {{"한글 고딕", "ko"}}, std::nullopt},
                      FaceCase{
                          "UnconvertibleJapaneseName", {{"Gothic", "en"}, {"ゴシック🙂", "ja"}}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.label); });

// A fontconfig configuration of the test's own, with one font folder.
class FontFolderTest : public ::testing::Test {
 protected:
  void Use(const std::filesystem::path& fonts) {
    const std::filesystem::path file = folder_.Path() / "fonts.conf";
    std::ofstream(file) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n<dir>"
                        << fonts.string() << "</dir>\n<cachedir>" << (folder_.Path() / "cache").string()
                        << "</cachedir>\n</fontconfig>\n";
    ::setenv("FONTCONFIG_FILE", file.c_str(), 1);
  }
  void TearDown() override { ::unsetenv("FONTCONFIG_FILE"); }
  testing::TempFolder folder_;
};

TEST_F(FontFolderTest, ListsTheJapaneseFacesByTheirJapaneseNames) {
  Use("/usr/share/fonts/opentype/ipafont-gothic");
  std::vector<std::string> faces;
  for (const std::string& face : JapaneseFaceNames()) faces.push_back(SjisToUtf8(face));
  EXPECT_EQ(faces, (std::vector<std::string>{"IPA Pゴシック", "IPAゴシック"}));
}

TEST_F(FontFolderTest, LeavesOutFacesWithoutJapanese) {
  // A Chinese face that fontconfig does not count as Japanese.
  Use("/usr/share/fonts/truetype/arphic");
  EXPECT_TRUE(JapaneseFaceNames().empty());
}

}  // namespace
}  // namespace torvel
