// The quick buttons and the auto-speed gauge through the real engine on the headless host: the
// look of each state (the masked blend worked out here over a black scene), hovering and its
// refusals, every click, the gauge's dots, and buttons that reach off their pictures.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "graphics/png_io.h"
#include "platform/headless/headless_run.h"
#include "platform/headless/input_script.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

// A black scene under a black window, so the clean picture under every button is black.
constexpr const char* kStory = "!S000=0\n!S028=1\n@gra S000,1\n@win_open\n>少女\nおはよう。\n\\\n次。\n\\\n";
constexpr const char* kBlackWindow = "TXW_COLOR_R:0\nTXW_COLOR_G:0\nTXW_COLOR_B:0\nSPD_MAX:8\n";

constexpr int kGrey = 128;
const Bgr kSheetColour[3] = {{200, 100, 50}, {10, 220, 30}, {250, 250, 250}};

// The masked blend of one byte over a black picture: (0 × (255 − m) >> 8) + (b × m >> 8) inside a
// group with any mask byte set, and (0 × (255 − m) + b × m) >> 8 in the exact tail; the same
// over black.
Bgr OverBlack(Bgr colour, int m) { return Bgr{colour[0] * m >> 8, colour[1] * m >> 8, colour[2] * m >> 8}; }

// A sheet of `w` × 2h: the colour above, a mask of `mask` below.
Bitmap Sheet(int w, int h, Bgr colour, int mask) {
  Bitmap b(w, 2 * h);
  for (int y = 0; y < 2 * h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.At(x, y);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(y < h ? colour[static_cast<size_t>(c)] : mask);
    }
  }
  return b;
}

// Side by side: the colour left, an opaque mask right.
Bitmap SideBySide(int w, int h, Bgr colour) {
  Bitmap b(2 * w, h);
  FillColumns(b, 0, w, colour);
  FillColumns(b, w, 2 * w, Bgr{255, 255, 255});
  return b;
}

class QuickButtons : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& buttons, bool sheets = true, const char* story = kStory) {
    game.Script("_config", std::string(kTextConfig) + kSaveConfig + kBlackWindow + buttons);
    if (sheets) {
      const char* names[] = {"sys_qbtn1", "sys_qbtn1_om", "sys_qbtn1_on", "sys_qbtn2", "sys_qbtn2_om", "sys_qbtn2_on"};
      for (int i = 0; i < 6; ++i) game.Entry("tq_gra.tvx", names[i], Packed(Sheet(40, 30, kSheetColour[i % 3], kGrey)));
    }
    game.Entry("tq_gra.tvx", "sys_autobar", Packed(SideBySide(100, 100, Bgr{40, 40, 40})))
        .Entry("tq_gra.tvx", "sys_auto", Packed(SideBySide(6, 6, Bgr{255, 255, 255})));
    game.Script("main", story).Script("STITLE", "タイトル。\n\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    EXPECT_TRUE(e.text.windowShown);
    e.text.alreadyRead = true;  // skipping is offered on read passages only
    e.vars.S(27) = 0;           // no auto speed chosen yet
    return e;
  }
  TForm1& E() { return game.Engine(); }
  const Bitmap& Window() { return game.Host().Window(); }
  // Every pixel of the rectangle on the window and in the screen buffer is `want`.
  void ExpectArea(Rect r, Bgr want, const std::string& what) {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        ASSERT_EQ(Px(Window(), x, y), want) << what << " at " << x << "," << y;
        ASSERT_EQ(Px(E().layers.screen, x, y), want) << what << " (screen buffer) at " << x << "," << y;
      }
    }
  }
  int S(int n) { return E().vars.S(n); }

  GameFixture game;
};

// MS on the screen at (100, 100), AT on the window at (600, 20), 13 pixels wide (one group of
// eight and an exact tail of five).
constexpr const char* kTwoButtons = "QB_MS:2,40,30,100,100,0,0\nQB_AT:1,13,30,600,20,0,0\n";

