// The CG viewer played through the headless host: seen states and the percentage, highlights and
// their fades, viewing pictures (tall ones scrolled), set and page buttons, music rooms, scene
// replays and their return, and the faults of damaged tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scene_test_support.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::Packed;
using testing::Px;
using testing::SceneGame;
using testing::Solid;

constexpr Bgr kNormal{40, 40, 40};
constexpr Bgr kHigh{200, 180, 160};
constexpr Bgr kPlate{0, 0, 250};
constexpr Bgr kTop{10, 200, 10};
constexpr Bgr kBottom{200, 10, 10};
constexpr int kDigitW = 8;
constexpr int kDigitH = 10;

Bgr DigitColour(int d) { return Bgr{10 + 20 * d, 60, 220}; }
// What an opaque masked byte leaves: one level darker.
Bgr Masked(Bgr c) { return testing::Opaque(c); }
// highlight × w + normal × (256 − w), as a fade step blends a control.
Bgr Fade(int w) {
  Bgr out{};
  for (int i = 0; i < 3; ++i) out[static_cast<size_t>(i)] = (kHigh[i] * w + kNormal[i] * (256 - w)) >> 8;
  return out;
}

// Colour on the left, an opaque mask on the right.
Bitmap SideBySide(int w, int h, Bgr colour) {
  Bitmap b = Solid(2 * w, h, Bgr{255, 255, 255});
  testing::FillColumns(b, 0, w, colour);
  return b;
}

Bitmap DigitStrip() {
  Bitmap b = Solid(2 * kDigitW, 10 * kDigitH, Bgr{255, 255, 255});
  for (int d = 0; d < 10; ++d) {
    for (int y = d * kDigitH; y < (d + 1) * kDigitH; ++y) {
      for (int x = 0; x < kDigitW; ++x) {
        uint8_t* p = b.At(x, y);
        const Bgr c = DigitColour(d);
        p[0] = static_cast<uint8_t>(c[0]), p[1] = static_cast<uint8_t>(c[1]), p[2] = static_cast<uint8_t>(c[2]);
      }
    }
  }
  return b;
}

Bitmap Tall() {
  Bitmap b = Solid(800, 1200, kBottom);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(kTop[0]), p[1] = static_cast<uint8_t>(kTop[1]), p[2] = static_cast<uint8_t>(kTop[2]);
    }
  }
  return b;
}

constexpr const char* kHeader =
    ":VIEW_0\n{\nM1:700,0,750,50\nM2:700,60,750,110\nM9:700,120,750,170\n}\n"
    ":VIEW_1\n{\nTYPE:0\nGRA:vnorm,vhigh\nPLATE:plate\nPER_NUM:digits\nPER_POS:600,500\n"
    "THM_SIZE:100,80\nNEXT:10,500,60,550\nPREV:70,500,120,550\nEXIT:130,500,180,550\n"
    "P0:200,500,240,550\nP1:250,500,290,550,0,99,1\nP5:300,500,340,550,0,99,7\n";

// VIEW_1: set 0 with a three-picture cell, a single picture and a tall one; set 1 with one cell.
std::string GalleryTable() {
  std::string t = kHeader;
  t += "SET:2\n1:0,0\n2:120,0\n3:240,0\n4:360,0\n}\n{\n1:pa,pb,pc\n2:pd\n3:ptall\n}\n{\n1:pe\n}\n";
  t += ":2_VIEW_1\n{\nTYPE:0\nGRA:vnorm,vhigh\nSET:1\nTHM_SIZE:100,80\n1:0,0\n}\n{\n1:px\n}\n";
  t += ":VIEW_2\n{\nTYPE:1\nGRA:vnorm,vhigh\nSET:1\nTHM_SIZE:100,80\nEXIT:130,500,180,550\n"
       "CAPTION:300,300,500,340\n1:0,0\n2:120,0\n}\n{\n1:5,scene:part2,First\n2:6,missing,Gone\n}\n";
  t += ":VIEW_3\n{\nTYPE:3\nGRA:vnorm,vhigh\nSET:1\nTHM_SIZE:100,80\nNEXT:10,500,60,550\nPREV:70,500,120,550\n"
       "EXIT:130,500,180,550\n1:0,0\n2:120,0\n}\n{\n}\n";
  t +=
      ":VIEW_4\n{\nTYPE:2\nGRA:vnorm,vhigh\nSET:1\nMUSIC:3\nTHM_SIZE:100,80\n1:0,0\n2:120,0\n}\n{\n1:Dawn\n2:Dusk\n}\n";
  t += ":EMPTY\n{\nTYPE:0\nGRA:vnorm,vhigh\nSET:0\nNEXT:10,500,60,550\n}\n";
  return t;
}

