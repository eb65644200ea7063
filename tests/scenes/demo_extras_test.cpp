// The demo's extras as the build made them, played with headless input lines: from the crossroads
// choice into the extras menu, the picture gallery with its two sets, percentage and tall picture,
// the scene gallery with its caption and a replay from a label, the music room, and recollection
// with its two tabs, page buttons, locked rows and a replayed scene.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "demo_story_fixture.h"
#include "graphics/png_io.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::Px;

const std::filesystem::path kPictures = std::filesystem::path(TORVEL_BINARY_DIR) / "demo" / "gallery" / "gra3";

Bitmap Picture(const char* name) {
  Bitmap b;
  EXPECT_TRUE(ReadPng(kPictures / (std::string(name) + ".png"), b)) << name;
  return b;
}

bool Has(const std::string& state, const std::string& part) { return state.find(part) != std::string::npos; }

class DemoExtras : public testing::DemoStory {
 protected:
  // Opens the extras menu's entry `bar` from its choice.
  void OpenExtra(int bar) {
    ASSERT_TRUE(ClickUntilChoice());
    ASSERT_EQ(engine->script.currentScript, "extras");
    Choose(bar);
  }
  // How many pixels of the window's rectangle differ from `picture` there.
  int Differing(const Bitmap& picture, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y < y2; ++y) {
      for (int x = x1; x < x2; ++x) n += Window(x, y) != Px(picture, x, y);
    }
    return n;
  }
};

