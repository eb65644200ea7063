// Entries of the definition file "effect": which lines belong to an entry, and the steps each
// kind of line adds.
#include <gtest/gtest.h>

#include <string>

#include "graphics/effect_definitions.h"

namespace torvel {
namespace {

std::vector<uint8_t> File(const std::string& lines) {
  std::vector<uint8_t> bytes(lines.begin(), lines.end());
  for (uint8_t& b : bytes) {
    if (b == '\n') b = 0;
  }
  return bytes;
}

TEST(EffectDefinitionsTest, EntryRunsFromItsHeaderToTheNextHeaderUpperCased) {
  const auto file = File(":OTHER\nF,10\n:flash\n\nf,40,fg00,20\n; a comment line\nN,5,6\n:NEXT\nF,99\n");
  const std::vector<EffectStep> steps = ReadEffectEntry(file, "FLASH");
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].kind, EffectStepKind::Screen);
  EXPECT_EQ(steps[0].duration, 40);
  // "FG00": red 255, green 0, blue 0.
  EXPECT_EQ(steps[1].kind, EffectStepKind::Fill);
  EXPECT_EQ(steps[1].r, 255);
  EXPECT_EQ(steps[1].g, 0);
  EXPECT_EQ(steps[1].b, 0);
  EXPECT_EQ(steps[1].duration, 20);
  EXPECT_EQ(steps[2].kind, EffectStepKind::Negative);
  EXPECT_EQ(steps[2].duration, 5);
  EXPECT_EQ(steps[3].kind, EffectStepKind::Screen);
  EXPECT_EQ(steps[3].duration, 6);
}

TEST(EffectDefinitionsTest, FlashPairsStopAtTheFirstCodeThatIsNotAnF) {
  const auto steps = ReadEffectEntry(File(":E\nF08F8,30,FFFF,10,X,50,F,60\n"), "E");
  ASSERT_EQ(steps.size(), 2u);
  // Tint: blue 0x80 (8 × 16), green 0xF0, red 0; opacity 8 × 16.
  EXPECT_EQ(steps[0].kind, EffectStepKind::Tint);
  EXPECT_EQ(steps[0].r, 0);
  EXPECT_EQ(steps[0].g, 0x80);
  EXPECT_EQ(steps[0].b, 0xF0);
  EXPECT_EQ(steps[0].opacity, 128);
  EXPECT_EQ(steps[1].kind, EffectStepKind::Fill);
  EXPECT_EQ(steps[1].r, 0xF0);
}

TEST(EffectDefinitionsTest, OpacityDigitGIsFull) {
  const auto steps = ReadEffectEntry(File(":E\nF000G,1\n"), "E");
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].opacity, 255);
}

TEST(EffectDefinitionsTest, WindowMovesShareOneDuration) {
  const auto steps = ReadEffectEntry(File(":E\nS,25,10,-4,0,8,-3\n"), "E");
  ASSERT_EQ(steps.size(), 2u) << "the unpaired last field adds nothing";
  EXPECT_EQ(steps[0].kind, EffectStepKind::MoveWindow);
  EXPECT_EQ(steps[0].duration, 25);
  EXPECT_EQ(steps[0].x, 10);
  EXPECT_EQ(steps[0].y, -4);
  EXPECT_EQ(steps[1].x, 0);
  EXPECT_EQ(steps[1].y, 8);
  EXPECT_EQ(steps[1].duration, 25);
}

TEST(EffectDefinitionsTest, MissingEntryGivesNothing) {
  EXPECT_TRUE(ReadEffectEntry(File(":A\nF,1\n"), "B").empty());
  EXPECT_TRUE(ReadEffectEntry({}, "B").empty());
}

TEST(EffectDefinitionsTest, AtMost200Steps) {
  std::string line = "N";
  for (int i = 0; i < 300; ++i) line += ",1";
  EXPECT_EQ(ReadEffectEntry(File(":E\n" + line + "\nF,1\n"), "E").size(), 200u);
}

TEST(EffectDefinitionsTest, ALastLineWithoutItsEndStillCounts) {
  const auto steps = ReadEffectEntry(File(":E\nN,7"), "E");
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].duration, 7);
}

}  // namespace
}  // namespace torvel