void AddPictures(testing::GameFixture& f) {
  f.Entry("tq_gra.tvx", "vnorm", Packed(Solid(800, 600, kNormal)))
      .Entry("tq_gra.tvx", "vhigh", Packed(Solid(800, 600, kHigh)))
      .Entry("tq_gra.tvx", "plate", Packed(SideBySide(100, 80, kPlate)))
      .Entry("tq_gra.tvx", "digits", Packed(DigitStrip()))
      .Entry("tq_gra.tvx", "ptall", Packed(Tall()));
  const std::pair<const char*, Bgr> pictures[] = {{"pa", {1, 2, 3}},    {"pb", {4, 5, 6}},    {"pc", {7, 8, 9}},
                                                  {"pd", {11, 12, 13}}, {"pe", {14, 15, 16}}, {"px", {17, 18, 19}}};
  for (const auto& [name, colour] : pictures) f.Entry("tq_gra.tvx", name, Packed(Solid(800, 600, colour)));
}

// Starts a game whose main script waits once (for the test to set flags), then runs `rest`.
TForm1& Start(SceneGame& game, const std::string& rest, const std::string& table = GalleryTable()) {
  AddPictures(game.fixture);
  game.fixture.Script("view", table)
      .Script("main", "\\\n" + rest)
      .Script("sub", "@viewer VIEW_2\n!V002=1\n\\\n")
      .Script("scene", "!V010=1\n\\\n:part2\n!V011=1\n\\\n@exit\n");
  TForm1& e = game.Start();
  game.RunToWait();
  return e;
}

void Continue(SceneGame& game) {
  game.Click(400, 300);
  game.RunToWait();
}

TEST(CgViewer, PictureListNumbersTheFirstPageOnly) {
  SceneGame game;
  TForm1& e = Start(game, "");
  EXPECT_EQ(e.layers.galleryPictures, (std::vector<std::string>{"PA", "PB", "PC", "PD", "PTALL", "PE"}));
  EXPECT_EQ(e.CgPictureCount(), 6);
}

TEST(CgViewer, OneSeenPictureWithoutPartialPlateSeesTheWholeCell) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer view_1\n");
  e.vars.D.Set(1);  // "pb" of the three-picture cell
  Continue(game);
  EXPECT_EQ(e.ctl.screenMode, smCgViewer);
  EXPECT_EQ(e.vars.S(0), 2);
  for (int n : {0, 1, 2}) EXPECT_TRUE(e.vars.D.Test(n)) << n;
  EXPECT_FALSE(e.vars.D.Test(3));
  EXPECT_EQ(e.viewer.cells[0][1].state, 3);
  EXPECT_EQ(e.viewer.cells[0][2].state, 1);
  // Seen cells show the page, locked ones the plate through its mask.
  EXPECT_EQ(game.Window(50, 40), kNormal);
  EXPECT_EQ(game.Window(170, 40), Masked(kPlate));
  // Cell 4 was placed but never defined: no plate, never hit.
  EXPECT_EQ(game.Window(410, 40), kNormal);
  const std::string state = e.DescribeState();
  EXPECT_NE(state.find("\"D\":[0,1,2]"), std::string::npos);
  EXPECT_NE(state.find("\"viewer\":{\"page\":\"VIEW_1\",\"viewing\":false,\"cells\":[3,1,1,0,0"), std::string::npos);
  EXPECT_NE(
      state.find("\"type\":0,\"set\":0,\"sets\":2,\"hover\":0,\"picture\":-1,\"musicCell\":0,\"seen\":3,\"total\":6}"),
      std::string::npos);
  EXPECT_NE(state.find("\"replayEntries\":{\"nextScene\":false,\"endReplay\":false}"), std::string::npos);
}

struct PercentCase {
  int seen;
  int total;
  std::array<int, 3> digits;  // -1: nothing drawn there
};