TEST_F(DemoExtras, TheGalleriesMusicRoomAndRecollectionFromTheCrossroads) {
  TForm1& e = *engine;
  ASSERT_TRUE(ClickUntilChoice());
  ASSERT_EQ(e.script.currentScript, "crossroads");
  ASSERT_EQ(e.choices.choiceCount, 5);
  Choose(4);
  ASSERT_EQ(e.script.currentScript, "extras");

  // ---- the picture gallery ----
  OpenExtra(0);
  ASSERT_EQ(e.ctl.screenMode, smCgViewer);
  std::string state = e.DescribeState();
  // The station at dawn and the bright platform were shown by the story; the first of them sees
  // its whole three-picture cell. 4 of 7 pictures: "57".
  EXPECT_TRUE(Has(state, "\"D\":[0,1,2,3]")) << state;
  EXPECT_TRUE(Has(state, "\"viewer\":{\"page\":\"VIEW_1\",\"viewing\":false,\"cells\":[3,3,1,0,")) << state;
  EXPECT_TRUE(Has(state,
                  "\"type\":0,\"set\":0,\"sets\":2,\"hover\":0,\"picture\":-1,\"musicCell\":0,\"seen\":4,"
                  "\"total\":7}"))
      << state;
  const Bitmap page = Picture("GAL_CG0N");
  const Bitmap lit = Picture("GAL_CG0H");
  const Bitmap plate = Picture("GAL_PLATE");
  EXPECT_EQ(Window(100, 120), Px(page, 100, 120));
  // The locked star field under its plate, drawn through an opaque mask: one level darker at most.
  const Bgr p = Px(plate, 10, 10), shown = Window(560, 100);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(shown[static_cast<size_t>(c)], p[static_cast<size_t>(c)], 1) << c;
  EXPECT_NE(shown, Px(page, 560, 100));
  // No hundreds digit; tens and units drawn.
  EXPECT_EQ(Differing(page, 470, 528, 490, 560), 0);
  EXPECT_GT(Differing(page, 490, 528, 510, 560), 0);
  EXPECT_GT(Differing(page, 510, 528, 530, 560), 0);

  Move(100, 120);
  EXPECT_EQ(e.viewer.hover, 1);
  EXPECT_EQ(Window(55, 95), Px(lit, 55, 95));
  EXPECT_NE(Window(55, 95), Px(page, 55, 95));

  // Viewing the three pictures: the station, dusk, then the tower from its foot up to its top.
  Click(100, 120);
  EXPECT_TRUE(e.viewer.viewing);
  EXPECT_EQ(e.viewer.picture, 0);
  Click(100, 120);
  EXPECT_EQ(e.viewer.picture, 1);
  const Bitmap dusk = Picture("EX_DUSK");
  EXPECT_EQ(Window(10, 10), Px(dusk, 10, 10));
  EXPECT_EQ(Window(600, 590), Px(dusk, 600, 590));
  Click(100, 120);
  EXPECT_EQ(e.viewer.picture, 2);
  const Bitmap tower = Picture("EX_TOWER");
  ASSERT_EQ(tower.height, 1200);
  EXPECT_EQ(Window(10, 10), Px(tower, 10, 610));
  EXPECT_EQ(Window(400, 590), Px(tower, 400, 1190));
  // Round again to the tower, which now scrolls up from its foot to its top, 20 rows a step.
  Click(100, 120);
  EXPECT_EQ(e.viewer.picture, 0);
  Click(100, 120);
  EXPECT_EQ(e.viewer.picture, 1);
  host->recording = true;
  Click(100, 120);
  host->recording = false;
  EXPECT_EQ(e.viewer.picture, 2);
  EXPECT_EQ(Window(10, 10), Px(tower, 10, 10));
  EXPECT_EQ(Window(400, 300), Px(tower, 400, 300));
  std::vector<int> tops;
  for (const testing::RecordingHost::Shown& frame : host->shown) {
    for (int top = 600; top >= 0; top -= 20) {
      bool same = true;
      for (int y = 0; y < 600 && same; y += 3) same = Px(frame.window, 10, y) == Px(tower, 10, top + y);
      if (same) {
        tops.push_back(top);
        break;
      }
    }
  }
  std::vector<int> expected;
  for (int top = 580; top >= 0; top -= 20) expected.push_back(top);
  EXPECT_EQ(tops, expected);
  Click(100, 120, "right");
  EXPECT_FALSE(e.viewer.viewing);
  EXPECT_EQ(Window(100, 120), Px(page, 100, 120));

  // The second set by the next button, back by set button 1.
  Move(240, 540);
  Click(240, 540);
  EXPECT_EQ(e.viewer.set, 1);
  const Bitmap second = Picture("GAL_CG1N");
  EXPECT_EQ(Window(400, 300), Px(second, 400, 300));
  EXPECT_TRUE(Has(e.DescribeState(), "\"cells\":[1,1,0,")) << "the sky and the town map are not seen yet";
  Move(345, 540);
  Click(345, 540);
  EXPECT_EQ(e.viewer.set, 0);

  // ---- the scene gallery, by its page button ----
  Move(600, 30);
  Click(600, 30);
  state = e.DescribeState();
  EXPECT_TRUE(Has(state, "\"viewer\":{\"page\":\"VIEW_2\",\"viewing\":false,\"cells\":[3,1,1,0,")) << state;
  EXPECT_TRUE(Has(state, "\"type\":1,\"set\":0,\"sets\":1,")) << state;
  const Bitmap scenes = Picture("GAL_SCN");
  EXPECT_EQ(Differing(scenes, 50, 400, 750, 450), 0);
  Move(100, 120);
  EXPECT_GT(Differing(scenes, 50, 400, 750, 450), 0) << "the caption";
  // The look back replays from its label and returns to the gallery.
  Click(100, 120);
  EXPECT_EQ(e.script.replayMode, 1);
  EXPECT_EQ(e.script.currentScript, "LOOKBACK");
  EXPECT_TRUE(e.replayMenu.endReplay);
  for (int i = 0; i < 10 && e.script.replayMode == 1; ++i) Click(400, 100);
  EXPECT_EQ(e.script.replayMode, 0);
  EXPECT_EQ(e.ctl.screenMode, smCgViewer);
  EXPECT_EQ(e.script.currentScript, "extras");
  EXPECT_EQ(Window(400, 300), Px(scenes, 400, 300));

  // ---- the music room ----
  Move(730, 30);
  Click(730, 30);
  state = e.DescribeState();
  EXPECT_TRUE(Has(state, "\"viewer\":{\"page\":\"VIEW_3\",\"viewing\":false,\"cells\":[2,2,")) << state;
  EXPECT_TRUE(Has(state, "\"type\":3,")) << state;
  Move(350, 120);
  Click(350, 120);
  EXPECT_EQ(e.viewer.musicCell, 2);
  EXPECT_EQ(e.vars.S(3), 2);
  Move(100, 540);
  Click(100, 540);
  EXPECT_EQ(e.viewer.musicCell, 0);
  Move(700, 540);
  Click(700, 540);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_TRUE(Has(e.DescribeState(), "\"viewer\":{\"page\":\"\","));

  // ---- recollection ----
  OpenExtra(3);
  ASSERT_EQ(e.ctl.screenMode, smRecollection);
  state = e.DescribeState();
  // The first page: the lit header's row, the two scenes, the bare header's blank row, the look back.
  EXPECT_TRUE(Has(state, "\"recollection\":{\"open\":true,\"pages\":[0,0,0,0,0],\"cells\":[0,0,0,2,3,0,0,0,0,5,0,"))
      << state;
  const Bitmap screen = Picture("ss_kaiso");
  const Bitmap strip = Picture("ss_kaiso_p");
  EXPECT_EQ(Window(530, 170), Px(strip, 28 + 11, 11)) << "the first page's button, selected";
  EXPECT_EQ(Window(530, 230), Px(strip, 11, 71)) << "the second, plain";
  EXPECT_GT(Differing(screen, 25, 170, 190, 185), 0) << "the first scene's title";
  EXPECT_EQ(Differing(screen, 25, 185, 190, 200), 0) << "the row the bare header leaves blank";
  EXPECT_GT(Differing(screen, 25, 200, 190, 215), 0) << "the look back below it";
  Click(530, 230);
  state = e.DescribeState();
  EXPECT_TRUE(Has(state, "\"pages\":[1,0,0,0,0],\"cells\":[0,0,0,0,0,")) << "nothing of the town is open yet";
  EXPECT_EQ(Window(530, 230), Px(strip, 28 + 11, 71));
  Click(230, 110);
  EXPECT_EQ(e.recollectionScreen.tab, 1);
  EXPECT_EQ(Window(530, 230), Px(screen, 530, 230)) << "one page: no page buttons";
  Click(80, 110);
  Click(530, 170);
  // A double click on the look back plays its replay version; the menu entry ends it.
  Move(40, 200);
  EXPECT_EQ(e.recollectionScreen.highlight, 10);
  Input({"click 40 200", "click 40 200"});
  EXPECT_EQ(e.script.replayMode, 2);
  EXPECT_EQ(e.script.currentScript, "k_LOOKBACK");
  Input({"menu main end-replay"});
  EXPECT_EQ(e.script.replayMode, 0);
  EXPECT_EQ(e.ctl.screenMode, smRecollection);
  EXPECT_TRUE(Has(e.DescribeState(), "\"recollection\":{\"open\":true,"));
  Move(600, 560);
  Click(600, 560);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_TRUE(Has(e.DescribeState(), "\"recollection\":{\"open\":false,"));
  ASSERT_TRUE(ClickUntilChoice());
  EXPECT_EQ(e.script.currentScript, "extras");
  EXPECT_TRUE(host->Messages().empty());
}

}  // namespace
}  // namespace torvel