TEST_F(QuickButtons, EachStateShowsItsSheetBlendedOverWhatLiesUnder) {
  Start(kTwoButtons);
  const Rect ms{100, 100, 140, 130}, at{600, 460, 613, 490};
  ExpectArea(ms, OverBlack(kSheetColour[0], kGrey), "MS normal");
  ExpectArea(at, OverBlack(kSheetColour[0], kGrey), "AT normal");
  ExpectArea(Rect{140, 100, 141, 130}, Bgr{0, 0, 0}, "right of MS");
  ExpectArea(Rect{100, 130, 140, 131}, Bgr{0, 0, 0}, "below MS");

  game.Move(105, 105);
  EXPECT_EQ(E().quickButtons.hovered, 1);
  EXPECT_EQ(S(60), 1);
  ExpectArea(ms, OverBlack(kSheetColour[1], kGrey), "MS hovered");
  ExpectArea(at, OverBlack(kSheetColour[0], kGrey), "AT stays normal");

  game.Move(605, 465);
  EXPECT_EQ(E().quickButtons.hovered, 2);
  EXPECT_EQ(S(60), 0);
  ExpectArea(ms, OverBlack(kSheetColour[0], kGrey), "MS back to normal");
  ExpectArea(at, OverBlack(kSheetColour[1], kGrey), "AT hovered");
  // The window's pictures carry the button, so erasing text keeps it.
  EXPECT_EQ(Px(E().textWindow.clean, 605, 25), OverBlack(kSheetColour[1], kGrey));

  game.Press(605, 465);  // auto on: the "on" look
  EXPECT_EQ(S(26), 4);
  EXPECT_EQ(S(61), 2);
  EXPECT_EQ(E().quickButtons.hovered, 0);
  ExpectArea(at, OverBlack(kSheetColour[2], kGrey), "AT on");

  // A state a script wrote outside 0..2 draws as normal.
  E().vars.S(60) = 7;
  E().DrawQuickButtons(1);
  ExpectArea(ms, OverBlack(kSheetColour[0], kGrey), "MS with state 7");
  EXPECT_NE(E().DescribeState().find("\"quickButtons\":{\"hovered\":0}"), std::string::npos);
}

TEST_F(QuickButtons, SkipKeepsItsOnLookWhenHovered) {
  Start(kTwoButtons);
  game.Press(105, 105);  // hover, then click: skip on
  EXPECT_TRUE(E().ctl.skipActive);
  EXPECT_EQ(S(60), 2);
  E().ctl.choiceMode = 1;  // hovering happens during skip only over a choice
  game.Move(110, 110);
  EXPECT_EQ(S(60), 2) << "drawing turned the reset state back on";
  ExpectArea(Rect{100, 100, 140, 130}, OverBlack(kSheetColour[2], kGrey), "MS on while hovered");
  E().ctl.choiceMode = 0;
}

TEST_F(QuickButtons, NothingShowsAndNothingHoversWithTheWindowHidden) {
  Start(kTwoButtons);
  E().text.windowShown = false;
  E().layers.screen.Fill(0, 0, 0);
  E().host.Present(E().layers.screen, Rect{0, 0, 800, 600});
  E().DrawQuickButtons(1);
  ExpectArea(Rect{100, 100, 140, 130}, Bgr{0, 0, 0}, "type 2 with the window hidden");
  game.Move(105, 105);
  EXPECT_EQ(E().quickButtons.hovered, 0);
}

// Every button at its own place on the screen, 20 × 20 in a row.
std::string AllButtons() {
  std::string s;
  for (int i = 0; i < kQuickButtonCount; ++i) {
    s +=
        std::string(kQuickButtonKeys[static_cast<size_t>(i)]) + ":2,20,20," + std::to_string(20 + 30 * i) + ",50,0,0\n";
  }
  return s;
}
Point ButtonPoint(int index) { return Point{25 + 30 * index, 55}; }

