// The configuration screen through the real engine on the headless host: what it draws for the
// settings in force (row-coded pictures, so every presented row tells where it came from), the
// squeeze frames, the hit order, the sliders, every click, the defaults, what closing stores, and
// the dialog that stands in when the screen's pictures are missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless/input_script.h"
#include "screens/config_layout.h"
#include "screens/config_squeeze.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

constexpr int kNormalRed = 11;
constexpr int kLitRed = 200;

// Pixel (x, y) is (y mod 256, y div 256, red): a row shows which row it is and which picture.
Bitmap RowCoded(int w, int h, int red) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(y % 256);
      p[1] = static_cast<uint8_t>(y / 256);
      p[2] = static_cast<uint8_t>(red);
    }
  }
  return b;
}

// A knob of w × h: black colour through an opaque mask, so it shows black over anything.
Bitmap Knob(int w, int h) {
  Bitmap b(2 * w, h);
  FillColumns(b, w, 2 * w, Bgr{255, 255, 255});
  return b;
}

// Volume bars 210 × 8 with a knob 10 wide (half 5); an auto track 90 wide with SPD_MAX 10.
constexpr const char* kLayout =
    "CFG_GRA:CFG_N,CFG_H\n"
    "CFG_WM_WIN:10,10,60,30\nCFG_WM_FULL:70,10,120,30\n"
    "CFG_GM_NORMAL:10,40,60,60\nCFG_GM_FAST:70,40,120,60\n"
    "CFG_TM_NORMAL:10,70,60,90\nCFG_TM_FAST:70,70,120,90\n"
    "CFG_MS_STOP:10,100,60,120\nCFG_MS_NONE:70,100,120,120\n"
    "CFG_MW_SCENE:10,130,60,150\nCFG_MW_LOG:70,130,120,150\n"
    "CFG_VOL_CVTEST:300,500,380,540\nCFG_VOL_DEFAULT:400,500,480,540\nCFG_DEFAULT:500,500,580,540\n"
    "CFG_DETAIL:600,500,680,540\nCFG_CLOSE:700,500,780,540\n"
    "CFG_VOL_BAR:210,8\nCFG_VOL_KNOB:CFG_KNOB\n"
    "CFG_VOL1:200,200\nCFG_VOL2:200,220\nCFG_VOL3:200,240\nCFG_VOL4:200,260\n"
    "CFG_AUTO:200,300,290,310\nCFG_AUTO_KNOB:CFG_AKNOB\n"
    "CFG_RIGHT_CLICK:30,20,10,400,50,400,90,400,130,400,170,400\n"
    "CFG_HSE:30,20,10,430,50,430,90,430,130,430,170,430\n"
    "CFG_SOUND:30,20,10,460,50,460,90,460,130,460\n"
    "CFG_VOICE:30,20,220,400,260,400\n"
    "CFG_SHASEL_SIZE:30,20\n"
    "CFG_SHASEL1:500,200,540,200,580,200\nCFG_SHASEL2:500,230,540,230,580,230\n"
    "CFG_SHASEL3:500,260,540,260,580,260\n"
    "VOLUME1:-300\nVOLUME2:-600\nVOLUME3:-900\n";

constexpr const char* kStory = "!S000=0\n@gra GAMEBG,1\n次。\n\\\n終わり。\n\\\n";

class ConfigScreenTest : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& layout = kLayout, int pictureW = 800, int pictureH = 600) {
    game.Script("_config", std::string(kTextConfig) + kSaveConfig + layout)
        .Entry("tq_gra.tvx", "GAMEBG", Packed(RowCoded(800, 600, 90)))
        .Entry("tq_gra.tvx", "CFG_N", Packed(RowCoded(pictureW, pictureH, kNormalRed)))
        .Entry("tq_gra.tvx", "CFG_H", Packed(RowCoded(pictureW, pictureH, kLitRed)))
        .Entry("tq_gra.tvx", "CFG_KNOB", Packed(Knob(10, 8)))
        .Entry("tq_gra.tvx", "CFG_AKNOB", Packed(Knob(6, 10)))
        .Script("main", kStory);
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  const Bitmap& Window() { return game.Host().Window(); }
  void Open() {
    E().OpenConfigScreen();
    ASSERT_TRUE(E().ctl.configScreenOpen);
  }
  void Move(int x, int y) { E().PBMouseMove(ShiftState{}, x, y); }
  void Press(int x, int y, MouseButton b = MouseButton::Left) {
    Move(x, y);
    E().PBMouseDown(b, ShiftState{}, x, y);
  }
  void Release(int x, int y) { E().PBMouseUp(MouseButton::Left, ShiftState{}, x, y); }
  void Click(int x, int y, MouseButton b = MouseButton::Left) {
    Press(x, y, b);
    Release(x, y);
  }
  int Red(const Bitmap& b, int x, int y) { return b.At(x, y)[2]; }
  // The settings file's names in the order they stand.
  std::vector<std::string> StoredNames() {
    const std::vector<uint8_t> bytes = FileBytes(E().SettingsFile());
    std::vector<std::string> names;
    std::string line;
    for (uint8_t c : bytes) {
      if (c != '\n') {
        line += static_cast<char>(c);
        continue;
      }
      const size_t eq = line.find('=');
      if (eq != std::string::npos && !line.empty() && line[0] != ';' && line[0] != '#')
        names.push_back(line.substr(0, eq));
      line.clear();
    }
    return names;
  }
  std::string Stored(const std::string& name) {
    const std::vector<uint8_t> bytes = FileBytes(E().SettingsFile());
    const std::string text(bytes.begin(), bytes.end());
    const std::string key = "\n" + name + "=";
    const size_t at = text.find(key);
    if (at == std::string::npos) return "(absent)";
    const size_t start = at + key.size();
    return text.substr(start, text.find('\n', start) - start);
  }

