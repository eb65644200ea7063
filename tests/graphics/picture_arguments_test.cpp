// Reading the arguments of the picture commands: names, numbers, sprite specs, colour names and
// safe file names.
#include "graphics/picture_arguments.h"

#include <gtest/gtest.h>

#include <string>

namespace torvel {
namespace {

struct PictureArgumentCase {
  const char* label;
  std::string text;
  std::string name;
  int number;
  bool left;
  bool right;
};

class PictureArgumentTest : public ::testing::TestWithParam<PictureArgumentCase> {};

TEST_P(PictureArgumentTest, Reads) {
  const PictureArgumentCase& c = GetParam();
  PictureArgument a = ParsePictureArgument(c.text);
  EXPECT_EQ(a.name, c.name);
  EXPECT_EQ(a.number, c.number);
  EXPECT_EQ(a.left, c.left);
  EXPECT_EQ(a.right, c.right);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureArgumentTest,
    ::testing::Values(
        PictureArgumentCase{"NameOnly", "AB01", "AB01", -1, false, false},
        PictureArgumentCase{"CommaNumber", "AB01,3", "AB01", 3, false, false},
        PictureArgumentCase{"BlankNumber", "B01 12", "B01", 12, false, false},
        PictureArgumentCase{"LastRunWins", "B01 4 x 27", "B01", 27, false, false},
        PictureArgumentCase{"Left", "B01 l", "B01", -1, true, false},
        PictureArgumentCase{"RightWithNumber", "B01,R5", "B01", 5, false, true},
        PictureArgumentCase{"LettersOfTheNameDoNotCount", "BRL1", "BRL1", -1, false, false},
        PictureArgumentCase{"Empty", "", "", -1, false, false},
        PictureArgumentCase{"LongNameIsCut", std::string(70, 'A') + ",3", std::string(63, 'A'), -1, false, false},
        PictureArgumentCase{"ScanStopsAt64", std::string("A,") + std::string(62, ' ') + "9", "A", -1, false, false},
        PictureArgumentCase{"HugeNumberSaturates", "A,99999999999", "A", 2147483647, false, false}),
    [](const ::testing::TestParamInfo<PictureArgumentCase>& info) { return std::string(info.param.label); });

TEST(PictureArgumentTest, LongNameScanGoesOnFromTheCut) {
  // The 64th byte of a 70-byte name is scanned: an "A" there is neither a digit nor a letter
  // that counts, but an "L" is a position letter.
  std::string text = std::string(63, 'A') + "L" + std::string(6, 'A');
  PictureArgument a = ParsePictureArgument(text);
  EXPECT_EQ(a.name.size(), 63u);
  EXPECT_TRUE(a.left);
}

TEST(PictureArgumentTest, NumbersAndLeadingDigits) {
  EXPECT_EQ(ReadNumber("  -12x"), -12);
  EXPECT_EQ(ReadNumber("+7"), 7);
  EXPECT_EQ(ReadNumber("x7"), 0);
  EXPECT_EQ(ReadNumber(""), 0);
  EXPECT_EQ(LeadingDigits("12AB"), 12);
  EXPECT_EQ(LeadingDigits("AB12"), 0);
  EXPECT_EQ(FirstToken("NAME,1 2", 63), "NAME");
  EXPECT_EQ(FirstToken("NAME 1", 2), "NA");
}

TEST(SpriteSpecTest, SplitsAtCommasAndColonsIntoFiveFields) {
  SpriteFields f = SplitSpriteSpec("B01:B02,,-,B05,B06,B07");
  EXPECT_EQ(f.field[0], "B01");
  EXPECT_EQ(f.field[1], "B02");
  EXPECT_EQ(f.field[2], "");
  EXPECT_EQ(f.field[3], "-");
  EXPECT_EQ(f.field[4], "B05");
  EXPECT_FALSE(f.endsWithComma);
  SpriteFields g = SplitSpriteSpec("B01,");
  EXPECT_EQ(g.field[0], "B01");
  EXPECT_EQ(g.field[1], "");
  EXPECT_TRUE(g.endsWithComma);
}

TEST(SpriteSpecTest, LongFieldsAndSpecsAreCut) {
  SpriteFields f = SplitSpriteSpec(std::string(100, 'B') + "," + std::string(300, 'C'));
  EXPECT_EQ(f.field[0], std::string(63, 'B'));
  EXPECT_EQ(f.field[1], std::string(63, 'C'));
  // The spec keeps 255 bytes, so a comma after them is not seen.
  SpriteFields g = SplitSpriteSpec(std::string(255, 'B') + ",C");
  EXPECT_EQ(g.field[1], "");
}

struct ColourCase {
  const char* label;
  const char* name;
  int r, g, b;
};

class SolidColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(SolidColourTest, Reads) {
  const ColourCase& c = GetParam();
  Colour col = SolidColour(c.name);
  EXPECT_EQ(col.r, c.r);
  EXPECT_EQ(col.g, c.g);
  EXPECT_EQ(col.b, c.b);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SolidColourTest,
    ::testing::Values(ColourCase{"Black", "S000", 0, 0, 0}, ColourCase{"Digits", "S19f", 16, 144, 240},
                      ColourCase{"UpperHex", "SAbC", 160, 176, 192}, ColourCase{"GIsFull", "sgGg", 255, 255, 255},
                      ColourCase{"OtherIsZero", "Sz-9", 0, 0, 144}, ColourCase{"ShortNameReadsZero", "S8", 128, 0, 0},
                      ColourCase{"NameAlone", "S", 0, 0, 0}),
    [](const ::testing::TestParamInfo<ColourCase>& info) { return std::string(info.param.label); });

TEST(SafeFileNameTest, KeepsNamesInsideTheirFolder) {
  EXPECT_EQ(SafeFileName("BG01"), "BG01");
  EXPECT_EQ(SafeFileName("..\\..\\EVIL"), ".._.._EVIL");
  EXPECT_EQ(SafeFileName("A/B:C*D?E\"F<G>H|I"), "A_B_C_D_E_F_G_H_I");
  EXPECT_EQ(SafeFileName(".."), "_..");
  EXPECT_EQ(SafeFileName(""), "_");
  EXPECT_EQ(SafeFileName(std::string("A\x01", 2)), "A_");
  EXPECT_EQ(SafeFileName(std::string(300, 'X')).size(), 200u);
  // Shift-JIS "背景" becomes UTF-8.
  EXPECT_EQ(SafeFileName("\x94\x77\x8C\x69"), "背景");
}

}  // namespace
}  // namespace torvel