TEST_F(QuickButtons, HoveringRefusesTheButtonsTheMomentForbids) {
  Start(AllButtons());
  E().vars.S(26) = 3;
  const struct Case {
    const char* what;
    int button;
    void (*setUp)(TForm1&);
    void (*tearDown)(TForm1&);
  } cases[] = {
      {"WC during a choice", qbHideWindow, [](TForm1& e) { e.ctl.choiceMode = 1; },
       [](TForm1& e) { e.ctl.choiceMode = 0; }},
      {"M1 during a choice", qbWindowUp, [](TForm1& e) { e.ctl.choiceMode = 1; },
       [](TForm1& e) { e.ctl.choiceMode = 0; }},
      {"BL during a choice", qbBacklog, [](TForm1& e) { e.ctl.choiceMode = 1; },
       [](TForm1& e) { e.ctl.choiceMode = 0; }},
      {"A+ with auto off", qbFaster, [](TForm1& e) { e.vars.S(26) = 0; }, [](TForm1& e) { e.vars.S(26) = 3; }},
      {"A- with auto off", qbSlower, [](TForm1& e) { e.vars.S(26) = 0; }, [](TForm1& e) { e.vars.S(26) = 3; }},
      {"MS on an unread passage", qbSkip, [](TForm1& e) { e.text.alreadyRead = false; },
       [](TForm1& e) { e.text.alreadyRead = true; }},
      {"QS in a replay", qbQuickSave, [](TForm1& e) { e.script.replayMode = 1; },
       [](TForm1& e) { e.script.replayMode = 0; }},
      {"QL in a replay", qbQuickLoad, [](TForm1& e) { e.script.replayMode = 1; },
       [](TForm1& e) { e.script.replayMode = 0; }},
      {"CF in the page history", qbConfig, [](TForm1& e) { e.ctl.screenMode = smPageBack; },
       [](TForm1& e) { e.ctl.screenMode = smScenario; }},
      {"QS in the page history", qbQuickSave, [](TForm1& e) { e.ctl.screenMode = smPageBack; },
       [](TForm1& e) { e.ctl.screenMode = smScenario; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Point p = ButtonPoint(c.button);
    game.Move(p.x, p.y);
    EXPECT_EQ(E().quickButtons.hovered, c.button + 1) << "allowed before";
    game.Move(790, 590);
    c.setUp(E());
    game.Move(p.x, p.y);
    EXPECT_EQ(E().quickButtons.hovered, 0);
    EXPECT_EQ(S(kQuickButtonFirstVar + c.button), 0);
    c.tearDown(E());
    game.Move(790, 590);
  }
  // Allowed where the rules leave them: MS and VR in the page history, MS on a read passage.
  E().ctl.screenMode = smPageBack;
  game.Move(ButtonPoint(qbVoiceReplay).x, 55);
  EXPECT_EQ(E().quickButtons.hovered, qbVoiceReplay + 1);
  E().ctl.screenMode = smScenario;
}

TEST_F(QuickButtons, AutoButtonsKeepTheSpeedWithinRange) {
  Start(AllButtons());
  auto click = [&](int button) {
    const Point p = ButtonPoint(button);
    game.Press(p.x, p.y);
  };
  E().vars.S(27) = 9;  // above SPD_MAX 8
  click(qbAuto);
  EXPECT_EQ(S(26), 4);
  EXPECT_EQ(E().quickButtons.hovered, 0);
  E().vars.S(26) = 1;
  click(qbFaster);
  EXPECT_EQ(S(26), 1);
  E().vars.S(26) = 8;
  click(qbSlower);
  EXPECT_EQ(S(26), 8);
  E().vars.S(26) = 5;
  click(qbFaster);
  EXPECT_EQ(S(26), 4);
  click(qbSlower);
  EXPECT_EQ(S(26), 5);
  click(qbAuto);  // off: the speed is kept for the next time
  EXPECT_EQ(S(26), 0);
  EXPECT_EQ(S(27), 5);
  EXPECT_EQ(S(61), 0);
}

TEST_F(QuickButtons, EachClickDoesItsAction) {
  Start(AllButtons());
  auto click = [&](int button) {
    const Point p = ButtonPoint(button);
    game.Press(p.x, p.y);
  };
  click(qbSkip);
  EXPECT_TRUE(E().ctl.skipActive);
  EXPECT_EQ(E().quickButtons.hovered, 0);
  E().ctl.skipActive = false;
  E().vars.S(60) = 0;

  click(qbQuickSave);
  EXPECT_TRUE(std::filesystem::exists(E().SlotFile(99)));
  EXPECT_EQ(S(63), 0) << "the pressed look lasts only the press";

  click(qbQuickLoad);
  EXPECT_EQ(E().ctl.dialogOpen, 1);
  E().CloseQuestion(false, true);

  click(qbBacklog);
  EXPECT_TRUE(E().ctl.backlogOpen);
  EXPECT_EQ(S(65), 0);
  E().CloseBacklog();

  click(qbStatus + 3);  // a title screen this game has none of: taken, nothing happens
  EXPECT_EQ(E().ctl.screenMode, smScenario);

  click(qbHideWindow);
  EXPECT_EQ(E().ctl.screenMode, smWindowHidden);
  EXPECT_EQ(E().quickButtons.hovered, 0);
}

// Three pages, the first with a voice.
constexpr const char* kThreePages =
    "!S000=0\n!S028=1\n@gra S000,1\n@win_open\n>少女\n@cv V001\n一枚目。\n\\\n二枚目。\n\\\n三枚目。\n\\\n";

TEST_F(QuickButtons, VoiceConfigurationAndStatusButtonsReachWhatTheyOpen) {
  game.Entry("tq_se0.tvx", "V001", ToneEffect());
  Start(AllButtons(), true, kThreePages);
  auto click = [&](int button) {
    const Point p = ButtonPoint(button);
    game.Press(p.x, p.y);
  };

  const int pages = E().pageHistory.count;
  game.Host().Sound().ClearCalls();
  click(qbVoiceReplay);
  std::vector<std::string> played;
  for (const SoundCall& c : game.Host().Sound().CallsOf(SoundOp::Create)) played.push_back(c.name);
  EXPECT_EQ(played, std::vector<std::string>{"V001"}) << "the last voice again";
  EXPECT_EQ(E().quickButtons.hovered, 0);
  EXPECT_EQ(E().pageHistory.count, pages) << "the click did not finish the page";

  // Without configuration pictures the settings dialog stands in; it takes the answer queued.
  InputScript answer = ParseInputScript(std::to_string(game.Host().TickCount()) + " dialog settings TrackBar2=-1001\n");
  ASSERT_EQ(answer.error, "");
  game.Host().SetInput(std::move(answer.events));
  game.Host().RunFrame();
  ASSERT_NE(E().settings.Vol1, -1001);
  click(qbConfig);
  EXPECT_EQ(E().settings.Vol1, -1001);
  EXPECT_EQ(E().ctl.screenMode, smScenario);
  EXPECT_FALSE(E().ctl.menuLock);

  click(qbStatus);
  EXPECT_EQ(E().ctl.screenMode, smTitleScreen) << "the status screen is up";
  EXPECT_EQ(E().pageHistory.count, pages);
  game.Press(400, 300);  // any click puts the story back
  EXPECT_EQ(E().ctl.screenMode, smScenario);
}

// In the page history the buttons follow the pointer: a click on VR steps back, any other forward.
TEST_F(QuickButtons, InThePageHistoryTheVoiceButtonStepsBackAndOtherClicksForward) {
  game.Entry("tq_se0.tvx", "V001", ToneEffect());
  Start(AllButtons(), true, kThreePages);
  for (int page = 0; page < 2; ++page) {
    game.Click();
    game.RunToWait();
  }
  int left = vk::Left;
  E().FormKeyDown(left, ShiftState{});
  ASSERT_EQ(E().ctl.screenMode, smPageBack);
  const int& position = E().backlogViews.pages.position;
  ASSERT_EQ(position, 2);

  const Point vr = ButtonPoint(qbVoiceReplay), cf = ButtonPoint(qbConfig);
  // Each page's own scene lies under the buttons here: VR is compared with its normal neighbour.
  auto looksNormal = [&] {
    for (int y = 50; y < 70; ++y) {
      for (int x = vr.x - 5; x < vr.x + 15; ++x) {
        if (Px(Window(), x, y) != Px(Window(), x - 30, y)) return false;
      }
    }
    return true;
  };
  ASSERT_TRUE(looksNormal());
  game.Move(vr.x, vr.y);
  EXPECT_EQ(E().quickButtons.hovered, qbVoiceReplay + 1);
  EXPECT_EQ(S(66), 1);
  EXPECT_FALSE(looksNormal()) << "VR shows its hovered look in the page history";
  game.Press(vr.x, vr.y);
  EXPECT_EQ(position, 3) << "one page older";

  game.Move(cf.x, cf.y);  // refused here: nothing is hovered, VR's highlight goes
  EXPECT_EQ(E().quickButtons.hovered, 0);
  EXPECT_TRUE(looksNormal()) << "VR normal again";
  game.Press(cf.x, cf.y);
  EXPECT_EQ(position, 2) << "one page newer";
  EXPECT_EQ(E().ctl.screenMode, smPageBack) << "no configuration from the page history";

  game.Press(400, 300);
  EXPECT_EQ(E().ctl.screenMode, smScenario) << "newer than the page before the current one: back to the story";
}

// The "S" array of a state report.
std::vector<int> SystemVariables(const std::string& state) {
  std::vector<int> values;
  const size_t at = state.find("\"S\":[");
  if (at == std::string::npos) return values;
  size_t i = at + 5;
  while (i < state.size() && state[i] != ']') {
    size_t used = 0;
    values.push_back(std::stoi(state.substr(i), &used));
    i += used;
    if (state[i] == ',') ++i;
  }
  return values;
}

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The player's side: an input file of moves and clicks, the shots and states it asks for.
TEST(QuickButtonsHeadless, AnInputFileHoversAndClicksAndShowsItInShotsAndStates) {
  GameFixture game;
  game.Script("_config", std::string(kTextConfig) + kSaveConfig + kBlackWindow + kTwoButtons);
  const char* names[] = {"sys_qbtn1", "sys_qbtn1_om", "sys_qbtn1_on", "sys_qbtn2", "sys_qbtn2_om", "sys_qbtn2_on"};
  for (int i = 0; i < 6; ++i) game.Entry("tq_gra.tvx", names[i], Packed(Sheet(40, 30, kSheetColour[i % 3], kGrey)));
  game.Script("main", kStory).Script("STITLE", "タイトル。\n\\\n");
  game.Write();
  const std::filesystem::path d = game.Dir();
  const std::string input =
      "3000 move 605 465\n"
      "3000 shot " +
      (d / "hover.png").string() +
      "\n"
      "3000 state " +
      (d / "hover.json").string() +
      "\n"
      "3100 click 605 465\n"
      "3100 shot " +
      (d / "auto.png").string() +
      "\n"
      "3100 state " +
      (d / "auto.json").string() +
      "\n"
      "3200 click 605 465\n"
      "3250 move 605 465\n"
      "3300 move 900 300\n"
      "3500 state " +
      (d / "left.json").string() + "\n";
  { std::ofstream(d / "input.txt") << input; }
  HeadlessRunOptions options;
  options.gameDir = d;
  options.inputFile = d / "input.txt";
  options.settingsFolder = d / "config";
  options.dataFolder = d / "data";
  ASSERT_EQ(RunHeadless(options), 0);

  const Rect ms{100, 100, 140, 130}, at{600, 460, 613, 490};
  auto expectArea = [](const Bitmap& shot, Rect r, Bgr want, const char* what) {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) ASSERT_EQ(Px(shot, x, y), want) << what << " at " << x << "," << y;
    }
  };
  Bitmap hover, autoOn;
  ASSERT_TRUE(ReadPng(d / "hover.png", hover));
  ASSERT_TRUE(ReadPng(d / "auto.png", autoOn));
  expectArea(hover, ms, OverBlack(kSheetColour[0], kGrey), "MS normal");
  expectArea(hover, at, OverBlack(kSheetColour[1], kGrey), "AT hovered");
  expectArea(autoOn, ms, OverBlack(kSheetColour[0], kGrey), "MS normal");
  expectArea(autoOn, at, OverBlack(kSheetColour[2], kGrey), "AT on");

  const std::string hovered = FileText(d / "hover.json"), on = FileText(d / "auto.json"),
                    end = FileText(d / "left.json");
  EXPECT_NE(hovered.find("\"quickButtons\":{\"hovered\":2}"), std::string::npos);
  EXPECT_NE(on.find("\"quickButtons\":{\"hovered\":0}"), std::string::npos) << "a click on AT lets go of it";
  EXPECT_NE(end.find("\"quickButtons\":{\"hovered\":0}"), std::string::npos) << "the pointer left the picture";
  const std::vector<int> s1 = SystemVariables(hovered), s2 = SystemVariables(on), s3 = SystemVariables(end);
  ASSERT_EQ(s1.size(), 1000u);
  ASSERT_EQ(s2.size(), 1000u);
  ASSERT_EQ(s3.size(), 1000u);
  EXPECT_EQ(s1[60], 0);
  EXPECT_EQ(s1[61], 1);
  EXPECT_GE(s2[26], 1) << "auto on";
  EXPECT_EQ(s2[61], 2);
  EXPECT_EQ(s3[26], 0) << "the second click turned auto off";
  EXPECT_EQ(s3[27], s2[26]) << "and kept its speed";
  EXPECT_EQ(s3[61], 0);
}