  GameFixture game;
};

// ---- the layout alone ----

TEST(ConfigLayout, EveryControlOverOnePointIsFoundInTheHitOrder) {
  // Every control covers (5, 5); taking the winner away each time reveals the next.
  GameConfig c;
  const ConfigRect r{0, 0, 10, 10};
  for (ConfigRect* rect :
       {&c.CFG_WM_WIN, &c.CFG_WM_FULL, &c.CFG_GM_NORMAL, &c.CFG_GM_FAST, &c.CFG_TM_NORMAL, &c.CFG_TM_FAST,
        &c.CFG_MS_STOP, &c.CFG_MS_NONE, &c.CFG_DETAIL, &c.CFG_CLOSE, &c.CFG_VOL_CVTEST, &c.CFG_VOL_DEFAULT,
        &c.CFG_DEFAULT, &c.CFG_MW_SCENE, &c.CFG_MW_LOG, &c.CFG_AUTO}) {
    *rect = r;
  }
  c.CFG_VOL_BAR = {10, 10};
  c.volumeBarGiven = {true, true, true, true};
  c.CFG_RIGHT_CLICK = {10, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  c.CFG_HSE = c.CFG_RIGHT_CLICK;
  c.CFG_SOUND = {10, 10, 0, 0, 0, 0, 0, 0, 0, 0};
  c.CFG_SHASEL_SIZE = {10, 10};
  c.CFG_VOICE = {10, 10, 0, 0, 0, 0};
  const std::vector<int> order = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 15, 16, 43, 17, 18,
                                  11, 12, 13, 14, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
                                  30, 31, 32, 33, 34, 37, 40, 35, 38, 41, 36, 39, 42, 44, 45};
  std::vector<int> found;
  // Move each winner far away and look again.
  for (size_t i = 0; i < order.size(); ++i) {
    const int code = ConfigControlAt(c, 5, 5);
    found.push_back(code);
    const int far = 1000 + static_cast<int>(i) * 20;
    switch (code) {
      case 1: c.CFG_WM_WIN = {far, 0, far + 1, 1}; break;
      case 2: c.CFG_WM_FULL = {far, 0, far + 1, 1}; break;
      case 3: c.CFG_GM_NORMAL = {far, 0, far + 1, 1}; break;
      case 4: c.CFG_GM_FAST = {far, 0, far + 1, 1}; break;
      case 5: c.CFG_TM_NORMAL = {far, 0, far + 1, 1}; break;
      case 6: c.CFG_TM_FAST = {far, 0, far + 1, 1}; break;
      case 7: c.CFG_MS_STOP = {far, 0, far + 1, 1}; break;
      case 8: c.CFG_MS_NONE = {far, 0, far + 1, 1}; break;
      case 9: c.CFG_DETAIL = {far, 0, far + 1, 1}; break;
      case 10: c.CFG_CLOSE = {far, 0, far + 1, 1}; break;
      case 15: c.CFG_VOL_CVTEST = {far, 0, far + 1, 1}; break;
      case 16: c.CFG_VOL_DEFAULT = {far, 0, far + 1, 1}; break;
      case 43: c.CFG_DEFAULT = {far, 0, far + 1, 1}; break;
      case 17: c.CFG_MW_SCENE = {far, 0, far + 1, 1}; break;
      case 18: c.CFG_MW_LOG = {far, 0, far + 1, 1}; break;
      case 11: c.CFG_VOL1 = {far, 0}; break;
      case 12: c.CFG_VOL2 = {far, 0}; break;
      case 13: c.CFG_VOL3 = {far, 0}; break;
      case 14: c.CFG_VOL4 = {far, 0}; break;
      case 19: c.CFG_AUTO = {far, 0, far + 1, 1}; break;
      default:
        if (code >= 20 && code <= 24) c.CFG_RIGHT_CLICK[2 + 2 * static_cast<size_t>(code - 20)] = far;
        if (code >= 25 && code <= 29) c.CFG_HSE[2 + 2 * static_cast<size_t>(code - 25)] = far;
        if (code >= 30 && code <= 33) c.CFG_SOUND[2 + 2 * static_cast<size_t>(code - 30)] = far;
        if (code >= 34 && code <= 42) {
          std::array<int, 6>* rows[] = {&c.CFG_SHASEL1, &c.CFG_SHASEL2, &c.CFG_SHASEL3};
          (*rows[(code - 34) / 3])[2 * static_cast<size_t>((code - 34) % 3)] = far;
        }
        if (code == 44 || code == 45) c.CFG_VOICE[2 + 2 * static_cast<size_t>(code - 44)] = far;
        break;
    }
  }
  EXPECT_EQ(found, order);
  EXPECT_EQ(ConfigControlAt(c, 5, 5), 0);
}

