// The argument reader of `manpu` and `sprmv`: fields at "," and ":", numbers and non-numbers,
// and its limits of 32 fields of 31 bytes.
#include <gtest/gtest.h>

#include <string>

#include "graphics/argument_fields.h"

namespace torvel {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  int count;
  std::vector<std::pair<std::string, int>> fields;  // text and value of the first fields
};

class SplitArgumentsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitArgumentsTest, FieldsAndValues) {
  const SplitCase& c = GetParam();
  const ArgumentFields f = SplitArguments(c.text);
  EXPECT_EQ(f.count, c.count);
  for (size_t i = 0; i < c.fields.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(f.field[i].text, c.fields[i].first);
    EXPECT_EQ(f.field[i].value, c.fields[i].second);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SplitArgumentsTest,
    ::testing::Values(SplitCase{"Empty", "", 0, {}},
                      SplitCase{"NameModePosition",
                                "MARK,2,100,-30",
                                4,
                                {{"MARK", kNotANumber}, {"2", 2}, {"100", 100}, {"-30", -30}}},
                      SplitCase{"ColonsSeparateToo", "A:1,B", 3, {{"A", kNotANumber}, {"1", 1}, {"B", kNotANumber}}},
                      SplitCase{"LeadingBlanksSkippedTrailingKept", "  7 ,  x ", 2, {{"7 ", 7}, {"x ", kNotANumber}}},
                      SplitCase{"ZeroWrittenAsZeroIsANumber",
                                "0,00,+0,-0",
                                4,
                                {{"0", 0}, {"00", 0}, {"+0", kNotANumber}, {"-0", kNotANumber}}},
                      SplitCase{"DigitsThenLetters", "12AB,AB12", 2, {{"12AB", 12}, {"AB12", kNotANumber}}},
                      SplitCase{"EmptyFields", ",,", 3, {{"", kNotANumber}, {"", kNotANumber}, {"", kNotANumber}}},
                      SplitCase{"NumbersSaturate",
                                "99999999999,-99999999999",
                                2,
                                {{"99999999999", 2147483647}, {"-99999999999", -2147483647}}},
                      SplitCase{"LongFieldCutTo31Bytes",
                                std::string(40, 'A').append(",5"),
                                2,
                                {{std::string(31, 'A'), kNotANumber}, {"5", 5}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitArgumentsTest, FieldsPastThe32ndAreLeftOutButCounted) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += std::to_string(i) + ",";
  const ArgumentFields f = SplitArguments(text);
  EXPECT_EQ(f.count, 41);
  EXPECT_EQ(f.field[31].value, 31);
  EXPECT_FALSE(f.IsNumber(32));
}

TEST(SplitArgumentsTest, ATwoByteCharacterIsNotCutInHalf) {
  // 15 two-byte characters and one more: the 31-byte limit falls inside the 16th.
  std::string text;
  for (int i = 0; i < 16; ++i) text += "\x82\xa0";
  const ArgumentFields f = SplitArguments(text);
  EXPECT_EQ(f.field[0].text.size(), 30u);
}

}  // namespace
}  // namespace torvel
