// The definition lists of composite pictures (`_sprset`, `_bgset`).
#include "graphics/picture_definitions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torvel {
namespace {

std::vector<uint8_t> Body(const std::vector<std::string>& lines) {
  std::vector<uint8_t> out;
  for (const std::string& l : lines) {
    out.insert(out.end(), l.begin(), l.end());
    out.push_back(0);
  }
  return out;
}

TEST(PictureDefinitionsTest, StoresLinesUpperCasedSkippingCommentsAndStopsAfterEnd) {
  PictureDefinitions d = ParseDefinitions(Body({"; comment", ":c1", "", "b01", "b02,10,-5", ":END", ":after"}));
  EXPECT_EQ(d.lines, (std::vector<std::string>{":C1", "B01", "B02,10,-5", ":END"}));
  EXPECT_TRUE(d.exportNames.empty());
}

TEST(PictureDefinitionsTest, FindsPartsUpToTheNextHeader) {
  PictureDefinitions d = ParseDefinitions(Body({":C1", "B01", "B02,10,-5", "B03,7", ":C2", "X"}));
  std::vector<DefinitionPart> parts;
  ASSERT_TRUE(FindDefinition(d, "c1", parts));
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0].name, "B01");
  EXPECT_FALSE(parts[0].placed);
  EXPECT_EQ(parts[1].name, "B02");
  EXPECT_TRUE(parts[1].placed);
  EXPECT_EQ(parts[1].x, 10);
  EXPECT_EQ(parts[1].y, -5);
  EXPECT_TRUE(parts[2].placed);
  EXPECT_EQ(parts[2].x, 7);
  EXPECT_EQ(parts[2].y, 0);
  EXPECT_FALSE(FindDefinition(d, "C3", parts));
  EXPECT_TRUE(parts.empty());
}

TEST(PictureDefinitionsTest, AnEntryHasAtMostEightParts) {
  std::vector<std::string> lines{":BIG"};
  for (int i = 0; i < 12; ++i) lines.push_back("P" + std::to_string(i));
  PictureDefinitions d = ParseDefinitions(Body(lines));
  std::vector<DefinitionPart> parts;
  ASSERT_TRUE(FindDefinition(d, "BIG", parts));
  EXPECT_EQ(parts.size(), 8u);
}

TEST(PictureDefinitionsTest, HeadersAfterDebugOutAreExportedOnce) {
  PictureDefinitions d =
      ParseDefinitions(Body({":EARLY", "A01", "$debug_out", ":bg1", "A01", ":BG2", ":bg1", ":END", ":LATE"}));
  EXPECT_EQ(d.exportNames, (std::vector<std::string>{"BG1", "BG2"}));
}

TEST(PictureDefinitionsTest, LastLineWithoutItsEndIsRead) {
  std::vector<uint8_t> body{':', 'A', 0, 'B'};
  PictureDefinitions d = ParseDefinitions(body);
  EXPECT_EQ(d.lines, (std::vector<std::string>{":A", "B"}));
}

}  // namespace
}  // namespace torvel