TEST(CgViewer, PercentageDigits) {
  const PercentCase cases[] = {{7, 9, {-1, 7, 7}}, {3, 40, {-1, -1, 7}}, {9, 9, {1, 0, 0}}, {0, 0, {1, 0, 0}}};
  for (const PercentCase& c : cases) {
    std::string table = ":VIEW_1\n{\nTYPE:0\nGRA:vnorm,vhigh\nPER_NUM:digits\nPER_POS:600,500\nSET:1\n}\n{\n";
    for (int i = 1; i <= c.total; ++i) table += std::to_string(i) + ":q" + std::to_string(i) + "\n";
    table += "}\n";
    SceneGame game;
    TForm1& e = Start(game, "@viewer VIEW_1\n", table);
    for (int i = 0; i < c.seen; ++i) e.vars.D.Set(i);
    Continue(game);
    for (int i = 0; i < 3; ++i) {
      const Bgr want =
          c.digits[static_cast<size_t>(i)] < 0 ? kNormal : Masked(DigitColour(c.digits[static_cast<size_t>(i)]));
      EXPECT_EQ(game.Window(600 + kDigitW * i + 3, 504), want) << c.seen << " of " << c.total << " digit " << i;
    }
  }
}

TEST(CgViewer, HoverLightsAControlThatFadesFrameByFrame) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer VIEW_1\n");
  e.vars.D.Set(0);
  Continue(game);
  game.Move(50, 40);
  EXPECT_EQ(e.viewer.hover, 1);
  EXPECT_EQ(game.Window(50, 40), kHigh);
  game.Move(400, 300);
  EXPECT_EQ(e.viewer.hover, 0);
  for (int f = 15; f >= 13; --f) {
    game.Host().RunFrame();
    EXPECT_EQ(game.Window(50, 40), Fade(8 * f)) << f;
    EXPECT_EQ(game.Window(99, 79), Fade(8 * f)) << f;
    EXPECT_EQ(game.Window(100, 40), kNormal);
  }
  game.Host().RunFrames(14);
  EXPECT_EQ(game.Window(50, 40), kNormal);
  // Cells first; then next, previous, exit; set buttons win over them.
  EXPECT_EQ(e.ViewerHitTest(15, 505), 51);
  EXPECT_EQ(e.ViewerHitTest(75, 505), 52);
  EXPECT_EQ(e.ViewerHitTest(135, 505), 53);
  EXPECT_EQ(e.ViewerHitTest(255, 505), 61);
  // This page's own page button is never active; another page's is.
  EXPECT_EQ(e.ViewerHitTest(720, 20), 0);
  EXPECT_EQ(e.ViewerHitTest(720, 80), 82);
}

TEST(CgViewer, ViewingSkipsUnseenPicturesAndScrollsTallOnes) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer VIEW_1\n!V001=1\n\\\n");
  e.vars.D.Set(4);  // the tall picture
  e.vars.D.Set(0);
  Continue(game);
  // The page flagged the whole first cell; take one flag back to see viewing skip it.
  e.vars.D.Set(1, false);
  game.Click(50, 40);
  EXPECT_TRUE(e.viewer.viewing);
  EXPECT_EQ(game.Window(5, 5), (Bgr{1, 2, 3}));
  game.Click(50, 40);
  EXPECT_EQ(game.Window(5, 5), (Bgr{7, 8, 9}));  // "pb" is not seen
  game.Click(50, 40);
  EXPECT_EQ(game.Window(5, 5), (Bgr{1, 2, 3}));  // wrapped
  game.Click(50, 40, MouseButton::Right);
  EXPECT_FALSE(e.viewer.viewing);
  EXPECT_EQ(game.Window(5, 5), kNormal);

  game.Click(290, 40);
  EXPECT_EQ(game.Window(5, 5), kBottom);  // the bottom 600 rows first
  game.Host().recording = true;
  game.Click(290, 40);
  game.Host().recording = false;
  EXPECT_EQ(game.Window(5, 5), kTop);
  // Each frame shows the picture a multiple of 20 rows further up, never going back.
  int lastBoundary = 0;
  int frames = 0;
  for (const auto& shown : game.Host().shown) {
    int boundary = 0;  // the first row that shows the picture's bottom half
    while (boundary < 600 && Px(shown.window, 5, boundary) == kTop) ++boundary;
    EXPECT_GE(boundary, lastBoundary);
    EXPECT_EQ(boundary % 20, 0);
    lastBoundary = boundary;
    ++frames;
  }
  EXPECT_GE(frames, 10);
  // Middle button ends viewing; exit gives the script back.
  game.Click(290, 40, MouseButton::Middle);
  EXPECT_FALSE(e.viewer.viewing);
  game.Click(135, 505);
  game.RunToWait();
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_EQ(e.vars.S(0), 1);
  EXPECT_EQ(e.vars.V(1), 1);
}

