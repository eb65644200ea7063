// Reading the lines of the two staff-roll languages and of the title map's table.
#include "scenes/roll_scripts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "resources/sjis.h"
#include "scenes/map_table.h"

namespace torvel {
namespace {

struct PageLineCase {
  std::string name;
  std::string line;
  bool command;
  std::string keyword;
  std::string argument;
};

class PageRollLineTest : public ::testing::TestWithParam<PageLineCase> {};

TEST_P(PageRollLineTest, KeywordRunsToItsSeparator) {
  const PageLineCase& c = GetParam();
  const PageRollLine line = ReadPageRollLine(c.line);
  EXPECT_EQ(line.command, c.command);
  EXPECT_EQ(line.keyword, c.keyword);
  EXPECT_EQ(line.argument, c.argument);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PageRollLineTest,
    ::testing::Values(PageLineCase{"Blank", "@GRA AB01,2", true, "GRA", "AB01,2"},
                      PageLineCase{"Star", "*wait 30", true, "WAIT", "30"},
                      PageLineCase{"Tab", "@Put\t1", true, "PUT", "1"},
                      PageLineCase{"Return", "@RESET\r", true, "RESET", ""},
                      PageLineCase{"LineEnd", "@HOOK", true, "HOOK", ""},
                      PageLineCase{"OnlyTheMark", "@", true, "", ""},
                      PageLineCase{"CutToTenBytes", "@CENTERXYZABC r", true, "CENTERXYZA", "r"},
                      PageLineCase{"SecondBlankBelongsToTheArgument", "@WIN  1,2", true, "WIN", " 1,2"},
                      PageLineCase{"Text", "監督　山田", false, "", ""}, PageLineCase{"EmptyText", "", false, "", ""},
                      PageLineCase{"TextStartingWithABlank", " @GRA x", false, "", ""}),
    [](const ::testing::TestParamInfo<PageLineCase>& info) { return info.param.name; });

TEST(PageRollLineTest, PictureNameRunsToTheComma) {
  EXPECT_EQ(ReadPageRollPicture("AB01").name, "AB01");
  EXPECT_EQ(ReadPageRollPicture("AB01").mode, 1);
  EXPECT_EQ(ReadPageRollPicture("AB01,2").mode, 2);
  EXPECT_EQ(ReadPageRollPicture("AB01,").mode, 0);
  EXPECT_EQ(ReadPageRollPicture("AB 01,x").name, "AB 01");
  EXPECT_EQ(ReadPageRollPicture("").name, "");
}

TEST(PageRollLineTest, NumberFieldsReadAsZeroWhenMissing) {
  EXPECT_EQ(ReadNumberFields("1,-2, 3,4,5"), (std::array<int, 4>{1, -2, 3, 4}));
  EXPECT_EQ(ReadNumberFields("7"), (std::array<int, 4>{7, 0, 0, 0}));
  EXPECT_EQ(ReadNumberFields(",x,9"), (std::array<int, 4>{0, 0, 9, 0}));
  EXPECT_EQ(ReadNumberFields("99999999999,-99999999999").at(0), INT32_MAX);
}

struct SlideLineCase {
  std::string name;
  std::string line;
  SlideRollOp op;
  std::array<int, 4> values;
  bool hasSpeed;
  std::string text;
};

class SlideRollLineTest : public ::testing::TestWithParam<SlideLineCase> {};

TEST_P(SlideRollLineTest, CommandsMatchAsWritten) {
  const SlideLineCase& c = GetParam();
  const SlideRollLine line = ReadSlideRollLine(c.line);
  EXPECT_EQ(line.op, c.op);
  EXPECT_EQ(line.values, c.values);
  EXPECT_EQ(line.hasSpeed, c.hasSpeed);
  EXPECT_EQ(line.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SlideRollLineTest,
    ::testing::Values(
        SlideLineCase{"PictureWithoutSpeed", "@GRA AB01", SlideRollOp::Picture, {1, 0, 0, 0}, false, "AB01"},
        SlideLineCase{"PictureWithSpeed", "@GRA AB01,12", SlideRollOp::Picture, {12, 0, 0, 0}, true, "AB01"},
        SlideLineCase{"PictureSpeedZero", "@GRA S000,0", SlideRollOp::Picture, {0, 0, 0, 0}, true, "S000"},
        SlideLineCase{"PictureWithoutBlank", "@GRAAB01", SlideRollOp::Ignored, {}, false, ""},
        SlideLineCase{"Wait", "@WAIT 15", SlideRollOp::Wait, {15, 0, 0, 0}, false, ""},
        SlideLineCase{"PageAlone", "@MOJ", SlideRollOp::Page, {1, 0, 0, 0}, false, ""},
        SlideLineCase{"PageWithSpeed", "@MOJ 6", SlideRollOp::Page, {6, 0, 0, 0}, true, ""},
        SlideLineCase{"PageWithBlankOnly", "@MOJ ", SlideRollOp::Page, {0, 0, 0, 0}, true, ""},
        SlideLineCase{"Font", "@FONT 2", SlideRollOp::Font, {2, 0, 0, 0}, false, ""},
        SlideLineCase{"Darkness", "@DARK 128", SlideRollOp::Darkness, {128, 0, 0, 0}, false, ""},
        SlideLineCase{"Size", "@SIZE 24,18,44", SlideRollOp::Size, {24, 18, 44, 0}, false, ""},
        SlideLineCase{"Window", "@WIN 10,20,300,400", SlideRollOp::Window, {10, 20, 300, 400}, false, ""},
        SlideLineCase{"End", "@END", SlideRollOp::End, {}, false, ""},
        SlideLineCase{"EndWithMore", "@ENDROLL", SlideRollOp::End, {}, false, ""},
        SlideLineCase{"LowerCase", "@wait 5", SlideRollOp::Ignored, {}, false, ""},
        SlideLineCase{"Unknown", "@MUSIC 1", SlideRollOp::Ignored, {}, false, ""},
        SlideLineCase{"Open", "{ページ", SlideRollOp::Clear, {}, false, ""},
        SlideLineCase{"Close", "}", SlideRollOp::Ignored, {}, false, ""},
        SlideLineCase{"Empty", "", SlideRollOp::Empty, {}, false, ""},
        SlideLineCase{"Text", "<Director", SlideRollOp::Text, {}, false, "<Director"}),
    [](const ::testing::TestParamInfo<SlideLineCase>& info) { return info.param.name; });

TEST(SlideRollLineTest, PageLinesAreAlignedByTheirBytes) {
  // Left: no offset; right: the spare width; centred: half of it, truncated towards zero.
  EXPECT_EQ(PlaceSlidePageLine("<ABC", 400, 16).offset, 0);
  EXPECT_EQ(PlaceSlidePageLine("<ABC", 400, 16).text, "ABC");
  EXPECT_EQ(PlaceSlidePageLine(">ABC", 400, 16).offset, 400 - 48);
  EXPECT_EQ(PlaceSlidePageLine("ABC", 400, 16).offset, (400 - 48) / 2);
  EXPECT_EQ(PlaceSlidePageLine("ABCDEFG", 100, 16).offset, (100 - 112) / 2);  // -6
  EXPECT_EQ(PlaceSlidePageLine(Utf8ToSjis("あい"), 0, 10).offset, -20);
  EXPECT_EQ(PlaceSlidePageLine("x", 2000000000, -2000000000).offset, (int64_t{2000000000} + 2000000000) / 2);
  // Bytes of 0x80 and above start two-byte characters, when a byte follows.
  const std::string text = "A\xB1\x41\x82";
  EXPECT_EQ(SlideCharLength(text, 0), 1u);
  EXPECT_EQ(SlideCharLength(text, 1), 2u);
  EXPECT_EQ(SlideCharLength(text, 3), 1u);
  EXPECT_EQ(SlideCharLength(text, 4), 0u);
}

// ---- the title map's table ----

std::string Table(const std::string& utf8) {
  std::string out = Utf8ToSjis(utf8);
  for (char& c : out) {
    if (c == '\n') c = '\0';
  }
  return out;
}

std::string Captions(const MapSection& s, int area) {
  std::string out;
  for (const MapDestination& d : s.destinations[static_cast<size_t>(area)]) {
    out += SjisToUtf8(d.caption) + "=" + std::to_string(d.value) + ";";
  }
  return out;
}

TEST(MapTableTest, SectionOfTheChapterWithFlaggedEntries) {
  const std::string table =
      Table(":2\n1,違う章,99\n:1\n1,駅前,11\n\n1,商店街,12,5\n1,港,13,6\n2,神社,21,\n3,学校,-31\n:3\n5,次の章,1\n");
  const std::set<int> set{6};
  const MapSection s = ReadMapSection(table, 1, [&](int f) { return set.count(f) != 0; });
  ASSERT_TRUE(s.found);
  EXPECT_EQ(Captions(s, 1), "駅前=11;港=13;");
  EXPECT_EQ(Captions(s, 2), "神社=21;");  // an empty flag field is no flag
  EXPECT_EQ(Captions(s, 3), "学校=-31;");
  EXPECT_EQ(Captions(s, 5), "");
  EXPECT_TRUE(s.destinations[0].empty());
}

TEST(MapTableTest, AreasOutsideOneToFiveAreSkippedAndFourEntriesAreKept) {
  const std::string table =
      Table(":1\n0,零,0\n6,六,6\n-1,負,1\nx,字,1\n; 注\n4,a,1\n4,b,2\n4,c,3\n4,d,4\n4,e,5\n5,f\n");
  const MapSection s = ReadMapSection(table, 1, [](int) { return false; });
  ASSERT_TRUE(s.found);
  EXPECT_EQ(Captions(s, 4), "a=1;b=2;c=3;d=4;");
  EXPECT_EQ(Captions(s, 5), "f=0;");
  for (int a : {1, 2, 3}) EXPECT_EQ(Captions(s, a), "");
}

TEST(MapTableTest, MissingOrClosedSectionsAreNotFound) {
  auto none = [](int) { return true; };
  EXPECT_FALSE(ReadMapSection(Table(":2\n1,a,1\n"), 1, none).found);
  EXPECT_FALSE(ReadMapSection(Table(":END\n:1\n1,a,1\n"), 1, none).found);
  EXPECT_FALSE(ReadMapSection(Table(":end\n:1\n1,a,1\n"), 1, none).found);
  EXPECT_FALSE(ReadMapSection("", 1, none).found);
  EXPECT_FALSE(ReadMapSection(Table(":1 \n1,a,1\n"), 1, none).found);
  EXPECT_TRUE(ReadMapSection(Table(":-3\n1,a,1\n"), -3, none).found);
  // The section ends at the next line starting with ":", whatever follows it.
  const MapSection s = ReadMapSection(Table(":1\n1,a,1\n:\n1,b,2\n"), 1, none);
  EXPECT_EQ(Captions(s, 1), "a=1;");
  // A last line without its line end still counts.
  EXPECT_EQ(Captions(ReadMapSection(Table(":1\n2,x,5"), 1, none), 2), "x=5;");
}

}  // namespace
}  // namespace torvel