// M1 and M2 at the same place on the window: the one shown follows S079 and moves the window.
TEST_F(QuickButtons, WindowButtonsSwapWithThePosition) {
  Start("QB_M1:1,40,30,700,10,0,0\nQB_M2:1,40,30,700,10,0,0\n");
  ExpectArea(Rect{700, 450, 740, 480}, OverBlack(kSheetColour[0], kGrey), "M1 on the lower window");
  game.Press(705, 455);
  EXPECT_EQ(S(79), 1);
  EXPECT_EQ(E().textWindow.y, 8);
  EXPECT_EQ(E().quickButtons.hovered, 9) << "M1 stays hovered until the pointer moves";
  ExpectArea(Rect{700, 18, 740, 48}, OverBlack(kSheetColour[0], kGrey), "M2 on the upper window");
  game.Press(705, 25);
  EXPECT_EQ(E().quickButtons.hovered, 10);
  game.Press(705, 25);
  EXPECT_EQ(S(79), 0);
  EXPECT_EQ(E().textWindow.y, 440);
}

// Buttons reaching off the screen and off their sheet draw only what both hold.
TEST_F(QuickButtons, ButtonsPartlyOffTheirPicturesDrawWhatFits) {
  Start(
      "QB_MS:2,40,30,780,590,0,0\nQB_AT:2,40,30,200,200,20,0\nQB_WC:2,0,30,300,200,0,0\nQB_QS:2,40,30,400,200,0,10\n");
  ExpectArea(Rect{780, 590, 800, 600}, OverBlack(kSheetColour[0], kGrey), "the corner that fits");
  ExpectArea(Rect{200, 200, 220, 230}, OverBlack(kSheetColour[0], kGrey), "the half the sheet covers");
  ExpectArea(Rect{220, 200, 240, 230}, Bgr{0, 0, 0}, "beyond the sheet's right edge");
  // The mask of rows 20..29 would lie below the sheet.
  ExpectArea(Rect{400, 200, 440, 210}, OverBlack(kSheetColour[0], kGrey), "rows whose colour sits over grey");
  ExpectArea(Rect{400, 220, 440, 230}, Bgr{0, 0, 0}, "rows whose mask is off the sheet");
  game.Move(785, 595);
  EXPECT_EQ(E().quickButtons.hovered, 1);
  game.Move(301, 201);
  EXPECT_EQ(E().quickButtons.hovered, 0) << "a button of no width is absent";
}