TEST(CgViewer, SetButtonsAndPages) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer VIEW_1\n");
  Continue(game);
  game.Move(15, 505);
  game.Click(15, 505);
  EXPECT_EQ(e.viewer.set, 1);
  game.Click(15, 505);
  EXPECT_EQ(e.viewer.set, 0);  // next wraps
  game.Move(75, 505);
  game.Click(75, 505);
  EXPECT_EQ(e.viewer.set, 1);  // previous wraps
  game.Move(305, 505);
  game.Click(305, 505);
  EXPECT_EQ(e.viewer.set, 1);  // P5 aims at set 7, which the page lacks
  game.Move(205, 505);
  game.Click(205, 505);
  EXPECT_EQ(e.viewer.set, 0);
  // A page button to a page the table lacks changes nothing.
  game.Move(720, 140);
  game.Click(720, 140);
  EXPECT_EQ(e.viewer.pageName, "VIEW_1");
  game.Move(720, 80);
  game.Click(720, 80);
  EXPECT_EQ(e.viewer.pageName, "VIEW_2");
  EXPECT_EQ(e.viewer.page.type, 1);
}

TEST(CgViewer, TheSecondPageNumbersFromTheListButViewsByName) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer 2_VIEW_1\n");
  e.vars.D.Set(6);  // the first number after VIEW_1's six pictures
  Continue(game);
  EXPECT_EQ(e.viewer.cells[0][1].state, 3);
  // "px" is on no list: viewing finds nothing to show and ends.
  game.Click(50, 40);
  EXPECT_FALSE(e.viewer.viewing);
  EXPECT_EQ(game.Window(405, 305), kNormal);
}

TEST(CgViewer, MissingPagesAndEmptyPagesChangeNothing) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer NOPE\n!V001=1\n\\\n@viewer EMPTY\n");
  const int menuState = e.vars.S(0);
  Continue(game);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_EQ(e.vars.S(0), menuState);
  EXPECT_EQ(e.vars.V(1), 1);
  Continue(game);
  EXPECT_EQ(e.viewer.pageName, "EMPTY");
  game.Move(15, 505);
  game.Click(15, 505);  // next on a page without sets
  EXPECT_EQ(e.viewer.set, 0);
}

TEST(CgViewer, SceneReplayReturnsToTheViewerWithTheWholeCallStack) {
  SceneGame game;
  TForm1& e = Start(game, "@call scene\n@call sub\n");
  EXPECT_FALSE(e.LoadScript("missing", 2));
  EXPECT_TRUE(e.vars.E.Test(6));  // set before the lookup, though the script is missing
  for (int i = 0; i < 3; ++i) Continue(game);
  EXPECT_TRUE(e.vars.E.Test(5));
  e.vars.V(10) = 0;
  e.vars.V(11) = 0;
  ASSERT_EQ(e.ctl.screenMode, smCgViewer);
  const int pc = e.script.pc;
  ASSERT_EQ(e.script.callDepth, 1);
  // The missing scene does nothing.
  game.Move(170, 40);
  game.Click(170, 40);
  EXPECT_EQ(e.ctl.screenMode, smCgViewer);
  game.Move(50, 40);
  EXPECT_EQ(e.viewer.hover, 1);
  game.Click(50, 40);
  EXPECT_EQ(e.script.replayMode, 1);
  EXPECT_TRUE(e.replayMenu.endReplay);
  game.RunToWait();
  EXPECT_EQ(e.vars.V(10), 0);  // it started at the label
  EXPECT_EQ(e.vars.V(11), 1);
  Continue(game);  // `exit`
  EXPECT_EQ(e.ctl.screenMode, smCgViewer);
  EXPECT_EQ(e.script.replayMode, 0);
  EXPECT_FALSE(e.replayMenu.endReplay);
  EXPECT_EQ(e.script.currentScript, "sub");
  EXPECT_EQ(e.script.pc, pc);
  EXPECT_EQ(e.script.callDepth, 1);
  EXPECT_EQ(e.script.callStack[0].script, "main");
  EXPECT_EQ(game.Window(5, 5), kNormal);
  // Again, left through the menu entry.
  game.Move(50, 40);
  game.Click(50, 40);
  game.Input({"menu main end-replay"});
  EXPECT_EQ(e.ctl.screenMode, smCgViewer);
  EXPECT_EQ(e.script.callDepth, 1);
}

