// Slot plate texts: templates split into lines with their distances, and the fields of a slot's
// label filled in.
#include <gtest/gtest.h>

#include <string>

#include "resources/sjis.h"
#include "screens/slot_text.h"

namespace torvel {
namespace {

struct SplitCase {
  const char* tmpl;  // UTF-8
  std::vector<std::pair<std::string, int>> lines;
};

TEST(SlotText, TemplatesSplitIntoLinesWithTheirDistances) {
  const SplitCase cases[] = {
      {"No.%0\\%1 %2\\12%3", {{"No.%0", 0}, {"%1 %2", 24}, {"%3", 36}}},
      {"a\\5b\\c", {{"a", 0}, {"b", 5}, {"c", 29}}},
      {"a\\123", {{"a", 0}, {"3", 12}}},
      {"a\\\\b", {{"a", 0}, {"", 24}, {"b", 48}}},
      {"a\\", {{"a", 0}, {"", 24}}},
      {"", {{"", 0}}},
      {"1\\2\\3\\4\\5\\6\\7", {{"1", 0}, {"", 2}, {"", 5}, {"", 9}, {"", 14}}},
      {"a\\x\\y\\z\\w\\dropped", {{"a", 0}, {"x", 24}, {"y", 48}, {"z", 72}, {"w", 96}}},
      // 表 is 0x95 0x5C: its second byte is no line break.
      {"表\\9示", {{"表", 0}, {"示", 9}}},
  };
  for (const SplitCase& c : cases) {
    const std::vector<SlotTextLine> lines = SplitSlotTemplate(Utf8ToSjis(c.tmpl));
    std::vector<std::pair<std::string, int>> got;
    for (const SlotTextLine& l : lines) got.emplace_back(SjisToUtf8(l.text), l.offset);
    EXPECT_EQ(got, c.lines) << c.tmpl;
  }
}

// A label as a save writes it: date, two blanks before the title, zeros after.
std::string Label(const std::string& utf8Title) {
  std::string label = "2026/12/10 17:45:03  " + Utf8ToSjis(utf8Title);
  label.resize(128, '\0');
  return label;
}

TEST(SlotText, UsedLinesTakeTheFieldsOfTheLabel) {
  struct Case {
    const char* line;
    int slot;
    std::string label;
    std::string expected;
  };
  std::string noNul(128, 'x');
  noNul.replace(0, 21, "2026/12/10 17:45:03  ");
  const Case cases[] = {
      {"No.%0", 7, Label("夜明け"), "No. 7"},
      {"No.%0", 42, Label("夜明け"), "No.42"},
      {"%1 %2", 7, Label("夜明け"), "2026/12/10 17:45:03"},
      {"[%3]", 7, Label("夜明け"), "[夜明け]"},
      {"%x%%1", 7, Label(""), "x2026/12/10"},
      {"end%", 7, Label(""), "end"},
      // Inserted text is scanned again: a title holding "%1" shows the date.
      {"%3", 7, Label("a%1b"), "a2026/12/10b"},
      // A title without a NUL ends at its field (bytes 21..84).
      {"%3", 7, noNul, std::string(64, 'x').c_str()},
      {"%1|%2|%3", 7, std::string("2026/1"), "2026/1||"},
      {"%1", 7, std::string(), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SjisToUtf8(FillUsedSlotLine(Utf8ToSjis(c.line), c.slot, c.label)), c.expected) << c.line;
  }
}

TEST(SlotText, ATitleThatInsertsItselfStopsAfter32ReplacementsAndNeverPasses255Bytes) {
  const std::string label = Label("%3");
  const std::string line = FillUsedSlotLine("<%3>", 7, label);
  EXPECT_EQ(line, "<%3>") << "each of the 32 replacements puts back the same text";
  const std::string growing = FillUsedSlotLine("%3", 7, Label("ab%3%3"));
  EXPECT_LE(growing.size(), 255u);
  EXPECT_EQ(growing.substr(0, 4), "abab");
  const std::string longLine(300, 'y');
  EXPECT_EQ(FillUsedSlotLine(longLine, 7, label), std::string(255, 'y'));
}

TEST(SlotText, EmptyLinesReplaceTheirFirstSlotNumberOnly) {
  EXPECT_EQ(FillEmptySlotLine("No.%0  ----", 3), "No. 3  ----");
  EXPECT_EQ(FillEmptySlotLine("%0 %0 %1", 12), "12 %0 %1");
  EXPECT_EQ(FillEmptySlotLine("----", 3), "----");
}

}  // namespace
}  // namespace torvel