TEST_F(QuickButtons, AMissingSheetLeavesItsStateUndrawnButTheButtonWorks) {
  Start("QB_AT:2,40,30,100,100,0,0\n", false);
  ExpectArea(Rect{100, 100, 140, 130}, Bgr{0, 0, 0}, "no sheet");
  game.Press(105, 105);
  EXPECT_EQ(S(26), 4);
}

// Leaving the picture lets the timer take the highlight away; a button in the corner stays dark.
TEST_F(QuickButtons, LeavingThePictureUnhoversWithoutLightingTheCorner) {
  Start("QB_MS:2,20,30,0,0,0,0\nQB_AT:2,20,30,100,100,0,0\n");
  const uint32_t t = game.Host().TickCount();
  std::vector<InputEvent> events(2);
  events[0].kind = InputEvent::Kind::Move;
  events[0].time = t + 10;
  events[0].x = 105;
  events[0].y = 105;
  events[1] = events[0];
  events[1].time = t + 100;
  events[1].x = 900;
  events[1].y = 300;
  game.Host().SetInput(events);
  game.Host().RunUntil(t + 60);
  EXPECT_EQ(E().quickButtons.hovered, 2);
  game.Host().RunUntil(t + 300);
  EXPECT_EQ(E().quickButtons.hovered, 0);
  EXPECT_EQ(S(60), 0) << "the corner button is not hovered";
  EXPECT_EQ(S(61), 0);
  ExpectArea(Rect{0, 0, 20, 30}, OverBlack(kSheetColour[0], kGrey), "corner normal");
}

