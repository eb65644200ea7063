// The backlog screen through the real engine on the headless host: the darkened scene with the
// bar, the rows and their voice icons as the player sees them, scrolling by arrows, wheel and
// knob, replaying a voice, and closing back to the story's picture.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

// A bar at the right with arrows at its ends and a knob track 440 high; twelve rows 28 apart.
// The knob is 40 high, so it travels T = 400 pixels from y = 80.
constexpr const char* kLogConfig =
    "LOG_BAR:740,40,772,560\nLOG_BAR_INSIDE:0,40,32,480\nLOG_BAR_UP:740,40,772,80\n"
    "LOG_BAR_DOWN:740,520,772,560\nLOG_WINDOW:60,40,700,560\nLOG_FONTSIZE:20\nLOG_PITCH:28\nLOG_LINES:12\n";

constexpr Bgr kScene{40, 80, 120};
constexpr Bgr kDarkScene{40 * 40 / 256, 80 * 40 / 256, 120 * 40 / 256};
constexpr Bgr kBar{60, 60, 60};
constexpr Bgr kKnob{0, 200, 200};
constexpr Bgr kUp{200, 0, 0};
constexpr Bgr kUpLit{0, 0, 250};
constexpr Bgr kDown{0, 200, 0};
constexpr Bgr kDownLit{250, 250, 0};
constexpr Bgr kIcon{200, 100, 0};
constexpr Bgr kIconLit{0, 100, 200};
constexpr int kTrackTop = 80;
constexpr int kTrack = 400;

// Colour on the left, an opaque mask on the right.
Bitmap SideBySide(int w, int h, Bgr c) {
  Bitmap b = Solid(2 * w, h, c);
  FillColumns(b, w, 2 * w, {255, 255, 255});
  return b;
}

// Colour above an opaque mask.
Bitmap Stacked(int w, int h, Bgr c) {
  Bitmap b = Solid(w, 2 * h, {255, 255, 255});
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      for (int k = 0; k < 3; ++k) b.At(x, y)[k] = static_cast<uint8_t>(c[static_cast<size_t>(k)]);
    }
  }
  return b;
}

class Backlog : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& story, const std::string& extraConfig = "") {
    game->Script("_config", std::string(kTextConfig) + kLogConfig + extraConfig);
    game->Entry("tq_gra.tvx", "AB01", Packed(Solid(800, 600, kScene)))
        .Entry("tq_gra.tvx", "sys_bl_bar", Packed(SideBySide(32, 520, kBar)))
        .Entry("tq_gra.tvx", "sys_bl_cur", Packed(SideBySide(32, 40, kKnob)))
        .Entry("tq_gra.tvx", "sys_bl_up1", Packed(SideBySide(32, 40, kUp)))
        .Entry("tq_gra.tvx", "sys_bl_up2", Packed(SideBySide(32, 40, kUpLit)))
        .Entry("tq_gra.tvx", "sys_bl_down1", Packed(SideBySide(32, 40, kDown)))
        .Entry("tq_gra.tvx", "sys_bl_down2", Packed(SideBySide(32, 40, kDownLit)))
        .Entry("tq_gra.tvx", "sys_bl_VR1", Packed(Stacked(24, 20, kIcon)))
        .Entry("tq_gra.tvx", "sys_bl_VR2", Packed(Stacked(24, 20, kIconLit)))
        .Entry("tq_se0.tvx", "SSE09", ToneEffect())
        .Entry("tq_se0.tvx", "V001", ToneEffect())
        .Script("main", story);
    TForm1& e = game->Start();
    game->RunToWait();
    return e;
  }
  // A story on AB01 whose backlog then holds `lines` lines "line NNN" (a voice mark where
  // `voiceAt` says).
  TForm1& StartWithLines(int lines, int voiceAt = -1, const std::string& extraConfig = "") {
    Start("!S028=1\n@gra AB01,1\n\\\n", extraConfig);
    BacklogText& log = E().text.backlog;
    log.Clear();
    for (int i = 0; i < lines; ++i) {
      char line[16];
      std::snprintf(line, sizeof line, "line %03d", i);
      log.Append(i == voiceAt ? "@V001" : line);
      log.CloseLine();
    }
    return E();
  }
  TForm1& E() { return game->Engine(); }
  const Bitmap& Window() { return game->Host().Window(); }
  void Backspace() {
    char key = '\b';
    E().FormKeyPress(key);
  }
  void Wheel(int delta) { E().FormMouseWheel(ShiftState{}, delta); }
  std::vector<std::string> EffectsPlayed() {
    std::vector<std::string> names;
    for (const SoundCall& c : game->Host().Sound().CallsOf(SoundOp::Create)) {
      if (c.slot == kEffectSlot) names.push_back(c.name);
    }
    return names;
  }
  std::string State() { return E().DescribeState(); }
  bool StateHas(const std::string& part) { return State().find(part) != std::string::npos; }
  // The row of the knob's top edge on the window, or -1 when no knob is drawn.
  int KnobTop() {
    for (int y = kTrackTop; y < kTrackTop + kTrack + 40; ++y) {
      if (Px(Window(), 750, y) == Opaque(kKnob)) return y;
    }
    return -1;
  }

  // A test may start several games one after the other.
  void Restart() { game = std::make_unique<GameFixture>(); }

  std::unique_ptr<GameFixture> game = std::make_unique<GameFixture>();
};

