// The faces offered for the message font.
#include "platform/fonts/font_list.h"

#include <gtest/gtest.h>

#include "resources/sjis.h"
#include "support/font_configuration.h"

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

TEST(FontFolderTest, ListsTheJapaneseFacesByTheirJapaneseNames) {
  testing::FontConfiguration fonts(testing::kIpaGothicFolder);
  std::vector<std::string> faces;
  for (const std::string& face : JapaneseFaceNames()) faces.push_back(SjisToUtf8(face));
  EXPECT_EQ(faces, (std::vector<std::string>{"IPA Pゴシック", "IPAゴシック"}));
}

TEST(FontFolderTest, LeavesOutFacesWithoutJapanese) {
  // A Chinese face that fontconfig does not count as Japanese.
  testing::FontConfiguration fonts("/usr/share/fonts/truetype/arphic");
  EXPECT_TRUE(JapaneseFaceNames().empty());
}

}  // namespace
}  // namespace torvel