// The gauge: the bar and SPD_MAX − S026 + 1 dots, 6 × 6, every 10 pixels from (5, 7).
struct GaugeCase {
  int placement;  // SPD_TW
  int dir;        // SPD_DIR
  int speed;      // S026
  int dots;
};

class Gauge : public QuickButtons, public ::testing::WithParamInterface<GaugeCase> {};

TEST_P(Gauge, ShowsOneDotPerStepFasterThanTheSlowest) {
  const GaugeCase c = GetParam();
  Start("SPD_TW:" + std::to_string(c.placement) + "\nSPD_DIR:" + std::to_string(c.dir) +
        "\nSPD_OFS_X:300\nSPD_OFS_Y:20\nSPD_DOT_OFS_X:5\nSPD_DOT_OFS_Y:7\nSPD_DOT_SIZE:10\n");
  E().vars.S(26) = c.speed;
  E().DrawQuickButtons(1);
  // On the window (placements 1 and 2) the corner follows the window at (0, 440).
  const Point corner{300, c.placement == 3 ? 20 : 460};
  const Bgr bar = Opaque(Bgr{40, 40, 40}), dot = Opaque(Bgr{255, 255, 255});
  EXPECT_EQ(Px(Window(), corner.x + 1, corner.y + 1), bar);
  EXPECT_EQ(Px(Window(), corner.x + 99, corner.y + 99), bar);
  int shown = 0;
  for (int i = 0; i < 8; ++i) {
    const Point at =
        c.dir != 0 ? Point{corner.x + 5 + 10 * i, corner.y + 7} : Point{corner.x + 5, corner.y + 87 - 10 * i};
    const bool on = Px(Window(), at.x + 3, at.y + 3) == dot;
    EXPECT_EQ(on, i < c.dots) << "dot " << i;
    if (on) {
      EXPECT_EQ(Px(Window(), at.x, at.y), dot);
      EXPECT_EQ(Px(Window(), at.x + 5, at.y + 5), dot);
      EXPECT_EQ(Px(Window(), at.x + 6, at.y + 6), bar) << "dot " << i << " is 6 pixels wide";
    }
    shown += on ? 1 : 0;
  }
  EXPECT_EQ(shown, c.dots);
}

INSTANTIATE_TEST_SUITE_P(Dots, Gauge,
                         ::testing::Values(GaugeCase{3, 1, 1, 8}, GaugeCase{3, 1, 8, 1}, GaugeCase{3, 1, 5, 4},
                                           GaugeCase{3, 0, 1, 8}, GaugeCase{3, 0, 6, 3}, GaugeCase{1, 1, 3, 6},
                                           GaugeCase{2, 0, 2, 7}, GaugeCase{3, 1, -5, 8}, GaugeCase{3, 0, 20, 0}));

TEST_F(QuickButtons, GaugeWithAutoOffShowsItsBase) {
  Start("SPD_TW:3\nSPD_DIR:1\nSPD_OFS_X:300\nSPD_OFS_Y:20\nSPD_DOT_SIZE:10\n");
  E().vars.S(26) = 3;
  E().DrawQuickButtons(1);
  EXPECT_EQ(Px(Window(), 350, 60), Opaque(Bgr{40, 40, 40}));
  E().vars.S(26) = 0;
  E().DrawQuickButtons(1);
  ExpectArea(Rect{300, 20, 400, 120}, Bgr{0, 0, 0}, "the base under the gauge");
}

}  // namespace
}  // namespace torvel