TEST_F(Backlog, OpeningShowsTheRowsOverTheDarkenedSceneWithTheBarAndVoiceIcons) {
  Start("!S028=1\n@gra AB01,1\n>少女\nおはよう。\n\\\n@cv V001\n次の行。\n\\\n");
  game->Click();
  game->RunToWait();
  // The speaker, the line, the page wait's empty line, the voice mark, the voiced line, its wait.
  ASSERT_EQ(E().text.backlog.Lines(), 6);
  game->Host().Sound().ClearCalls();
  Backspace();
  EXPECT_TRUE(E().ctl.backlogOpen);
  EXPECT_TRUE(E().ctl.menuLock);
  EXPECT_EQ(E().vars.S(65), 1) << "the backlog button's look after the key";
  EXPECT_EQ(EffectsPlayed(), std::vector<std::string>{"SSE09"});

  // What the player should see: the scene × 40 / 256, the bar and arrows, the text rows in white
  // at the log font's size with their tops 28 apart, the voice icon 4 pixels above its row.
  Bitmap expected = Solid(800, 600, kDarkScene);
  const TextStyle log{E().settings.FontName, 20, 0xFFFFFF, E().settings.FONTBold != 0, 0};
  const std::string rows[] = {Sj("少女"), Sj("おはよう。"), "", "", Sj("次の行。"), ""};
  for (int i = 0; i < 6; ++i) E().DrawSystemText(expected, rows[i], 60, 40 + 28 * i, log);
  const int iconTop = 40 + 28 * 3 - 4;
  for (int y = iconTop; y < iconTop + 20; ++y) {
    for (int x = 60; x < 84; ++x) EXPECT_EQ(Px(Window(), x, y), Opaque(kIcon)) << x << "," << y;
  }
  bool inked = false;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 700; ++x) {
      if (x >= 60 && x < 84 && y >= iconTop && y < iconTop + 20) continue;
      ASSERT_EQ(Px(Window(), x, y), Px(expected, x, y)) << x << "," << y;
      inked = inked || Px(expected, x, y) != kDarkScene;
    }
  }
  EXPECT_TRUE(inked) << "the rows draw text";
  EXPECT_EQ(Px(Window(), 750, 300), Opaque(kBar));
  EXPECT_EQ(Px(Window(), 750, 50), Opaque(kUp));
  EXPECT_EQ(Px(Window(), 750, 530), Opaque(kDown));
  EXPECT_EQ(KnobTop(), -1) << "six lines fit: no knob";
  EXPECT_TRUE(
      StateHas("\"backlog\":{\"open\":true,\"lines\":6,\"scroll\":0,\"rows\":12,\"shown\":[\"少女\",\"おはよう。\","
               "\"\",\"@V001\",\"次の行。\",\"\"],\"voices\":[\"\",\"\",\"\",\"V001\",\"\",\"\"]}"))
      << State();
}

TEST_F(Backlog, TheHoveredIconLightsUpAndItsClickReplaysTheVoice) {
  StartWithLines(5, 3);
  Backspace();
  game->Host().Sound().ClearCalls();
  game->Move(70, 40 + 28 * 3 + 5);
  EXPECT_EQ(Px(Window(), 70, 40 + 28 * 3), Opaque(kIconLit));
  EXPECT_EQ(Px(E().layers.screen, 70, 40 + 28 * 3), Opaque(kIcon)) << "the highlight is the window's alone";
  game->Press(70, 40 + 28 * 3 + 5);
  EXPECT_EQ(EffectsPlayed(), std::vector<std::string>{"V001"});
  game->Press(70, 40 + 28 * 2 + 5);
  EXPECT_EQ(EffectsPlayed(), std::vector<std::string>{"V001"}) << "a row without a voice plays nothing";
  game->Move(300, 300);
  EXPECT_EQ(Px(Window(), 70, 40 + 28 * 3), Opaque(kIcon));
  game->Move(750, 50);
  EXPECT_EQ(Px(Window(), 750, 50), Opaque(kUpLit)) << "the hovered arrow";
  game->Move(750, 530);
  EXPECT_EQ(Px(Window(), 750, 50), Opaque(kUp));
  EXPECT_EQ(Px(Window(), 750, 530), Opaque(kDownLit));
}