TEST(ConfigLayout, SliderValueAtBothEndsAndBetween) {
  // Bar at 200, 210 long, knob 10 wide: half 5, 200 pixels of travel.
  struct Case {
    int x, want;
  };
  for (Case c : {Case{150, -3000}, Case{200, -3000}, Case{205, -3000}, Case{206, -2985}, Case{305, -1500},
                 Case{404, -15}, Case{405, 0}, Case{900, 0}}) {
    EXPECT_EQ(SliderValue(200, 210, 10, c.x), c.want) << "x " << c.x;
  }
  // A knob as wide as the bar or wider never divides by zero.
  EXPECT_EQ(SliderValue(0, 10, 10, 5), -3000);
  EXPECT_EQ(SliderValue(0, 10, 30, 15), -3000);
  EXPECT_EQ(SliderValue(0, 10, 30, 16), 0);
  EXPECT_EQ(SliderValue(0, 10, 30, 60), 0);
}

TEST(ConfigLayout, AutoTrackDividesByAtLeastOneAndKeepsTheKnobOnIt) {
  struct Case {
    int spdMax, x1, x2, speed, wantOffset;
    int pointer, wantSpeed;
  };
  const Case cases[] = {
      {10, 200, 290, 10, 0, 245, 5},   // the worked example: 90 wide, step 9
      {10, 200, 290, 1, 90, 290, 1},   // offset 90 is step 10, clamped to speed 1
      {10, 200, 290, 50, 0, 100, 10},  // a speed the script left out of range
      {10, 200, 290, -4, 90, 400, 1},  //
      {0, 200, 290, 5, 0, 250, 1},     // SPD_MAX 0: divisors of 1, speed 1
      {1, 200, 290, 1, 0, 290, 1},     // SPD_MAX 1: step 90 for the speed, 1 for the offset
      {10, 200, 205, 3, 0, 203, 7},    // a track narrower than SPD_MAX: step 1
      {10, 200, 150, 3, 0, 260, 10},   // x2 before x1: no track at all
  };
  for (const Case& c : cases) {
    GameConfig g;
    g.SPD_MAX = c.spdMax;
    g.CFG_AUTO = {c.x1, 300, c.x2, 310};
    EXPECT_EQ(AutoKnobOffsetForSpeed(g, c.speed), c.wantOffset) << c.spdMax << " " << c.x2 << " " << c.speed;
    const int offset = AutoKnobOffsetAt(g, c.pointer);
    EXPECT_GE(offset, 0);
    EXPECT_LE(offset, std::max(0, c.x2 - c.x1));
    EXPECT_EQ(AutoSpeedForOffset(g, offset), c.wantSpeed) << c.spdMax << " " << c.x2 << " " << c.pointer;
  }
}

// Which picture and row each output row shows, read from the row-coded pictures.
struct ShownRow {
  int red, row;
  bool operator==(const ShownRow&) const = default;
};
ShownRow RowOf(const Bitmap& b, int y) {
  const uint8_t* p = b.At(400, y);
  return ShownRow{p[2], p[0] + 256 * p[1]};
}

TEST(ConfigSqueeze, RowsFollowTheSamplingWorkedOutByHand) {
  const Bitmap top = RowCoded(800, 600, kNormalRed), bottom = RowCoded(800, 600, 90);
  struct Case {
    int v, at;
    ShownRow want;
  };
  // v 32: step 4800 above (row 18.75 i), step 270 below from output row 32.
  // v 576: step 266 gives 578 rows above; step 6400 below, cut at the foot.
  // v 599: step 256 fills the whole picture from above; nothing below fits.
  const Case cases[] = {
      {32, 0, {kNormalRed, 0}}, {32, 1, {kNormalRed, 18}}, {32, 31, {kNormalRed, 581}},   {32, 32, {90, 0}},
      {32, 33, {90, 1}},        {32, 599, {90, 598}},      {576, 577, {kNormalRed, 599}}, {576, 578, {90, 0}},
      {576, 579, {90, 25}},     {576, 599, {90, 525}},     {599, 599, {kNormalRed, 599}}, {1, 0, {kNormalRed, 0}},
      {1, 1, {90, 0}},          {1, 599, {90, 598}}};
  for (const Case& c : cases) {
    Bitmap out(800, 600);
    out.Fill(1, 2, 3);
    SqueezeRows(top, bottom, c.v, out);
    EXPECT_EQ(RowOf(out, c.at), c.want) << "v " << c.v << " row " << c.at;
    // Every row is written.
    for (int y = 0; y < 600; ++y) ASSERT_NE(out.At(0, y)[2], 3) << "v " << c.v << " row " << y;
  }
}

// ---- the screen in the engine ----

