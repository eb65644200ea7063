// The demo's town walk, played on the built demo game: from the crossroads choice to the click
// map, the shopping street's tree, the clock tower's objects and the map's timeout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "demo_story_fixture.h"
#include "graphics/png_io.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::Px;

const std::filesystem::path kPictures = std::filesystem::path(TORVEL_SOURCE_DIR) / "demo" / "gra";

Bitmap Picture(const char* name) {
  Bitmap b;
  EXPECT_TRUE(ReadPng(kPictures / (std::string(name) + ".png"), b)) << name;
  return b;
}

class DemoTown : public testing::DemoStory {};

TEST_F(DemoTown, TheTownWalkFromTheCrossroads) {
  TForm1& e = *engine;
  ASSERT_TRUE(ClickUntilChoice(1));
  ASSERT_EQ(e.choices.choiceCount, 5);
  // The third bar: into the town.
  Choose(2);
  ASSERT_EQ(e.script.currentScript, "town");
  ASSERT_TRUE(ClickUntilChoice(4));

  const Bitmap town = Picture("TOWN");
  const Bitmap parts = Picture("TOWNP");
  const Bitmap chosen = Picture("TOWNC");
  EXPECT_NE(e.DescribeState().find("\"clickMap\":{\"map\":\"town\",\"regions\":5,"), std::string::npos);
  EXPECT_EQ(Window(300, 300), Px(town, 300, 300));
  // The shop lights up from the parts picture; the shrine's option waits for the shop.
  engine->PBMouseMove(ShiftState{}, 300, 300);
  EXPECT_EQ(e.clickMap.selected, 2);
  EXPECT_EQ(Window(300, 300), Px(parts, 300, 300));
  EXPECT_EQ(Window(600, 300), Px(town, 600, 300));
  engine->PBMouseMove(ShiftState{}, 700, 400);
  EXPECT_EQ(e.clickMap.selected, 0);
  // The tower shows its sign beside it; the pond is found by its colour.
  engine->PBMouseMove(ShiftState{}, 600, 300);
  EXPECT_EQ(Window(600, 300), Px(parts, 600, 300));
  EXPECT_EQ(Window(380, 160), Px(parts, 30, 30));
  engine->PBMouseMove(ShiftState{}, 600, 520);
  EXPECT_EQ(e.clickMap.selected, 4);
  EXPECT_EQ(host->PointerShape(), 30);

  // The shopping street's tree, and the bakery at the end of one of its branches. The shop took
  // its "visited" mark from the chosen picture just before the tree came up over it.
  Click(300, 300);
  ASSERT_EQ(e.ctl.choiceMode, 6);
  EXPECT_EQ(Px(e.selectionTree.saved, 420, 290), Px(chosen, 420, 290));
  EXPECT_EQ(Px(e.selectionTree.saved, 600, 250), Px(town, 600, 250));
  EXPECT_EQ(e.selectionTree.tree, 0);
  EXPECT_EQ(e.selectionTree.firstRows.size(), 2u);
  engine->PBMouseMove(ShiftState{}, 200, 370);
  EXPECT_EQ(e.selectionTree.secondRows.size(), 3u);
  engine->PBMouseMove(ShiftState{}, 500, 370);
  EXPECT_EQ(e.selectionTree.target, "shops:bakery");
  Click(500, 370);
  EXPECT_EQ(e.script.currentScript, "shops");
  EXPECT_EQ(e.ctl.waitKind, 1);
  ASSERT_TRUE(ClickUntilChoice(4));
  // Back on the map, the shrine can now be chosen.
  EXPECT_TRUE(e.clickMap.map.regions[5].enabled);

  // The clock tower: the bird flies, the bell is fixed, the last frame is built off screen.
  Click(600, 300);
  EXPECT_EQ(e.script.currentScript, "clock");
  host->RunFrames(6);
  engine->PBMouseDown(MouseButton::Left, ShiftState{}, 400, 100);
  for (int i = 0; i < 2000 && e.ctl.sleepTicks <= 0; ++i) host->RunFrame();
  ASSERT_GT(e.ctl.sleepTicks, 0);
  EXPECT_NE(e.DescribeState().find("\"objects\":{\"slots\":[\"OBJBIRD\",\"OBJBELL\",null"), std::string::npos);
  EXPECT_FALSE(e.objects.bufferExists);
  // The last frame, built off screen, is on the window and in the screen buffer: the bell at
  // (584, 170) blended over the town through its mask.
  const Bitmap bell = Picture("OBJBELL");
  for (const auto& [x, y] : {std::pair{14, 14}, std::pair{12, 4}, std::pair{2, 2}}) {
    // 24 pixels are nine whole groups of eight bytes; a group whose mask bytes are all 0 keeps the
    // town's bytes.
    Bgr expected;
    const uint8_t* image = bell.Row(y);
    const uint8_t* mask = bell.Row(y + bell.height / 2);
    const Bgr under = Px(town, 584 + x, 170 + y);
    for (int c = 0; c < 3; ++c) {
      const int byte = 3 * x + c;
      const int group = byte / 8 * 8;
      const bool clear = std::all_of(mask + group, mask + group + 8, [](uint8_t m) { return m == 0; });
      expected[static_cast<size_t>(c)] =
          clear ? under[static_cast<size_t>(c)]
                : testing::GroupBlend(under[static_cast<size_t>(c)], image[byte], mask[byte]);
    }
    EXPECT_EQ(Window(584 + x, 170 + y), expected) << x << "," << y;
    EXPECT_EQ(Px(e.layers.screen, 584 + x, 170 + y), expected);
  }
  ASSERT_TRUE(ClickUntilChoice(4));
  EXPECT_NE(e.DescribeState().find("\"objects\":{\"slots\":[null,null,null"), std::string::npos);

  // Left alone, the map times out and the walk ends back at the crossroads.
  const int start = e.ctl.timerCounter;
  const int left = e.clickMap.timeoutTicks;
  EXPECT_GT(left, 250);
  while (e.ctl.timerCounter < start + left - 1) host->RunFrame();
  EXPECT_EQ(e.ctl.choiceMode, 4);
  EXPECT_EQ(e.clickMap.timeoutTicks, 1);
  while (e.ctl.timerCounter < start + left) host->RunFrame();
  EXPECT_NE(e.ctl.choiceMode, 4);
  host->RunUntilSettled(20000);
  EXPECT_EQ(e.script.currentScript, "town");
  Click(400, 100);
  EXPECT_EQ(e.script.currentScript, "crossroads");
}

}  // namespace
}  // namespace torvel