TEST(CgViewer, MusicRoomPlaysStopsAndLeaves) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer VIEW_3\n!V001=1\n\\\n");
  Continue(game);
  game.Move(170, 40);
  game.Click(170, 40);
  EXPECT_EQ(e.vars.S(3), 2);
  game.Move(75, 505);
  game.Click(75, 505);
  EXPECT_EQ(e.vars.S(3), 0);
  game.Move(15, 505);
  game.Click(15, 505);
  EXPECT_EQ(e.vars.S(3), 2);
  game.Move(135, 505);
  game.Click(135, 505);
  game.RunToWait();
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_EQ(e.vars.S(0), 1);
  EXPECT_EQ(e.vars.V(1), 1);
}

// A playing track pulses its cell every 32 frames: the cell from fully lit down to the page, the
// play button from half lit; a stopped room pulses no more.
TEST(CgViewer, MusicRoomPulsesThePlayingCell) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer VIEW_3\n");
  Continue(game);
  game.Move(170, 40);
  game.Click(170, 40);
  ASSERT_EQ(e.viewer.musicCell, 2);
  game.Move(400, 300);
  std::vector<Bgr> cell, play;
  for (int i = 0; i < 80; ++i) {
    game.Host().RunFrame();
    cell.push_back(game.Window(170, 40));
    play.push_back(game.Window(15, 505));
  }
  auto first = std::find(cell.begin(), cell.end(), Fade(8 * 31));
  ASSERT_NE(first, cell.end());
  const size_t at = static_cast<size_t>(first - cell.begin());
  ASSERT_LT(at, 40u);
  for (size_t j = 0; j < 32; ++j) {
    EXPECT_EQ(cell[at + j], Fade(8 * (31 - static_cast<int>(j)))) << j;
    EXPECT_EQ(play[at + j], j < 16 ? Fade(8 * (15 - static_cast<int>(j))) : kNormal) << j;
  }
  EXPECT_EQ(cell[at + 32], Fade(8 * 31));
  // The other cell never pulses.
  EXPECT_EQ(game.Window(50, 40), kNormal);

  game.Move(75, 505);
  game.Click(75, 505);
  ASSERT_EQ(e.viewer.musicCell, 0);
  game.Move(400, 300);
  game.Host().RunFrames(20);
  for (int i = 0; i < 40; ++i) {
    game.Host().RunFrame();
    EXPECT_EQ(game.Window(170, 40), kNormal) << i;
  }
}

// A room of lasting highlights: a chosen cell stays lit from the lit copy while the rest of the
// page is drawn anew, and its track plays; the page's own track plays when it opens.
TEST(CgViewer, LastingHighlightRoomLightsTheChosenCellOnly) {
  SceneGame game;
  TForm1& e = Start(game, "@viewer VIEW_4\n");
  Continue(game);
  EXPECT_EQ(e.vars.S(3), 3);
  EXPECT_TRUE(e.DescribeState().find("\"cells\":[2,2,0,") != std::string::npos);
  game.Move(50, 40);
  game.Click(50, 40);
  EXPECT_EQ(e.viewer.musicCell, 1);
  EXPECT_EQ(e.vars.S(3), 1);
  EXPECT_EQ(game.Window(50, 40), kHigh);
  game.Move(170, 40);
  game.Click(170, 40);
  EXPECT_EQ(e.viewer.musicCell, 2);
  EXPECT_EQ(e.vars.S(3), 2);
  EXPECT_EQ(game.Window(170, 40), kHigh);
  EXPECT_EQ(game.Window(50, 40), kNormal);
  EXPECT_EQ(game.Window(400, 300), kNormal);
}

}  // namespace
}  // namespace torvel
