// Reading maps of the `map` table and the colour keys of colour regions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenes/click_map.h"

namespace torvel {
namespace {

std::vector<uint8_t> Table(const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  for (uint8_t& b : bytes) {
    if (b == '\n') b = 0;
  }
  return bytes;
}

TEST(ClickMapTableTest, RegionsOfEachKind) {
  const ClickRegion plain = ParseClickRegion("door,300,200,100,50");
  EXPECT_EQ(plain.kind, ClickRegion::Kind::Plain);
  EXPECT_EQ(plain.name, "door");
  // Corners given reversed are put in order.
  EXPECT_EQ(plain.rect.left, 100);
  EXPECT_EQ(plain.rect.top, 50);
  EXPECT_EQ(plain.rect.right, 300);
  EXPECT_EQ(plain.rect.bottom, 200);

  const ClickRegion shown = ParseClickRegion("*shop,1,2,3,4");
  EXPECT_EQ(shown.kind, ClickRegion::Kind::Shown);
  EXPECT_EQ(shown.rect.right, 3);

  const ClickRegion placed = ParseClickRegion("#gate,20,220,80,280,300,0,340,40,320,240");
  EXPECT_EQ(placed.kind, ClickRegion::Kind::Placed);
  EXPECT_EQ(placed.source.left, 300);
  EXPECT_EQ(placed.source.bottom, 40);
  EXPECT_EQ(placed.destination.x, 320);
  EXPECT_EQ(placed.destination.y, 240);
  // Without a destination the source rectangle stays where it is.
  const ClickRegion inPlace = ParseClickRegion("#gate,20,220,80,280,300,10,340,40");
  EXPECT_EQ(inPlace.destination.x, 300);
  EXPECT_EQ(inPlace.destination.y, 10);

  const ClickRegion colour = ParseClickRegion("$F80,1");
  EXPECT_EQ(colour.kind, ClickRegion::Kind::Colour);
  EXPECT_EQ(colour.key, 0xF08000u);
  EXPECT_EQ(colour.cursor, 1);
  EXPECT_TRUE(colour.rect.Empty());
  EXPECT_EQ(ParseClickRegion("$a1,2").key, 0xA01000u);
  // A character that is no hexadecimal digit, or a missing one, counts as 0.
  EXPECT_EQ(ParseClickRegion("$G8").key, 0x008000u);
}

TEST(ClickMapTableTest, NamesKeepSixtyFourBytes) {
  const std::string longName(80, 'n');
  const ClickRegion r = ParseClickRegion("*" + longName + ",1,2,3,4");
  EXPECT_EQ(r.name.size(), 64u);
  EXPECT_EQ(r.rect.left, 1);
  EXPECT_EQ(r.rect.bottom, 4);
}

TEST(ClickMapTableTest, TheFirstMapWhoseNameStartsWithTheRequestedOne) {
  const std::vector<uint8_t> table = Table(
      ":station\n1\nplatform,0,0,10,10\n"
      ":Townhall\n1\nhall,0,0,800,600\n"
      ":town\n2\na,1,1,5,5\nb,6,6,9,9\n");
  ClickMapTable map;
  ASSERT_TRUE(FindClickMap(table, "TOWN", map));
  EXPECT_EQ(map.name, "Townhall");
  EXPECT_EQ(map.regionCount, 1);
  ASSERT_TRUE(FindClickMap(table, "Station", map));
  EXPECT_EQ(map.regionCount, 1);
  EXPECT_EQ(map.regions[1].name, "platform");
  EXPECT_FALSE(FindClickMap(table, "stations", map));
  EXPECT_FALSE(FindClickMap(table, "harbour", map));
  // Regions are numbered from 1.
  ASSERT_TRUE(FindClickMap(Table(":x\n2\na,1,1,5,5\nb,6,6,9,9\n"), "x", map));
  EXPECT_EQ(map.regions[2].name, "b");
}

TEST(ClickMapTableTest, AtMostThirtyOneRegionsAndNoMoreThanTheTableHolds) {
  std::string text = ":big\n40\n";
  for (int i = 1; i <= 40; ++i) text += "r" + std::to_string(i) + ",0,0,1,1\n";
  ClickMapTable map;
  ASSERT_TRUE(FindClickMap(Table(text), "big", map));
  EXPECT_EQ(map.regionCount, 31);
  EXPECT_EQ(map.regions[31].name, "r31");

  ASSERT_TRUE(FindClickMap(Table(":short\n5\na,0,0,1,1\nb,0,0,1,1"), "short", map));
  EXPECT_EQ(map.regionCount, 2);
  ASSERT_TRUE(FindClickMap(Table(":none\n-3\na,0,0,1,1\n"), "none", map));
  EXPECT_EQ(map.regionCount, 0);
  ASSERT_TRUE(FindClickMap(Table(":end"), "end", map));
  EXPECT_EQ(map.regionCount, 0);
}

struct KeyCase {
  const char* name;
  uint8_t r, g, b;
  bool hit;
};

class ColourKeyTest : public ::testing::TestWithParam<KeyCase> {};

// Digits F, 8, 0: red 0xF0–0xFF, green 0x80–0x8F, blue 0x00–0x0F.
TEST_P(ColourKeyTest, UpperFourBitsOfEachByteMatchTheKey) {
  const KeyCase& c = GetParam();
  Bitmap parts(4, 3);
  uint8_t* p = parts.At(2, 1);
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
  EXPECT_EQ(ColourKeyAt(parts, 2, 1, 0xF08000u), c.hit);
}

INSTANTIATE_TEST_SUITE_P(Pixels, ColourKeyTest,
                         ::testing::Values(KeyCase{"Lowest", 0xF0, 0x80, 0x00, true},
                                           KeyCase{"Highest", 0xFF, 0x8F, 0x0F, true},
                                           KeyCase{"RedBelow", 0xEF, 0x80, 0x00, false},
                                           KeyCase{"GreenAbove", 0xF0, 0x90, 0x00, false},
                                           KeyCase{"BlueAbove", 0xF0, 0x80, 0x10, false},
                                           KeyCase{"RedAndBlueSwapped", 0x00, 0x80, 0xF0, false}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(ColourKeyTest, PointsOutsideThePartsPictureHaveNoColour) {
  Bitmap parts(4, 3);
  EXPECT_TRUE(ColourKeyAt(parts, 3, 2, 0));
  EXPECT_FALSE(ColourKeyAt(parts, 4, 2, 0));
  EXPECT_FALSE(ColourKeyAt(parts, 3, 3, 0));
  EXPECT_FALSE(ColourKeyAt(parts, -1, 0, 0));
  EXPECT_FALSE(ColourKeyAt(Bitmap(), 0, 0, 0));
}

}  // namespace
}  // namespace torvel