TEST_F(ConfigScreenTest, OpensWithTheSqueezeThenShowsTheSettingsInForce) {
  Start();
  E().settings.SMode = 1;
  E().settings.GMode = 0;
  E().settings.Delay = 1;
  E().settings.Seen = 0;
  E().settings.WHEEL_MODE = 1;
  E().settings.RC_MODE = 2;
  E().settings.SE = {1, 0, 1, 0, 0};
  E().settings.CV1 = 1;
  E().settings.CV2 = 0;
  E().settings.BGM_ENA = 1;
  E().settings.SE_ENA = 0;
  E().vars.V(200) = 1;
  E().vars.V(201) = 5;  // no cell of that row
  E().vars.V(202) = 2;
  const Bitmap gameScreen = E().layers.screen;
  std::vector<Bitmap> frames;
  game.Host().onPresent = [&](const Bitmap& b, const Rect& r) {
    if (r.Width() == 800 && r.Height() == 600) frames.push_back(b);
  };
  Open();
  game.Host().onPresent = nullptr;
  // 18 squeeze frames (v 32, 64 … 576) and the screen.
  ASSERT_EQ(frames.size(), 19u);
  const Bitmap& drawn = E().layers.screen;
  auto rowIs = [](const Bitmap& b, int y, const Bitmap& from, int r) {
    return std::memcmp(b.Row(y), from.Row(r), 800 * 3) == 0;
  };
  // v 32 (frame 0): config rows 0, 18 …; game rows from output row 32. v 576 (frame 17).
  EXPECT_TRUE(rowIs(frames[0], 1, drawn, 18));
  EXPECT_TRUE(rowIs(frames[0], 31, drawn, 581));
  EXPECT_TRUE(rowIs(frames[0], 32, gameScreen, 0));
  EXPECT_TRUE(rowIs(frames[0], 599, gameScreen, 598));
  EXPECT_TRUE(rowIs(frames[1], 63, drawn, 590));  // v 64: step 2400, row 63 × 9.375
  EXPECT_TRUE(rowIs(frames[1], 64, gameScreen, 0));
  EXPECT_TRUE(rowIs(frames[17], 577, drawn, 599));
  EXPECT_TRUE(rowIs(frames[17], 579, gameScreen, 25));
  EXPECT_EQ(std::memcmp(Window().pixels.data(), drawn.pixels.data(), drawn.pixels.size()), 0);

  struct Spot {
    int x, y;
    bool lit;
    const char* what;
  };
  const Spot spots[] = {
      {20, 20, false, "window"},
      {80, 20, true, "full screen"},
      {20, 50, true, "transitions normal"},
      {80, 50, false, "transitions cut"},
      {20, 80, false, "per character"},
      {80, 80, true, "whole line"},
      {20, 110, false, "skip stops"},
      {80, 110, true, "skip goes on"},
      {20, 140, false, "wheel page back"},
      {80, 140, true, "wheel backlog"},
      {15, 405, false, "right click 0"},
      {95, 405, true, "right click 2"},
      {15, 435, true, "category 0"},
      {55, 435, false, "category 1"},
      {95, 435, true, "category 2"},
      {15, 465, true, "music"},
      {55, 465, true, "voice 1"},
      {95, 465, false, "effects"},
      {135, 465, false, "voice 2"},
      {225, 405, true, "voice 1 again"},
      {265, 405, false, "voice 2 again"},
      {505, 205, false, "preset 1 cell 0"},
      {545, 205, true, "preset 1 cell 1"},
      {505, 235, false, "preset 2 cell 0"},
      {545, 235, false, "preset 2 cell 1"},
      {585, 235, false, "preset 2 cell 2"},
      {585, 265, true, "preset 3 cell 2"},
      {720, 520, false, "close"},
      {9, 9, false, "outside the controls"},
      {60, 20, false, "right edge of window"},
  };
  for (const Spot& s : spots) {
    EXPECT_EQ(Red(Window(), s.x, s.y), s.lit ? kLitRed : kNormalRed) << s.what;
    // The rectangle comes from the same place of the highlighted picture.
    EXPECT_EQ(Window().At(s.x, s.y)[0], s.y % 256) << s.what;
  }
  EXPECT_TRUE(E().ctl.menuLock);
  EXPECT_FALSE(E().ctl.scriptRunning);
  EXPECT_FALSE(E().ctl.blockingScene);
  EXPECT_EQ(E().sound.slotNames[kEffectSlot].empty() && E().sound.slotNames[kVoiceSlot].empty(), true)
      << "no SSE07 in this game: nothing plays";
}

TEST_F(ConfigScreenTest, KnobsSitWhereTheirVolumesPutThem) {
  Start();
  // 200 pixels of travel: x = 200 + 200 × (e × 0.4 + 3000) / 3000.
  E().sound.masterVolume = 500;  // beyond full: the knob stays at the bar's end
  E().settings.Vol1 = -1500;     // engine −3750: half way
  E().settings.Vol2 = -3000;
  E().settings.Vol3 = -1001;  // engine −2502: 200 × 1999.2 / 3000 = 133.28
  E().vars.S(27) = 8;         // auto knob at 10 × 2
  Open();
  struct Knob {
    int x, y;
    const char* what;
  };
  for (Knob k : {Knob{400, 200, "master"}, Knob{300, 220, "voice"}, Knob{200, 240, "effects"}, Knob{333, 260, "music"},
                 Knob{220, 300, "auto"}}) {
    const int w = k.y == 300 ? 6 : 10;
    EXPECT_EQ(Red(Window(), k.x, k.y), 0) << k.what << " left edge";
    EXPECT_EQ(Red(Window(), k.x + w - 1, k.y), 0) << k.what << " right edge";
    EXPECT_EQ(Red(Window(), k.x - 1, k.y), kNormalRed) << k.what << " before";
    EXPECT_EQ(Red(Window(), k.x + w, k.y), kNormalRed) << k.what << " after";
  }
}

