// The in-game save and load screen and the banner through the real engine on the headless host:
// what the player sees while the screen slides in, the plates and their texts, the highlights,
// and saving and loading from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

// Ten positions in two columns of plates 300 × 60, three page buttons and a return button.
constexpr const char* kScreenConfig =
    "SAVE_BG:SBG1,SBG2\nLOAD_BG:LBG1,LBG2\nSV_PLATE:PL1,PL2\n"
    "SV_POS:40,40,440,40,40,120,440,120,40,200,440,200,40,280,440,280,40,360,440,360\n"
    "SV_SLOT_SIZE:300,60\nSV_OFS:10,4\n"
    "SV_PAGE_POS:40,560,140,560,240,560\nSV_PAGE_SIZE:80,30\nSV_RETURN:700,560,780,590\n"
    "SV_FORMAT:No.%0\\%1 %2\\12%3\nSV_EMPTY:No.%0\\  ----\n";

constexpr Bgr kStory{40, 80, 120};
constexpr Bgr kHighlightBackground{90, 90, 90};
constexpr Bgr kLoadBackground{10, 20, 30};
constexpr Bgr kPlate{0, 0, 200};
constexpr Bgr kPlateHighlighted{0, 200, 0};

// A plate 300 × 60 with its mask beside it, fully opaque.
Bitmap Plate(Bgr colour) {
  Bitmap b = Solid(600, 60, colour);
  FillColumns(b, 300, 600, {255, 255, 255});
  return b;
}

// The save background: every pixel tells where it came from.
Bgr SaveBackgroundAt(int x, int y) { return Bgr{x & 0xFF, y & 0xFF, 7}; }

class SaveScreen : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& extraConfig = "", const char* screenConfig = kScreenConfig) {
    // The configuration comes first: the first entry of a name is the one read.
    game.Script("_config", std::string(kTextConfig) + kSaveConfig + screenConfig + extraConfig);
    AddSaveGameAssets(game);
    game.Entry("tq_gra.tvx", "SBG1", Packed(Gradient(800, 600)))
        .Entry("tq_gra.tvx", "SBG2", Packed(Solid(800, 600, kHighlightBackground)))
        .Entry("tq_gra.tvx", "LBG1", Packed(Solid(800, 600, kLoadBackground)))
        .Entry("tq_gra.tvx", "LBG2", Packed(Solid(800, 600, kHighlightBackground)))
        .Entry("tq_gra.tvx", "PL1", Packed(Plate(kPlate)))
        .Entry("tq_gra.tvx", "PL2", Packed(Plate(kPlateHighlighted)))
        .Script(
            "main",
            "!S000=0\n!S028=1\n@title 夜明けの駅\n@gra AB01,1\n!V001=11\n>少女\nおはよう。\n\\\n!V001=22\n次。\n\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  const Bitmap& Window() { return game.Host().Window(); }
  // Opens the screen and keeps every frame the window showed on the way.
  std::vector<Bitmap> Open(int mode) {
    std::vector<Bitmap> frames;
    game.Host().onShown = [&](const Bitmap& w, Point) { frames.push_back(w); };
    E().OpenSaveLoadScreen(mode);
    game.Host().onShown = nullptr;
    return frames;
  }
  // Whether any pixel of rows [y0, y1) and columns [x0, x1) differs from `c`.
  bool InkIn(const Bitmap& b, int x0, int x1, int y0, int y1, Bgr c) {
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        if (Px(b, x, y) != c) return true;
      }
    }
    return false;
  }

  // Rows [y0, y1) alike: the picture above the text window, where the click-wait icon never is.
  static bool SameRows(const Bitmap& a, const Bitmap& b, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      if (!std::equal(a.Row(y), a.Row(y) + a.width * 3, b.Row(y))) return false;
    }
    return true;
  }

  GameFixture game;
};