TEST_F(Backlog, ArrowsWheelAndKnobScrollWithinTheLines) {
  StartWithLines(30);  // 30 lines, 12 rows: s runs 0..18, the knob moves 400 × s / 18
  Backspace();
  EXPECT_EQ(KnobTop(), kTrackTop + kTrack) << "the newest lines: the knob at the bottom";
  struct Step {
    const char* what;
    int x, y;  // a press there, or a wheel turn when x is 0 (y the delta)
    int scroll;
  };
  const Step steps[] = {
      {"up arrow", 750, 50, 2},       {"wheel away", 0, 1, 6},       {"wheel towards", 0, -1, 2},
      {"down arrow", 750, 530, 0},    {"down at 0", 750, 530, 0},    {"knob track top", 750, 80, 18},
      {"up at the top", 750, 50, 18}, {"track middle", 750, 280, 9}, {"wheel to the end", 0, -1, 5},
  };
  for (const Step& s : steps) {
    if (s.x == 0) {
      Wheel(s.y);
    } else {
      game->Press(s.x, s.y);
    }
    EXPECT_EQ(E().backlogViews.screen.scroll, s.scroll) << s.what;
    EXPECT_EQ(KnobTop(), kTrackTop + kTrack - s.scroll * kTrack / 18) << s.what;
    const std::string top =
        "\"shown\":[\"line " + std::string(s.scroll > 8 ? "00" : "0") + std::to_string(18 - s.scroll) + "\"";
    EXPECT_TRUE(StateHas(top)) << s.what << ": " << top;
  }
}

TEST_F(Backlog, DraggingTheKnobPinsAtTheEndsOfTheTrack) {
  StartWithLines(200);
  Backspace();
  E().PBMouseDown(MouseButton::Left, ShiftState{}, 750, 300);
  const int y0 = kTrackTop;
  struct Drag {
    int y, scroll;
  };
  const Drag drags[] = {{10, 188}, {y0 + 200, 94}, {599, 0}, {y0 + 1, 187}, {y0, 188}};
  for (const Drag& d : drags) {
    game->Move(750, d.y);
    EXPECT_EQ(E().backlogViews.screen.scroll, d.scroll) << "y " << d.y;
  }
  EXPECT_EQ(KnobTop(), kTrackTop) << "the oldest lines: the knob at the track's top";
  EXPECT_TRUE(StateHas("\"shown\":[\"line 000\",\"line 001\""));
  E().PBMouseUp(MouseButton::Left, ShiftState{}, 750, 0);
  game->Move(750, 500);
  EXPECT_EQ(E().backlogViews.screen.scroll, 188) << "released: moves no longer drag";
}

TEST_F(Backlog, AHeldArrowStepsAtThePressAfterTwelveFramesThenEveryFive) {
  StartWithLines(60);
  Backspace();
  E().PBMouseDown(MouseButton::Left, ShiftState{}, 750, 50);
  std::vector<int> scrolls;
  for (int frame = 0; frame < 23; ++frame) {
    scrolls.push_back(E().backlogViews.screen.scroll);
    EXPECT_EQ(Px(Window(), 750, 50), Opaque(kUpLit)) << "pressed, frame " << frame;
    game->Host().RunFrame();
  }
  std::vector<int> expected(23, 2);
  for (int f = 12; f < 23; ++f) expected[static_cast<size_t>(f)] = f < 17 ? 4 : f < 22 ? 6 : 8;
  EXPECT_EQ(scrolls, expected);
  E().PBMouseUp(MouseButton::Left, ShiftState{}, 300, 300);
  game->Host().RunFrames(20);
  EXPECT_EQ(E().backlogViews.screen.scroll, 8);
  EXPECT_EQ(Px(Window(), 750, 50), Opaque(kUp));
}

TEST_F(Backlog, FewerLinesThanRowsNeverScrollAndShowNoKnob) {
  StartWithLines(10);
  Backspace();
  const Bitmap before = Window();
  Wheel(1);
  game->Press(750, 50);   // the up arrow: no longer s = min(s + 2, count − R) = −2
  game->Press(750, 200);  // the knob track: no longer (count − R) × (T − d) / T < 0
  game->Move(750, 400);
  E().PBMouseUp(MouseButton::Left, ShiftState{}, 750, 400);
  game->Move(300, 300);
  EXPECT_EQ(E().backlogViews.screen.scroll, 0);
  EXPECT_EQ(KnobTop(), -1);
  EXPECT_TRUE(StateHas("\"shown\":[\"line 000\","));
  for (int y = 0; y < 600; y += 7) {
    for (int x = 0; x < 800; x += 5) ASSERT_EQ(Px(Window(), x, y), Px(before, x, y)) << x << "," << y;
  }
}