TEST_F(ConfigScreenTest, PressesOnTheBarsSetTheVolumesInTheirOwnUnits) {
  Start();
  Open();
  struct Case {
    int bar, x, slider;
  };
  for (Case c : {Case{0, 203, -3000}, Case{0, 305, -1500}, Case{0, 404, -15}, Case{1, 205, -3000}, Case{1, 306, -1485},
                 Case{2, 405, 0}, Case{3, 250, -2325}}) {
    Press(c.x, 204 + 20 * c.bar);
    Release(c.x, 204 + 20 * c.bar);
    const int engine = c.slider * 5 / 2;
    EXPECT_EQ(E().ConfigEngineVolume(c.bar), engine) << "bar " << c.bar << " x " << c.x;
    const int held[] = {E().sound.masterVolume, E().settings.Vol1, E().settings.Vol2, E().settings.Vol3};
    EXPECT_EQ(held[c.bar], c.bar == 0 ? engine : c.slider) << "bar " << c.bar;
  }
  EXPECT_EQ(E().sound.masterVolume, -37);  // −15 × 2.5 truncated
  EXPECT_NE(E().DescribeState().find("\"master\":-37}"), std::string::npos);
}

TEST_F(ConfigScreenTest, ADragRedrawsOnlyWhenTheValueChanges) {
  Start();
  Open();
  int presents = 0;
  game.Host().onPresent = [&](const Bitmap&, const Rect&) { ++presents; };
  Press(203, 224);  // voice bar at its left end: −3000
  EXPECT_EQ(E().configScreen.drag, 2);
  EXPECT_EQ(presents, 1) << "the press redraws once";
  presents = 0;
  for (int x : {201, 204, 205, 150}) Move(x, 224);  // all −3000
  EXPECT_EQ(presents, 0);
  Move(206, 300);  // −2985: the drag follows x alone, wherever y is
  EXPECT_EQ(presents, 1);
  EXPECT_EQ(E().settings.Vol1, -2985);
  EXPECT_EQ(Red(Window(), 201, 220), 0) << "the knob moved by one pixel";
  EXPECT_EQ(Red(Window(), 200, 220), kNormalRed);
  Move(206, 500);
  EXPECT_EQ(presents, 1);
  Release(206, 500);
  EXPECT_EQ(E().configScreen.drag, 0);
  Move(305, 500);  // no longer dragging
  EXPECT_EQ(E().settings.Vol1, -2985);
  game.Host().onPresent = nullptr;
}

TEST_F(ConfigScreenTest, TheAutoKnobFollowsThePointerAndSnapsOnlyOnDefaults) {
  Start();
  E().vars.S(27) = 10;
  Open();
  EXPECT_EQ(E().configScreen.autoKnobOffset, 0);
  Press(245, 305);
  EXPECT_EQ(E().configScreen.drag, 5);
  EXPECT_EQ(E().vars.S(27), 5);
  EXPECT_EQ(E().configScreen.autoKnobOffset, 45);
  EXPECT_EQ(Red(Window(), 245, 300), 0);
  Move(247, 100);  // 47 div 9 = 5 still, but the knob moves
  EXPECT_EQ(E().configScreen.autoKnobOffset, 47);
  EXPECT_EQ(Red(Window(), 247, 300), 0);
  EXPECT_EQ(Red(Window(), 246, 300), kNormalRed);
  Move(900, 100);
  EXPECT_EQ(E().configScreen.autoKnobOffset, 90);
  EXPECT_EQ(E().vars.S(27), 1);
  Release(900, 100);
  Move(50, 50);
  EXPECT_EQ(E().configScreen.autoKnobOffset, 90);
  E().vars.S(27) = 1;
  Click(540, 520);  // CFG_DEFAULT: speed 5, the knob snapped to 10 × 5
  EXPECT_EQ(E().vars.S(27), 5);
  EXPECT_EQ(E().configScreen.autoKnobOffset, 50);
  EXPECT_NE(E().DescribeState().find("\"config\":{\"open\":true,\"hover\":43,\"drag\":0,\"autoKnobOffset\":50}"),
            std::string::npos);
}

TEST_F(ConfigScreenTest, EveryClickActsAndRedrawsUnlit) {
  Start();
  Open();
  struct Case {
    int x, y;
    const char* what;
    std::function<int(TForm1&)> read;
    int want;
  };
  const std::vector<Case> cases = {
      {80, 20, "full screen", [](TForm1& e) { return e.settings.SMode; }, 1},
      {20, 20, "window", [](TForm1& e) { return e.settings.SMode; }, 0},
      {80, 50, "cut", [](TForm1& e) { return e.settings.GMode; }, 1},
      {80, 80, "whole line", [](TForm1& e) { return e.settings.Delay * 10 + (e.text.perCharDisplay ? 1 : 0); }, 10},
      {20, 80, "per char", [](TForm1& e) { return e.settings.Delay * 10 + (e.text.perCharDisplay ? 1 : 0); }, 1},
      {80, 110, "skip goes on", [](TForm1& e) { return e.settings.Seen; }, 0},
      {80, 140, "backlog", [](TForm1& e) { return e.settings.WHEEL_MODE; }, 1},
      {175, 405, "right click 4", [](TForm1& e) { return e.settings.RC_MODE; }, 4},
      {55, 435, "category 1", [](TForm1& e) { return e.settings.SE[1]; }, 0},
      {55, 465, "voice 1", [](TForm1& e) { return e.settings.CV1; }, 0},
      {225, 405, "voice 1 again", [](TForm1& e) { return e.settings.CV1; }, 1},
      {95, 465, "effects", [](TForm1& e) { return e.settings.SE_ENA; }, 0},
      {135, 465, "voice 2", [](TForm1& e) { return e.settings.CV2; }, 0},
      {265, 405, "voice 2 again", [](TForm1& e) { return e.settings.CV2; }, 1},
      {15, 465, "music", [](TForm1& e) { return e.settings.BGM_ENA; }, 0},
      {545, 235, "preset 2 cell 1", [](TForm1& e) { return e.vars.V(201); }, 1},
      {585, 265, "preset 3 cell 2", [](TForm1& e) { return e.vars.V(202); }, 2},
      {420, 520, "volume defaults", [](TForm1& e) { return e.settings.Vol1 + e.settings.Vol2 + e.settings.Vol3; },
       -1800},
  };
  for (const Case& c : cases) {
    Press(c.x, c.y, c.x % 2 ? MouseButton::Right : MouseButton::Left);  // any button presses
    EXPECT_EQ(c.read(E()), c.want) << c.what;
    EXPECT_EQ(std::memcmp(Window().pixels.data(), E().layers.screen.pixels.data(), E().layers.screen.pixels.size()), 0)
        << c.what << ": the whole screen shown";
    Release(c.x, c.y);
  }
  EXPECT_EQ(Red(Window(), 80, 140), kLitRed);
  EXPECT_EQ(Red(Window(), 175, 405), kLitRed);
  // Over a press on the voice test the button shows un-lit until released.
  Press(320, 520);
  EXPECT_EQ(Red(Window(), 320, 520), kNormalRed);
  Release(320, 520);
  EXPECT_EQ(Red(Window(), 320, 520), kLitRed);
  EXPECT_EQ(Red(E().layers.screen, 320, 520), kNormalRed) << "the lit look is on the window alone";
}