TEST_F(SaveScreen, TheScreenSlidesInFromTheLowerRightWhileItFadesIn) {
  Start();
  const Bitmap before = Window();
  const std::vector<Bitmap> frames = Open(1);
  const Bitmap after = Window();
  ASSERT_EQ(frames.size(), 8u) << "a = 0, 32, … 224, one 20 ms frame each";
  // Each frame: where the moving picture covers, (new × a + old × (256 − a)) >> 8 of the screen's
  // pixel 256 − a to the left and above; elsewhere the picture before.
  const Point probes[] = {{300, 10}, {360, 170}, {0, 0}, {650, 300}, {700, 50}, {10, 500}, {380, 590}};
  for (size_t k = 0; k < frames.size(); ++k) {
    const int a = 32 * static_cast<int>(k);
    for (const Point& p : probes) {
      Bgr expected = Px(before, p.x, p.y);
      if (p.x <= a + 543 && p.y <= a + 343) {
        const Bgr n = Px(after, p.x + 256 - a, p.y + 256 - a);
        for (int c = 0; c < 3; ++c) expected[c] = (n[c] * a + expected[c] * (256 - a)) >> 8;
      }
      EXPECT_EQ(Px(frames[k], p.x, p.y), expected) << "a = " << a << " at " << p.x << "," << p.y;
    }
  }
  // a = 128 at (300, 10): the gradient's (428, 138) half over the story's colour.
  EXPECT_EQ(Px(frames[4], 300, 10), (Bgr{(172 + 40) / 2, (138 + 80) / 2, (7 + 120) / 2}));
  EXPECT_EQ(Px(Window(), 380, 10), SaveBackgroundAt(380, 10)) << "then the screen itself";
  EXPECT_EQ(E().ctl.saveLoadScreen, 2);
  EXPECT_FALSE(E().ctl.scriptRunning);
}

TEST_F(SaveScreen, KeysDuringTheRevealDoNotOpenTheScreenAgain) {
  Start();
  int opened = 0;
  game.Host().onShown = [&](const Bitmap&, Point) {
    ++opened;
    EXPECT_EQ(E().ctl.saveLoadScreen, 1);
    EXPECT_FALSE(E().LoadKeyActs());
    game.Move(100, 60);  // hover is not handled while opening
    EXPECT_EQ(E().saveScreen.hovered, 0);
  };
  E().OpenSaveLoadScreen(1);
  game.Host().onShown = nullptr;
  EXPECT_GT(opened, 0);
}

TEST_F(SaveScreen, UsedAndEmptySlotsShowTheirTemplatesLinesAtTheirOffsets) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  const std::vector<uint8_t> file = FileBytes(E().SlotFile(2));
  const std::string date(reinterpret_cast<const char*>(&file[0]), 10);
  const std::string time(reinterpret_cast<const char*>(&file[11]), 8);
  Open(1);
  // Each plate as it should be: the plate, then its lines drawn at the plate's corner + (10, 4)
  // and 0, 24 and 36 pixels lower.
  struct Plate {
    int x, y;
    std::vector<std::pair<std::string, int>> lines;
  };
  const Plate plates[] = {
      {40, 40, {{"No. 1", 0}, {"  ----", 24}}},
      {440, 40, {{"No. 2", 0}, {date + " " + time, 24}, {Sj("夜明けの駅"), 36}}},
      {440, 360, {{"No.10", 0}, {"  ----", 24}}},
  };
  for (const Plate& p : plates) {
    Bitmap expected = Window();
    const Bgr plate = Opaque(kPlate);
    for (int y = p.y; y < p.y + 60; ++y) {
      for (int x = p.x; x < p.x + 300; ++x) {
        for (int c = 0; c < 3; ++c) expected.At(x, y)[c] = static_cast<uint8_t>(plate[c]);
      }
    }
    for (const auto& [text, offset] : p.lines) E().DrawString(text, p.x + 10, expected, 0, p.y + 4 + offset);
    Bitmap got = Window();
    bool same = true;
    for (int y = p.y; y < p.y + 60 && same; ++y) {
      for (int x = p.x; x < p.x + 300 && same; ++x) same = Px(got, x, y) == Px(expected, x, y);
    }
    EXPECT_TRUE(same) << "plate at " << p.x << "," << p.y;
  }
  const std::vector<bool> used{false, true, false, false, false, false, false, false, false, false};
  EXPECT_EQ(E().saveScreen.used, used);
  const std::string state = E().DescribeState();
  EXPECT_NE(state.find("\"saveScreen\":{\"open\":true,\"mode\":1,\"page\":0,\"hovered\":0,\"used\":[false,true,false"),
            std::string::npos);
}

