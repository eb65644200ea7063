// Reading the `seltree` table: depths, the three fields, the ends of trees, the limits, and the
// children of an entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenes/selection_tree.h"

namespace torvel {
namespace {

// Table text with "\n" for the NUL line ends the loader leaves.
std::vector<uint8_t> Table(const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  for (uint8_t& b : bytes) {
    if (b == '\n') b = 0;
  }
  return bytes;
}

struct EntryCase {
  const char* name;
  const char* line;
  int depth;
  const char* label;
  int number;
  const char* target;
};

class TreeEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(TreeEntryTest, ReadsDepthLabelNumberAndTarget) {
  const EntryCase& c = GetParam();
  const TreeEntry e = ParseTreeEntry(c.line);
  EXPECT_EQ(e.depth, c.depth);
  EXPECT_EQ(e.label, c.label);
  EXPECT_EQ(e.number, c.number);
  EXPECT_EQ(e.target, c.target);
}

INSTANTIATE_TEST_SUITE_P(Lines, TreeEntryTest,
                         ::testing::Values(EntryCase{"Top", "Station,1,town", 0, "Station", 1, "town"},
                                           EntryCase{"TwoBlanks", "  Gate,7,town:gate", 2, "Gate", 7, "town:gate"},
                                           // The target is counted by commas only: the colons before it do not move it.
                                           EntryCase{"ColonsBeforeTarget", "Hall:5,x,sub:lab", 0, "Hall", 5, "sub:lab"},
                                           EntryCase{"TargetEndsAtComma", "Hall:5,x,sub:lab,more", 0, "Hall", 5,
                                                     "sub:lab"},
                                           EntryCase{"TargetToLineEnd", "A,2,B,C", 0, "A", 2, "B"},
                                           EntryCase{"NoTarget", "Alone,3", 0, "Alone", 3, ""},
                                           EntryCase{"EmptyTarget", "Alone,3,", 0, "Alone", 3, ""},
                                           EntryCase{"TargetTrimmed", " A,1, sub:x \r", 1, "A", 1, "sub:x"},
                                           // Nine blanks at most make the depth; the tenth stays in the label.
                                           EntryCase{"TenBlanks", "          Deep,1,t", 9, " Deep", 1, "t"},
                                           EntryCase{"NoNumber", "A,,t", 0, "A", 0, "t"}),
                         [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

TEST(SelectionTreeTableTest, TreesEndAtEndAndTheTableAtAllend) {
  const SelectionTreeTable trees =
      ParseSelectionTrees(Table("A,1,a\n B,2,b\n\nend\nC,3,c\n   \nEND\n D,4,d\nALLEND\nE,5,e\nEND\n"));
  ASSERT_EQ(trees[0].size(), 2u);
  EXPECT_EQ(trees[0][1].label, "B");
  EXPECT_EQ(trees[0][1].depth, 1);
  // Empty and blank lines are passed over; "end" is read without regard to case.
  ASSERT_EQ(trees[1].size(), 1u);
  EXPECT_EQ(trees[1][0].label, "C");
  // Nothing after ALLEND is read.
  ASSERT_EQ(trees[2].size(), 1u);
  EXPECT_EQ(trees[2][0].label, "D");
  EXPECT_TRUE(trees[3].empty());
}

TEST(SelectionTreeTableTest, KeepsTwelveTreesOfFiveHundredEntries) {
  std::string text;
  for (int tree = 0; tree < 14; ++tree) {
    const int entries = tree == 0 ? 520 : 1;
    for (int i = 0; i < entries; ++i) text += "T" + std::to_string(tree) + "," + std::to_string(i) + ",x\n";
    text += "END\n";
  }
  const SelectionTreeTable trees = ParseSelectionTrees(Table(text));
  ASSERT_EQ(trees[0].size(), 500u);
  EXPECT_EQ(trees[0][499].number, 499);
  // The entries past the 500th are dropped, not taken for the next tree.
  ASSERT_EQ(trees[1].size(), 1u);
  EXPECT_EQ(trees[1][0].label, "T1");
  EXPECT_EQ(trees[11][0].label, "T11");
}

TEST(SelectionTreeTableTest, ALastLineWithoutItsEndIsRead) {
  const SelectionTreeTable trees = ParseSelectionTrees(Table("A,1,a\nB,2,b"));
  ASSERT_EQ(trees[0].size(), 2u);
  EXPECT_EQ(trees[0][1].target, "b");
}

TEST(SelectionTreeTableTest, ChildrenAreOneLevelDeeperUpToTheFirstShallowerEntry) {
  const SelectionTreeTable trees =
      ParseSelectionTrees(Table("A,0,\n B,0,\n  C,0,\n D,0,\n   E,0,\n F,0,\nG,0,\n H,0,\nEND\n"));
  const std::vector<TreeEntry>& t = trees[0];
  // C (two deeper) is passed over without ending the list; G (depth 0) ends it.
  EXPECT_EQ(TreeChildren(t, 0), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(TreeChildren(t, 1), (std::vector<int>{2}));
  EXPECT_TRUE(TreeChildren(t, 2).empty());
  EXPECT_EQ(TreeChildren(t, 6), (std::vector<int>{7}));
  EXPECT_TRUE(TreeChildren(t, 99).empty());
  EXPECT_TRUE(TreeHasTopEntry(t));
  EXPECT_FALSE(TreeHasTopEntry(ParseSelectionTrees(Table(" B,0,x\nEND\n"))[0]));
}

}  // namespace
}  // namespace torvel