TEST_F(ConfigScreenTest, PushButtonsLightUnderThePointerOthersDoNot) {
  Start();
  Open();
  Move(720, 520);
  EXPECT_EQ(E().configScreen.hover, 10);
  EXPECT_EQ(Red(Window(), 720, 520), kLitRed);
  EXPECT_EQ(Red(Window(), 699, 520), kNormalRed);
  Move(620, 520);
  EXPECT_EQ(E().configScreen.hover, 9);
  EXPECT_EQ(Red(Window(), 720, 520), kNormalRed);
  EXPECT_EQ(Red(Window(), 620, 520), kLitRed);
  Move(20, 50);  // an option: no hover look, the last button goes out
  EXPECT_EQ(E().configScreen.hover, 3);
  EXPECT_EQ(Red(Window(), 620, 520), kNormalRed);
  EXPECT_EQ(Red(Window(), 80, 50), kNormalRed);
  Move(5, 5);
  EXPECT_EQ(E().configScreen.hover, 0);
}

TEST_F(ConfigScreenTest, DefaultsRestoreEverySwitchButTheMasterVolume) {
  Start();
  Open();
  PlayerSettings& s = E().settings;
  s.BGM_ENA = 0;
  s.SE_ENA = 0;
  s.Delay = 1;
  s.GMode = 1;
  s.SMode = 1;
  s.Seen = 0;
  s.BreakonSelect = 0;
  s.RC_MODE = 3;
  s.WHEEL_MODE = 1;
  s.CS_SWAP = 1;
  s.EFX_CUT = 0;
  s.CV1 = 0;
  s.CV2 = 0;
  s.SE = {0, 0, 0, 0, 0};
  s.Vol1 = s.Vol2 = s.Vol3 = -3000;
  E().sound.masterVolume = -1234;
  E().vars.V(200) = 2;
  E().vars.V(201) = 1;
  E().vars.V(202) = 7;
  E().vars.S(27) = 9;
  Click(540, 520);
  const std::vector<std::pair<const char*, int>> want = {
      {"BGM_ENA", s.BGM_ENA},
      {"SE_ENA", s.SE_ENA},
      {"Delay", s.Delay},
      {"GMode", s.GMode},
      {"SMode", s.SMode},
      {"Seen", s.Seen},
      {"BreakonSelect", s.BreakonSelect},
      {"RC_MODE", s.RC_MODE},
      {"WHEEL_MODE", s.WHEEL_MODE},
      {"CS_SWAP", s.CS_SWAP},
      {"EFX_CUT", s.EFX_CUT},
      {"CV1", s.CV1},
      {"CV2", s.CV2},
  };
  const int expected[] = {1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 1};
  for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(want[i].second, expected[i]) << want[i].first;
  EXPECT_EQ(s.SE, (std::array<int, 5>{1, 1, 1, 1, 1}));
  EXPECT_TRUE(E().text.perCharDisplay);
  EXPECT_EQ(s.Vol1, -300);
  EXPECT_EQ(s.Vol2, -600);
  EXPECT_EQ(s.Vol3, -900);
  EXPECT_EQ(E().sound.masterVolume, -1234);
  EXPECT_EQ(E().vars.V(200) + E().vars.V(201) + E().vars.V(202), 0);
  EXPECT_EQ(E().vars.S(27), 5);
}