TEST_F(SaveScreen, TheHoveredItemShowsHighlightedAndTheCurrentPageButtonIsHighlighted) {
  Start();
  Open(1);
  EXPECT_EQ(Px(Window(), 60, 565), kHighlightBackground) << "page 0's button";
  EXPECT_EQ(Px(Window(), 160, 565), SaveBackgroundAt(160, 565));
  game.Move(300, 90);
  EXPECT_EQ(E().saveScreen.hovered, 1);
  EXPECT_EQ(Px(Window(), 330, 95), Opaque(kPlateHighlighted));
  EXPECT_EQ(Px(Window(), 730, 95), Opaque(kPlate)) << "the other plates stay";
  struct Case {
    int x, y, item;
  };
  const Case cases[] = {{160, 565, 101}, {60, 565, 0}, {710, 570, 120}, {20, 20, 0}, {460, 370, 10}};
  for (const Case& c : cases) {
    game.Move(c.x, c.y);
    EXPECT_EQ(E().saveScreen.hovered, c.item) << c.x << "," << c.y;
  }
  game.Move(300, 90);
  game.Move(20, 20);
  EXPECT_EQ(Px(Window(), 330, 95), Opaque(kPlate)) << "leaving the item puts the screen back";
}

TEST_F(SaveScreen, InLoadModeAnEmptySlotOffersNothing) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  Open(0);
  EXPECT_EQ(Px(Window(), 380, 30), kLoadBackground);
  game.Move(100, 60);
  EXPECT_EQ(E().saveScreen.hovered, 0);
  game.Move(500, 60);
  EXPECT_EQ(E().saveScreen.hovered, 2);
}

TEST_F(SaveScreen, PagesTurnAndTheLastPageStopsAtSlot99) {
  Start();
  // Nine page buttons would be needed to reach page 9; the page is set as the buttons would.
  Open(1);
  game.Press(160, 565);
  EXPECT_EQ(E().saveScreen.page, 1);
  EXPECT_EQ(Px(Window(), 160, 565), kHighlightBackground);
  E().CloseSaveLoadScreen();
  Open(1);
  EXPECT_EQ(E().saveScreen.page, 1) << "the page persists";
  E().CloseSaveLoadScreen();
  E().saveScreen.page = 9;
  Open(1);
  game.Move(460, 370);  // the tenth position would be slot 100
  EXPECT_EQ(E().saveScreen.hovered, 0);
  EXPECT_EQ(Px(Window(), 700, 410), Opaque(kPlate)) << "its plate is drawn";
  game.Move(60, 370);
  EXPECT_EQ(E().saveScreen.hovered, 9);
  game.Press(60, 370);
  EXPECT_TRUE(std::filesystem::exists(E().SlotFile(99)));
}

TEST_F(SaveScreen, AnEmptySlotIsSavedByOneClickAfterTheScreenCloses) {
  Start();
  const Bitmap before = Window();
  Open(1);
  game.Press(100, 60);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  EXPECT_TRUE(E().ctl.scriptRunning);
  const std::vector<uint8_t> file = FileBytes(E().SlotFile(1));
  ASSERT_EQ(file.size(), kSlotEnd);
  // The thumbnail is the story's scene, not the screen.
  EXPECT_EQ(file[kSlotThumbnail], kStory[0]);
  EXPECT_EQ(SjisToUtf8(E().saves.lastBanner), "セーブしました");
  EXPECT_EQ(Px(Window(), 380, 30), Px(before, 380, 30));
}

TEST_F(SaveScreen, ARightClickOrTheReturnButtonPutsThePictureBack) {
  Start();
  const Bitmap before = Window();
  for (int way = 0; way < 2; ++way) {
    Open(way);
    if (way == 0) {
      game.Press(400, 300, MouseButton::Right);
    } else {
      game.Press(710, 570);
    }
    EXPECT_EQ(E().ctl.saveLoadScreen, 0);
    EXPECT_TRUE(SameRows(Window(), before, 0, 440)) << way;
  }
  game.Click();
  game.RunToWait();
  EXPECT_EQ(E().vars.V(1), 22) << "the story goes on";
}

TEST_F(SaveScreen, ConfirmedActionsSaveOrLoadTheHoveredSlot) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  game.Click();
  game.RunToWait();
  ASSERT_EQ(E().vars.V(1), 22);
  Open(0);
  game.Move(500, 60);
  game.Press(500, 60);
  EXPECT_EQ(E().ctl.saveLoadScreen, 2) << "the question is asked first";
  EXPECT_EQ(E().ctl.dialogOpen, 5);
  game.Press(500, 60, MouseButton::Right);  // refused: the screen stays
  EXPECT_EQ(E().ctl.saveLoadScreen, 2);
  E().saves.lastBanner.clear();
  E().ConfirmedSaveLoad(1);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  EXPECT_EQ(E().vars.V(1), 11);
  EXPECT_EQ(E().saves.lastBanner, "") << "loading from the screen shows no banner";

  Open(1);
  game.Move(500, 60);
  E().ConfirmedSaveLoad(0);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  EXPECT_EQ(SjisToUtf8(E().saves.lastBanner), "セーブしました");
}