TEST_F(Backlog, AVoiceMarkOnTheTopRowLosesItsIconUntilScrolledFurther) {
  StartWithLines(14, 2);  // first visible line 2: the voice mark
  Backspace();
  EXPECT_TRUE(StateHas("\"shown\":[\"@V001\",\"line 003\""));
  EXPECT_TRUE(StateHas("\"voices\":[\"\",\"\""));
  EXPECT_EQ(Px(Window(), 70, 40), kDarkScene) << "no icon on the top row";
  Wheel(1);
  EXPECT_TRUE(StateHas("\"voices\":[\"\",\"\",\"V001\",\"\""));
  EXPECT_EQ(Px(Window(), 70, 40 + 28 * 2 - 4), Opaque(kIcon));
}

TEST_F(Backlog, RightClickOrBackspaceClosesBackToTheStorysPicture) {
  for (const bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "Backspace" : "right click");
    Restart();
    StartWithLines(30);
    const Bitmap before = Window();
    const Bitmap screenBefore = E().layers.screen;
    Backspace();
    Wheel(1);
    if (byKey) {
      Backspace();
    } else {
      game->Press(300, 300, MouseButton::Right);
    }
    EXPECT_FALSE(E().ctl.backlogOpen);
    EXPECT_FALSE(E().ctl.menuLock);
    EXPECT_EQ(E().vars.S(65), 0);
    EXPECT_EQ(Window().pixels, before.pixels);
    EXPECT_EQ(E().layers.screen.pixels, screenBefore.pixels);
    EXPECT_TRUE(StateHas("\"backlog\":{\"open\":false,\"lines\":30"));
  }
}

TEST_F(Backlog, MissingSkinsLeaveTheirElementsUndrawn) {
  game->Script("_config", std::string(kTextConfig) + kLogConfig);
  game->Entry("tq_gra.tvx", "AB01", Packed(Solid(800, 600, kScene)))
      .Script("main", "!S028=1\n@gra AB01,1\n@cv V009\n本文。\n\\\n");
  game->Start();
  game->RunToWait();
  for (int i = 0; i < 20; ++i) {
    E().text.backlog.Append("x");
    E().text.backlog.CloseLine();
  }
  Backspace();
  ASSERT_TRUE(E().ctl.backlogOpen);
  EXPECT_EQ(Px(Window(), 750, 300), kDarkScene) << "no bar, no knob";
  EXPECT_EQ(Px(Window(), 750, 50), kDarkScene) << "no arrow";
  game->Press(750, 50);
  EXPECT_EQ(E().backlogViews.screen.scroll, 2) << "the arrow's place still acts";
  game->Press(300, 300, MouseButton::Right);
  EXPECT_FALSE(E().ctl.backlogOpen);
}

TEST_F(Backlog, OddLayoutsNeitherOverrunNorDivideByZero) {
  struct Case {
    const char* config;
    int rows;
  };
  // 60 and 500 rows (the voice list holds every row), a pitch of 0 (no icon row can be found), a
  // knob taller than its track (no travel: pressing the track does nothing).
  const Case cases[] = {
      {"LOG_LINES:60\n", 60},
      {"LOG_LINES:500\n", 200},
      {"LOG_LINES:-3\n", 0},
      {"LOG_PITCH:0\n", 12},
      {"LOG_BAR_INSIDE:0,40,32,60\n", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    Restart();
    // The case's line comes last: the last value of a key is the one kept.
    StartWithLines(200, 150, std::string(c.config));
    Backspace();
    EXPECT_EQ(E().backlogViews.screen.rows, c.rows);
    EXPECT_EQ(E().backlogViews.screen.voices.size(), static_cast<size_t>(c.rows));
    for (int y = 0; y < 600; y += 3) game->Move(70, y);
    game->Press(750, 90);
    game->Move(750, 300);
    E().PBMouseUp(MouseButton::Left, ShiftState{}, 0, 0);
    Wheel(-1);
    EXPECT_GE(E().backlogViews.screen.scroll, 0);
    EXPECT_LE(E().backlogViews.screen.scroll, std::max(0, 200 - c.rows));
    game->Press(70, 45);
    game->Press(1, 1, MouseButton::Right);
    EXPECT_FALSE(E().ctl.backlogOpen);
  }
}

}  // namespace
}  // namespace torvel