TEST_F(ConfigScreenTest, ClosingStoresTheSettingsInOrderAndPutsTheGameBack) {
  Start();
  const Bitmap gameScreen = E().layers.screen;
  E().settings.Vol1 = -1001;  // kept exactly, not −1000
  Open();
  Click(80, 50);    // GMode 1
  Click(175, 405);  // RC_MODE 4
  Click(15, 435);   // SE0 off
  E().sound.masterVolume = -2000;
  E().vars.S(27) = 3;
  E().settings.EFX_CUT = 0;
  std::vector<Bitmap> frames;
  game.Host().onPresent = [&](const Bitmap& b, const Rect& r) {
    if (r.Width() == 800 && r.Height() == 600) frames.push_back(b);
  };
  const Bitmap drawn = E().layers.screen;
  Click(720, 520);
  game.Host().onPresent = nullptr;
  EXPECT_FALSE(E().ctl.configScreenOpen);
  EXPECT_TRUE(E().ctl.scriptRunning);
  EXPECT_FALSE(E().ctl.menuLock);
  EXPECT_FALSE(E().ctl.blockingScene);
  // 18 frames (v 568, 536 … 24), then the game.
  ASSERT_EQ(frames.size(), 19u);
  EXPECT_EQ(std::memcmp(frames[0].Row(567), drawn.Row(598), 2400), 0);  // v 568: step 270, 569 rows
  EXPECT_EQ(std::memcmp(frames[0].Row(568), drawn.Row(599), 2400), 0);
  EXPECT_EQ(std::memcmp(frames[0].Row(569), gameScreen.Row(0), 2400), 0);
  EXPECT_EQ(std::memcmp(frames[17].Row(23), drawn.Row(575), 2400), 0);  // v 24: step 6400
  EXPECT_EQ(std::memcmp(frames[17].Row(24), gameScreen.Row(0), 2400), 0);
  EXPECT_EQ(std::memcmp(Window().pixels.data(), gameScreen.pixels.data(), gameScreen.pixels.size()), 0);
  EXPECT_EQ(std::memcmp(E().layers.screen.pixels.data(), gameScreen.pixels.data(), gameScreen.pixels.size()), 0);

  std::vector<std::string> names = StoredNames();
  // The global variables G0 … G9 live in the same section; they are not the screen's.
  std::erase_if(names, [](const std::string& n) { return n.starts_with("GV"); });
  const std::vector<std::string> order = {"GMode", "SMode", "Seen", "Delay",   "BreakonSelect", "Vol1",   "Vol2",
                                          "Vol3",  "CV1",   "CV2",  "BGM_ENA", "SE_ENA",        "SE0",    "SE1",
                                          "SE2",   "SE3",   "SE4",  "RC_MODE", "WHEEL_MODE",    "CS_SWAP"};
  EXPECT_EQ(names, order);
  EXPECT_EQ(Stored("GMode"), "1");
  EXPECT_EQ(Stored("RC_MODE"), "4");
  EXPECT_EQ(Stored("SE0"), "0");
  EXPECT_EQ(Stored("Vol1"), "-1001");
  EXPECT_EQ(Stored("Delay"), "0");
}

TEST_F(ConfigScreenTest, TheBorderlessKindChoosingTheWindowStoresZeroAndStaysAsItIs) {
  Start();
  E().settings.SMode = 2;
  Open();
  Click(20, 20);
  Click(720, 520);
  EXPECT_EQ(Stored("SMode"), "0");
  EXPECT_EQ(E().settings.SMode, 0);
  EXPECT_FALSE(E().FullScreenShown());
}

TEST_F(ConfigScreenTest, ClosingTheProgramFromTheScreenKeepsItsSettings) {
  Start();
  Open();
  Click(80, 50);  // GMode 1
  game.Host().QueueAnswer(MessageResult::Ok);
  E().Close();
  game.Host().RunFrame();
  EXPECT_TRUE(game.Host().Closed());
  EXPECT_EQ(Stored("GMode"), "1");
}

TEST_F(ConfigScreenTest, DetailClosesThenShowsTheDialog) {
  Start();
  Open();
  Click(620, 520);
  EXPECT_FALSE(E().ctl.configScreenOpen);
  EXPECT_TRUE(E().ctl.scriptRunning);
  EXPECT_FALSE(E().ctl.blockingScene);
  EXPECT_FALSE(E().ctl.menuLock);
  EXPECT_EQ(Stored("GMode"), "0") << "the screen stored its settings on the way";
}

TEST_F(ConfigScreenTest, WithoutPicturesTheDialogStandsIn) {
  struct Case {
    const char* gra;
    int configMode;  // after one opening
  };
  for (Case c : {Case{"CFG_GRA:CFG_N\n", 1}, Case{"CFG_GRA:,CFG_H\n", 1}, Case{"CFG_GRA:MISSING,CFG_H\n", 0}}) {
    GameFixture local;
    local.Script("_config", std::string(kTextConfig) + kSaveConfig + c.gra + "CFG_CLOSE:700,500,780,540\n")
        .Entry("tq_gra.tvx", "CFG_N", Packed(RowCoded(800, 600, kNormalRed)))
        .Entry("tq_gra.tvx", "CFG_H", Packed(RowCoded(800, 600, kLitRed)))
        .Script("main", kStory);
    TForm1& e = local.Start();
    local.RunToWait();
    int presents = 0;
    local.Host().onPresent = [&](const Bitmap&, const Rect&) { ++presents; };
    // The dialog takes a queued answer: whole lines.
    InputScript s = ParseInputScript(std::string("0 dialog settings RadioGroup3=1\n"));
    ASSERT_EQ(s.error, "");
    local.Host().SetInput(s.events);
    local.Host().RunFrame();
    e.OpenConfigScreen();
    local.Host().onPresent = nullptr;
    EXPECT_FALSE(e.ctl.configScreenOpen) << c.gra;
    EXPECT_EQ(e.settings.CONFIG_MODE, c.configMode) << c.gra;
    EXPECT_TRUE(e.ctl.scriptRunning);
    EXPECT_FALSE(e.ctl.menuLock);
    EXPECT_FALSE(e.ctl.blockingScene);
    EXPECT_LT(presents, 2) << "no squeeze";
  }
}