TEST_F(SaveScreen, TheQuestionsYesLoadsOrOverwritesTheHoveredSlot) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  game.Click();
  game.RunToWait();
  ASSERT_EQ(E().vars.V(1), 22);
  Open(0);
  game.Press(500, 60);
  ASSERT_EQ(E().ctl.dialogOpen, 5);
  game.Press(320, 200);  // "はい"
  EXPECT_EQ(E().ctl.dialogOpen, 0);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  EXPECT_EQ(E().vars.V(1), 11);

  Open(1);
  game.Press(500, 60);
  ASSERT_EQ(E().ctl.dialogOpen, 4) << "slot 2 holds a save";
  E().saves.lastBanner.clear();
  game.Press(320, 200);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  EXPECT_EQ(SjisToUtf8(E().saves.lastBanner), "セーブしました");
}

// A game whose rectangles reach past the picture: every part is drawn and found within it.
TEST_F(SaveScreen, RectanglesBeyondThePictureAreClippedToIt) {
  Start("",
        "SAVE_BG:SBG1,SBG2\nLOAD_BG:LBG1,LBG2\nSV_PLATE:PL1,PL2\nSV_POS:-100,-30,700,560\nSV_SLOT_SIZE:300,60\n"
        "SV_OFS:10,4\nSV_PAGE_POS:2000000000,2000000000,-40,590\nSV_PAGE_SIZE:80,30\n"
        "SV_RETURN:-10,-10,100000,5\nSV_FORMAT:No.%0\nSV_EMPTY:No.%0\n");
  Open(1);
  ASSERT_EQ(E().ctl.saveLoadScreen, 2);
  // The plates of both positions, cut at the picture's edges: blended through their full masks.
  const Bgr plateShown{0, 0, kPlate[2] * 255 >> 8};
  EXPECT_EQ(Px(Window(), 0, 20), plateShown);
  EXPECT_EQ(Px(Window(), 799, 599), plateShown);
  // Page 1's button (page 0's lies wholly outside), the return button along the top edge.
  const std::vector<std::pair<Point, int>> hovers = {
      {{150, 20}, 1}, {{799, 599}, 2}, {{400, 2}, 120}, {{10, 595}, 101}};
  for (const auto& [at, item] : hovers) {
    game.Move(at.x, at.y);
    EXPECT_EQ(E().saveScreen.hovered, item) << at.x << "," << at.y;
  }
}

// The story's `save` line opens the screen; a click on an empty slot saves and the story goes on.
TEST_F(SaveScreen, TheSaveLineOpensTheScreenAndTheStoryGoesOnAfterTheSave) {
  game.Script("_config", std::string(kTextConfig) + kSaveConfig + kScreenConfig);
  AddSaveGameAssets(game);
  game.Entry("tq_gra.tvx", "SBG1", Packed(Gradient(800, 600)))
      .Entry("tq_gra.tvx", "SBG2", Packed(Solid(800, 600, kHighlightBackground)))
      .Entry("tq_gra.tvx", "PL1", Packed(Plate(kPlate)))
      .Entry("tq_gra.tvx", "PL2", Packed(Plate(kPlateHighlighted)))
      .Script("main", "!S000=0\n!S028=1\n@gra AB01,1\n!V001=11\n@save\n!V001=22\nあと。\n\\\n");
  game.Start();
  game.RunToWait();
  ASSERT_EQ(E().ctl.saveLoadScreen, 2);
  EXPECT_EQ(E().vars.V(1), 11);
  game.Press(100, 60);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  EXPECT_EQ(FileBytes(E().SlotFile(1)).size(), kSlotEnd);
  game.RunToWait();
  EXPECT_EQ(E().vars.V(1), 22);
}

TEST_F(SaveScreen, WithoutASaveBackgroundTheListWindowIsAskedForAndTheStoryGoesOn) {
  AddSaveGameAssets(game);
  game.Script("main", "!S028=1\n@gra AB01,1\n!V001=11\nおはよう。\n\\\n");
  game.Start();
  game.RunToWait();
  E().OpenSaveLoadScreen(1);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  EXPECT_TRUE(E().ctl.scriptRunning);
}

// The band across the picture: the dark blue strip at its full level, rows by opacity.
TEST_F(SaveScreen, TheBandBlendsItsStripRowByRowAndPutsThePictureBack) {
  Start();
  const Bitmap before = Window();
  std::vector<Bitmap> frames;
  game.Host().onShown = [&](const Bitmap& w, Point) { frames.push_back(w); };
  E().ShowBanner(Utf8ToSjis("セーブしました"), 100);
  game.Host().onShown = nullptr;
  // Fade in 0, 16, … 240, then the band held: the first frame at the full level is the 17th.
  ASSERT_GT(frames.size(), 17u);
  const Bitmap& full = frames[16];
  for (int row = 0; row < 52; ++row) {
    const int o = row < 8 ? 20 * row : row >= 44 ? 20 * (51 - row) : 160;
    const Bgr old = Px(before, 5, 214 + row);
    const Bgr blue{0x80, 0x40, 0x00};
    Bgr expected;
    for (int c = 0; c < 3; ++c) expected[c] = (blue[c] * o + old[c] * (256 - o)) >> 8;
    EXPECT_EQ(Px(full, 5, 214 + row), expected) << "row " << row;
  }
  EXPECT_EQ(Px(full, 5, 213), Px(before, 5, 213));
  EXPECT_EQ(Px(full, 5, 266), Px(before, 5, 266));
  // Halfway in (level 128) the band is half there.
  const Bgr old = Px(before, 5, 240);
  const Bgr band = Px(full, 5, 240);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(Px(frames[8], 5, 240)[c], (band[c] * 128 + old[c] * 128) >> 8);
  EXPECT_TRUE(InkIn(full, 100, 700, 222, 258, Px(full, 5, 240))) << "the text is drawn";
  EXPECT_TRUE(SameRows(Window(), before, 0, 440)) << "the picture is put back";
}

}  // namespace
}  // namespace torvel

namespace torvel {
namespace {

using namespace testing;

// The panel look: the game's panel picture over the screen buffer at PANEL_BASE, faded in by 32
// per frame.
TEST(SaveBanner, ThePanelFadesInOverThePictureAndLeavesIt) {
  struct Case {
    int x, y;    // PANEL_BASE
    bool shown;  // the whole panel lies on the picture
  };
  const Case cases[] = {{200, 250, true}, {600, 550, false}};
  for (const Case& c : cases) {
    GameFixture game;
    Bitmap panel = Solid(400, 200, {10, 200, 30});
    for (int y = 100; y < 200; ++y) {
      for (int x = 0; x < 400; ++x) std::fill_n(panel.At(x, y), 3, uint8_t{255});
    }
    game.Script("_config", std::string(kTextConfig) + kSaveConfig + "PANEL_USE:1\nPANEL_BASE:" + std::to_string(c.x) +
                               "," + std::to_string(c.y) + "\n");
    AddSaveGameAssets(game);
    game.Entry("tq_gra.tvx", "sys_panel", Packed(panel)).Script("main", "@gra AB01,1\nおはよう。\n\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    const Bitmap before = game.Host().Window();
    std::vector<Bitmap> frames;
    game.Host().onShown = [&](const Bitmap& w, Point) { frames.push_back(w); };
    e.ShowBanner(Utf8ToSjis("ロードします"), 100);
    game.Host().onShown = nullptr;
    ASSERT_GT(frames.size(), 9u);
    const Bgr old = Px(before, c.x + 5, c.y + 5);
    for (int k = 0; k <= 8; ++k) {
      const int level = 32 * k;
      Bgr expected = old;
      if (c.shown) {
        const Bgr p = Opaque({10, 200, 30});
        for (int ch = 0; ch < 3; ++ch) expected[ch] = (p[ch] * level + old[ch] * (256 - level)) >> 8;
      }
      EXPECT_EQ(Px(frames[static_cast<size_t>(k)], c.x + 5, c.y + 5), expected) << c.x << " level " << level;
    }
    if (c.shown) {
      EXPECT_EQ(Px(frames[8], c.x - 1, c.y + 5), Px(before, c.x - 1, c.y + 5)) << "left of the panel";
    }
    EXPECT_EQ(Px(game.Host().Window(), c.x + 5, c.y + 5), old) << "the picture is put back";
  }
}

}  // namespace
}  // namespace torvel