TEST_F(ConfigScreenTest, AbsentBarsAndPicturesOfAnotherSizeAreLeftOut) {
  std::string layout = kLayout;
  layout.erase(layout.find("CFG_VOL3:200,240\n"), 17);
  Start(layout, 300, 250);
  E().settings.Vol1 = -3000;
  E().settings.Vol2 = -3000;
  Open();
  EXPECT_EQ(Red(Window(), 100, 100), kNormalRed);
  EXPECT_EQ(Red(Window(), 299, 249), kNormalRed);
  EXPECT_EQ(Window().At(300, 100)[0] + Window().At(300, 100)[2], 0) << "black beside the picture";
  EXPECT_EQ(Window().At(150, 300)[0] + Window().At(150, 300)[2], 0) << "black below it";
  EXPECT_EQ(Red(Window(), 200, 240), kNormalRed) << "no knob for the bar the game left out";
  EXPECT_EQ(Red(Window(), 200, 220), 0) << "the voice knob";
  // Full screen's rectangle lies partly beyond the highlighted picture: clipped to it.
  Click(80, 20);
  EXPECT_EQ(Red(Window(), 80, 20), kLitRed);
  Press(203, 244);  // where the third bar would be
  EXPECT_EQ(E().configScreen.drag, 0);
  EXPECT_EQ(E().settings.Vol2, -3000);
  Press(203, 224);
  EXPECT_EQ(E().configScreen.drag, 2);
  Release(203, 224);
  EXPECT_EQ(E().configScreen.hover, 12);
}

TEST_F(ConfigScreenTest, KnobsAtThePictureEdgeAreClipped) {
  std::string layout = kLayout;
  layout.replace(layout.find("CFG_VOL4:200,260"), 16, "CFG_VOL4:795,596");
  Start(layout);
  E().settings.Vol3 = -3000;  // the music knob at (795, 596), 10 × 8: five columns and four rows show
  Open();
  EXPECT_EQ(Red(Window(), 795, 596), 0);
  EXPECT_EQ(Red(Window(), 799, 599), 0);
  EXPECT_EQ(Red(Window(), 794, 599), kNormalRed);
  E().settings.Vol3 = 0;  // wholly beyond the picture
  Click(20, 50);
  EXPECT_EQ(Red(Window(), 795, 596), kNormalRed);
}

TEST_F(ConfigScreenTest, KeysAndTheWheelDoNothingWhileOpen) {
  Start();
  Open();
  const std::string before = E().DescribeState();
  const int pc = E().script.pc;
  InputScript s = ParseInputScript("0 key enter\n0 key space\n0 wheel down\n0 wheel up\n0 key backspace\n");
  ASSERT_EQ(s.error, "");
  game.Host().SetInput(s.events);
  game.Host().RunFrames(20);
  EXPECT_TRUE(E().ctl.configScreenOpen);
  EXPECT_EQ(E().script.pc, pc);
  EXPECT_FALSE(E().ctl.backlogOpen);
}

TEST_F(ConfigScreenTest, ReachedByTheKeyTheQuickButtonTheMenuAndTheCommand) {
  struct Case {
    const char* input;
    const char* story;
  };
  const std::string qb = "QB_CF:2,40,30,100,100,0,0\n";
  for (Case c :
       {Case{"0 key c\n", kStory}, Case{"0 click 400 300 right\n5 menu popup settings\n", kStory},
        Case{"0 move 110 110\n5 click 110 110\n", kStory}, Case{"", "!S000=0\n@gra GAMEBG,1\n@config\n次。\n\\\n"}}) {
    GameFixture local;
    local.Script("_config", std::string(kTextConfig) + kSaveConfig + kLayout + qb)
        .Entry("tq_gra.tvx", "GAMEBG", Packed(RowCoded(800, 600, 90)))
        .Entry("tq_gra.tvx", "CFG_N", Packed(RowCoded(800, 600, kNormalRed)))
        .Entry("tq_gra.tvx", "CFG_H", Packed(RowCoded(800, 600, kLitRed)))
        .Script("main", c.story);
    for (const char* n : {"sys_qbtn1", "sys_qbtn1_om", "sys_qbtn1_on"})
      local.Entry("tq_gra.tvx", n, Packed(Solid(40, 60, {9, 9, 9})));
    TForm1& e = local.Start();
    local.RunToWait();
    InputScript s = ParseInputScript(c.input);
    ASSERT_EQ(s.error, "");
    local.Host().SetInput(s.events);
    local.Host().RunUntilSettled(200);
    EXPECT_TRUE(e.ctl.configScreenOpen) << c.input << c.story;
    EXPECT_EQ(Red(local.Host().Window(), 400, 400), kNormalRed) << c.input;
  }
}

TEST_F(ConfigScreenTest, TheStateReportsTheSettingsByName) {
  Start();
  E().settings.SE = {1, 0, 1, 0, 1};
  E().settings.PlayerName = Utf8ToSjis("朝倉");
  const std::string state = E().DescribeState();
  for (const char* part : {"\"config\":{\"open\":false,\"hover\":0,\"drag\":0,\"autoKnobOffset\":0}",
                           "\"SE0\":1,\"SE1\":0,\"SE2\":1,\"SE3\":0,\"SE4\":1", "\"PlayerName\":\"朝倉\"",
                           "\"BreakonSelect\":1", "\"TXBG_A2\":", "\"settings\":{\"Left\":"}) {
    EXPECT_NE(state.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace torvel
