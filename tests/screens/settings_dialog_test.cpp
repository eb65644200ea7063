// The settings dialog through the headless host: what showing it fills in and leaves alone, each
// control's effect on the engine and the stored setting, and the apply step after it closes.
#include "screens/settings_dialog.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/headless/input_script.h"
#include "resources/file_io.h"
#include "resources/settings_store.h"
#include "sound/wady_encoder.h"
#include "support/font_configuration.h"
#include "support/text_game.h"

namespace torvel {
namespace {

using C = SettingsControl;
using testing::GameFixture;
using testing::Sj;

const std::string kConfig = std::string(testing::kTextConfig) +
                            "MAKER_REG:Software\\DialogTest\nGAME_ID:settings\n"
                            "VOLUME1:-100\nVOLUME2:-200\nVOLUME3:-300\n";

class SettingsDialogTest : public ::testing::Test {
 protected:
  void Start(const std::string& config = kConfig, const std::string& main = "@end\n") {
    game_.Script("_config", config).Script("main", main);
    game_.Start();
    game_.RunToWait();
  }
  TForm1& Engine() { return game_.Engine(); }
  SettingsStore Store() {
    SettingsStore store(game_.Dir() / "config", "Software\\DialogTest", "settings");
    store.Load();
    return store;
  }
  std::optional<int> Stored(std::string_view name) {
    std::optional<std::string> text = Store().Value(name);
    if (!text) return std::nullopt;
    return ParseSettingInt(*text);
  }
  // The settings file as it stands; what start-up wrote is there before any dialog shows.
  std::string StoreBytes() {
    std::vector<uint8_t> bytes;
    ReadWholeFile(Store().File(), bytes);
    return std::string(bytes.begin(), bytes.end());
  }

  GameFixture game_;
};

TEST_F(SettingsDialogTest, ShowingFillsTheControlsAndStoresNothing) {
  Start();
  Engine().sound.masterVolume = -1000;
  const std::string before = StoreBytes();
  SettingsDialogModel model(Engine());
  model.Fill();
  model.Fill();
  EXPECT_EQ(StoreBytes(), before);
  EXPECT_EQ(model.Value(C::TrackBar1), -400);  // master volume × 0.4
  EXPECT_EQ(model.Value(C::TrackBar2), -100);  // the configured volumes
  EXPECT_EQ(model.Value(C::TrackBar4), -300);
  EXPECT_EQ(model.Value(C::TrackBar5), -16);  // minus the window colour
  EXPECT_EQ(model.Value(C::TrackBar9), -128);
  EXPECT_EQ(model.Value(C::CSpinEdit1), 22);
  EXPECT_EQ(model.Value(C::CheckBox1), 1);
  EXPECT_EQ(model.Value(C::RadioGroup6), 0);
  EXPECT_FALSE(model.Visible(C::CheckBox17));
}

TEST_F(SettingsDialogTest, ShowingReadsTheStoredValuesFirst) {
  {
    SettingsStore seeded(game_.Dir() / "config", "Software\\DialogTest", "settings");
    ASSERT_TRUE(seeded.Write("Vol1", "-1234"));
    ASSERT_TRUE(seeded.Write("Seen", "0"));
    ASSERT_TRUE(seeded.Write("GMode", "junk"));
  }
  Start();
  Engine().settings.GMode = 1;  // not stored as a number: the dialog shows 0, not the engine's value
  Engine().settings.Vol1 = -5;
  SettingsDialogModel model(Engine());
  model.Fill();
  EXPECT_EQ(model.Value(C::TrackBar2), -1234);
  EXPECT_EQ(model.Value(C::CheckBox1), 0);
  EXPECT_EQ(model.Value(C::RadioGroup4), 0);
}

// One player change: the control, the value it is set to, the stored setting and its value, and
// the engine's value afterwards.
struct ControlCase {
  const char* label;
  C control;
  int value;
  const char* setting;
  int stored;
  int (*engine)(const TForm1&);
  int engineValue;
  bool textChanged;
};

class SettingsControlTest : public SettingsDialogTest, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(SettingsControlTest, ActsAndStoresAtOnce) {
  const ControlCase& c = GetParam();
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  model.Change(c.control, c.value);
  EXPECT_EQ(Stored(c.setting), c.stored);
  EXPECT_EQ(c.engine(Engine()), c.engineValue);
  EXPECT_EQ(Engine().dialogs.textSettingsChanged, c.textChanged);
  EXPECT_EQ(model.Value(c.control), c.value);
}

int SMode(const TForm1& e) { return e.settings.SMode; }
int GMode(const TForm1& e) { return e.settings.GMode; }
int Delay(const TForm1& e) { return e.settings.Delay; }
int RcMode(const TForm1& e) { return e.settings.RC_MODE; }
int WheelMode(const TForm1& e) { return e.settings.WHEEL_MODE; }
int CsSwap(const TForm1& e) { return e.settings.CS_SWAP; }
int Seen(const TForm1& e) { return e.settings.Seen; }
int Break(const TForm1& e) { return e.settings.BreakonSelect; }
int MemorySave(const TForm1& e) { return e.settings.MemorySaveMode; }
int EfxCut(const TForm1& e) { return e.settings.EFX_CUT; }
int Bgm(const TForm1& e) { return e.settings.BGM_ENA; }
int Cv1(const TForm1& e) { return e.settings.CV1; }
int SeEna(const TForm1& e) { return e.settings.SE_ENA; }
int VoiceVolume(const TForm1& e) { return e.VoiceVolume(); }
int EffectVolume(const TForm1& e) { return e.EffectVolume(); }
int MusicVolume(const TForm1& e) { return e.MusicVolume(); }
int Se0(const TForm1& e) { return e.settings.SE[0]; }
int Se1(const TForm1& e) { return e.settings.SE[1]; }
int Se3(const TForm1& e) { return e.settings.SE[3]; }
int Se4(const TForm1& e) { return e.settings.SE[4]; }
int CvThrough(const TForm1& e) { return e.settings.CV_THROUGH; }
int Bold(const TForm1& e) { return e.settings.FONTBold; }
int Size(const TForm1& e) { return e.settings.FONTSIZE; }
int Smooth(const TForm1& e) { return e.settings.FONTAA; }
int Red(const TForm1& e) { return e.settings.TXBG_R; }
int Green(const TForm1& e) { return e.settings.TXBG_G; }
int Blue(const TForm1& e) { return e.settings.TXBG_B; }
int Alpha(const TForm1& e) { return e.settings.TXBG_A; }
int Alpha2(const TForm1& e) { return e.settings.TXBG_A2; }

INSTANTIATE_TEST_SUITE_P(
    Controls, SettingsControlTest,
    ::testing::Values(ControlCase{"ScreenMode", C::RadioGroup6, 1, "SMode", 1, SMode, 1, false},
                      ControlCase{"GraphicMode", C::RadioGroup4, 1, "GMode", 1, GMode, 1, false},
                      // The text speed is only stored: the apply step hands it to the engine.
                      ControlCase{"TextSpeed", C::RadioGroup5, 1, "Delay", 1, Delay, 0, false},
                      ControlCase{"RightClick", C::RadioGroup1, 2, "RC_MODE", 2, RcMode, 2, false},
                      ControlCase{"Wheel", C::RadioGroup2, 1, "WHEEL_MODE", 1, WheelMode, 1, false},
                      ControlCase{"CtrlShift", C::RadioGroup3, 1, "CS_SWAP", 1, CsSwap, 1, false},
                      ControlCase{"StopAtUnread", C::CheckBox1, 0, "Seen", 0, Seen, 0, false},
                      ControlCase{"BreakOnSelect", C::CheckBox2, 0, "BreakonSelect", 0, Break, 0, false},
                      ControlCase{"MemorySave", C::CheckBox6, 1, "MemorySaveMode", 1, MemorySave, 1, false},
                      ControlCase{"EffectCut", C::CheckBox15, 0, "EFX_CUT", 0, EfxCut, 0, false},
                      ControlCase{"Music", C::CheckBox13, 0, "BGM_ENA", 0, Bgm, 0, false},
                      ControlCase{"Voices", C::CheckBox3, 0, "CV1", 0, Cv1, 0, false},
                      ControlCase{"Effects", C::CheckBox14, 0, "SE_ENA", 0, SeEna, 0, false},
                      ControlCase{"VoiceVolume", C::TrackBar2, -1001, "Vol1", -1001, VoiceVolume, -2502, false},
                      ControlCase{"EffectVolume", C::TrackBar3, -3000, "Vol2", -3000, EffectVolume, -7500, false},
                      ControlCase{"MusicVolume", C::TrackBar4, -1, "Vol3", -1, MusicVolume, -2, false},
                      ControlCase{"Category0", C::CheckBox7, 0, "SE0", 0, Se0, 0, false},
                      ControlCase{"Category1", C::CheckBox8, 0, "SE1", 0, Se1, 0, false},
                      ControlCase{"Category3", C::CheckBox10, 0, "SE3", 0, Se3, 0, false},
                      ControlCase{"Category4", C::CheckBox11, 0, "SE4", 0, Se4, 0, false},
                      ControlCase{"VoiceThrough", C::CheckBox12, 1, "CV_THROUGH", 1, CvThrough, 1, false},
                      ControlCase{"Bold", C::CheckBox5, 1, "FONTBold", 1, Bold, 1, true},
                      ControlCase{"FontSize", C::CSpinEdit1, 19, "FONTSIZE", 19, Size, 19, true},
                      ControlCase{"Smoothing", C::RadioGroup7, 1, "FONTAA", 1, Smooth, 1, true},
                      ControlCase{"Red", C::TrackBar5, -200, "TXBG_R", 200, Red, 200, true},
                      ControlCase{"Green", C::TrackBar6, -1, "TXBG_G", 1, Green, 1, true},
                      ControlCase{"Blue", C::TrackBar7, -255, "TXBG_B", 255, Blue, 255, true},
                      ControlCase{"Opacity", C::TrackBar8, 0, "TXBG_A", 0, Alpha, 0, true},
                      ControlCase{"NovelOpacity", C::TrackBar9, -30, "TXBG_A2", 30, Alpha2, 30, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SettingsDialogTest, TheMasterVolumeActsAtOnceAndIsNotStored) {
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  const std::string before = StoreBytes();
  game_.Host().Sound().ClearCalls();
  model.Change(C::TrackBar1, -1001);
  EXPECT_EQ(Engine().sound.masterVolume, -2502);
  const auto calls = game_.Host().Sound().CallsOf(SoundOp::MasterVolume);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().volume, -2502);
  EXPECT_EQ(StoreBytes(), before);
}

TEST_F(SettingsDialogTest, AValueEqualToTheCurrentOneDoesNothingAndOthersGoToTheNearestEnd) {
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  const std::string before = StoreBytes();
  model.Change(C::CheckBox1, 1);
  model.Change(C::TrackBar2, -100);
  model.Change(C::CSpinEdit1, 22);
  EXPECT_EQ(StoreBytes(), before);
  EXPECT_FALSE(Engine().dialogs.textSettingsChanged);

  model.Change(C::TrackBar2, -5000);
  model.Change(C::CSpinEdit1, 40);
  model.Change(C::RadioGroup6, 7);
  model.Change(C::TrackBar5, 10);
  EXPECT_EQ(Stored("Vol1"), -3000);
  EXPECT_EQ(Stored("FONTSIZE"), 23);
  EXPECT_EQ(model.Value(C::CSpinEdit1), 23);
  EXPECT_EQ(Stored("SMode"), 1);
  // The red bar was at -16: 10 goes to 0, a change.
  EXPECT_EQ(Stored("TXBG_R"), 0);
}

TEST_F(SettingsDialogTest, DefaultResetsTheWindowColourAndOpacityButNotTheNovelModeOpacity) {
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  model.Change(C::TrackBar5, -200);
  model.Change(C::TrackBar8, -10);
  model.Change(C::TrackBar9, -30);
  Engine().dialogs.textSettingsChanged = false;
  model.Press(C::Button3);
  EXPECT_EQ(Stored("TXBG_R"), 16);
  EXPECT_EQ(Stored("TXBG_G"), 24);
  EXPECT_EQ(Stored("TXBG_B"), 64);
  EXPECT_EQ(Stored("TXBG_A"), 160);
  EXPECT_EQ(Stored("TXBG_A2"), 30);
  EXPECT_EQ(Engine().settings.TXBG_R, 16);
  EXPECT_EQ(Engine().settings.TXBG_A2, 30);
  EXPECT_EQ(model.Value(C::TrackBar5), -16);
  EXPECT_EQ(model.Value(C::TrackBar8), -160);
  EXPECT_EQ(model.Value(C::TrackBar9), -30);
  EXPECT_EQ(model.Swatch(), (std::array<uint8_t, 3>{16, 24, 64}));
  EXPECT_TRUE(Engine().dialogs.textSettingsChanged);
}

TEST_F(SettingsDialogTest, ARightClickModeWithoutItemShowsNoneChosenAndStays) {
  {
    SettingsStore seeded(game_.Dir() / "config", "Software\\DialogTest", "settings");
    ASSERT_TRUE(seeded.Write("RC_MODE", "4"));
  }
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  EXPECT_EQ(model.Value(C::RadioGroup1), 4);
  model.Change(C::CheckBox1, 0);
  EXPECT_EQ(Engine().settings.RC_MODE, 4);
  EXPECT_EQ(Stored("RC_MODE"), 4);
  model.Change(C::RadioGroup1, 4);  // the last item is 3
  EXPECT_EQ(Engine().settings.RC_MODE, 3);
}

TEST_F(SettingsDialogTest, TheConfigurationModeSwitchIsOfferedOnlyWithConfigurationPictures) {
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  model.Change(C::CheckBox17, 1);
  EXPECT_EQ(Stored("CONFIG_MODE"), std::nullopt);

  GameFixture pictured;
  pictured.Script("_config", kConfig + "CFG_GRA:cfg,cfg2\n").Script("main", "@end\n");
  pictured.Start();
  SettingsDialogModel second(pictured.Engine());
  second.Fill();
  EXPECT_TRUE(second.Visible(C::CheckBox17));
  second.Change(C::CheckBox17, 1);
  EXPECT_EQ(pictured.Engine().settings.CONFIG_MODE, 1);
}

TEST_F(SettingsDialogTest, TheMusicSwitchRestartsTheRequestedTrack) {
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  Engine().vars.S(3) = 5;
  Engine().vars.S(5) = 5;
  model.Change(C::CheckBox13, 0);
  EXPECT_EQ(Engine().vars.S(5), 0);
  EXPECT_EQ(Engine().vars.S(3), 5);
  model.Change(C::CheckBox13, 1);
  EXPECT_EQ(Engine().vars.S(5), 5);
}

TEST_F(SettingsDialogTest, TheVoiceButtonPlaysTheSample) {
  std::vector<int16_t> tone(1600);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<int16_t>(4000 * std::sin(0.2 * static_cast<double>(i)));
  game_.Entry("tq_se0.tvx", "SAMPLECV", EncodeTypeB(tone, 1, 16000));
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  game_.Host().Sound().ClearCalls();
  model.Press(C::Button1);
  const auto created = game_.Host().Sound().CallsOf(SoundOp::Create);
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].name, "SAMPLECV");
}

TEST_F(SettingsDialogTest, HeadlessAnswersChangeTheNamedControlsInOrderThenClose) {
  game_.Script("_config", kConfig).Script("main", "@config\n@end\n");
  game_.Start();
  InputScript input = ParseInputScript(
      "0 dialog settings TrackBar2=-1001 CheckBox14=0 RadioGroup1=9 Button3 TrackBar5=-99 CSpinEdit1=\"18\"\n");
  ASSERT_EQ(input.error, "");
  game_.Host().SetInput(std::move(input.events));
  game_.RunToWait();
  EXPECT_EQ(Stored("Vol1"), -1001);
  EXPECT_EQ(Stored("SE_ENA"), 0);
  EXPECT_EQ(Stored("RC_MODE"), 3);
  EXPECT_EQ(Stored("TXBG_R"), 99);  // after Default, as the player set it
  EXPECT_EQ(Stored("TXBG_A"), 160);
  EXPECT_EQ(Stored("FONTSIZE"), 18);
  EXPECT_EQ(Engine().VoiceVolume(), -2502);
  // The apply step has run: the text settings changed and were taken.
  EXPECT_FALSE(Engine().dialogs.textSettingsChanged);
}

TEST_F(SettingsDialogTest, AnAnswerChoosesAFaceByNameAndANextShowingWithoutAnswerClosesAtOnce) {
  testing::FontConfiguration fonts(testing::kIpaGothicFolder);
  game_.Script("_config", kConfig).Script("main", "@config\n@end\n");
  game_.Start();
  InputScript input = ParseInputScript("0 dialog settings ComboBox1=\"IPA Pゴシック\" CheckBox1=0\n");
  ASSERT_EQ(input.error, "");
  game_.Host().SetInput(std::move(input.events));
  game_.RunToWait();
  EXPECT_EQ(Engine().settings.FontName, Sj("IPA Pゴシック"));
  EXPECT_EQ(Store().ReadText("FontName", ""), Sj("IPA Pゴシック"));
  EXPECT_EQ(Stored("Seen"), 0);

  const std::string before = StoreBytes();
  Engine().ShowSettingsDialog();
  EXPECT_EQ(StoreBytes(), before);
  EXPECT_EQ(Engine().settings.Seen, 0);
}

TEST_F(SettingsDialogTest, TheApplyStepTakesTheTextSpeed) {
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  model.Change(C::RadioGroup5, 1);
  EXPECT_TRUE(Engine().text.perCharDisplay);
  Engine().ApplySettingsDialog();
  EXPECT_FALSE(Engine().text.perCharDisplay);
  EXPECT_EQ(Engine().settings.Delay, 1);
}

TEST_F(SettingsDialogTest, TheApplyStepRebuildsTheWindowInTheNewColour) {
  Start(kConfig, "Dialogue.\n\\\n");
  const TextWindow& w = Engine().textWindow;
  const int x = w.x + 4, y = w.y + w.buffer.height - 4;  // inside the window, below the text
  auto shownRed = [&] { return game_.Host().Window().At(x, y)[2]; };
  const int before = shownRed();
  SettingsDialogModel model(Engine());
  model.Fill();
  model.Change(C::TrackBar5, -250);
  model.Change(C::TrackBar8, -255);
  EXPECT_EQ(shownRed(), before);  // nothing is redrawn while the dialog is up
  Engine().ApplySettingsDialog();
  // An opaque body: the window shows its colour over the black scene.
  EXPECT_NEAR(shownRed(), 250, 2);
  EXPECT_NEAR(game_.Host().Window().At(x, y)[0], 64, 2);
}

TEST_F(SettingsDialogTest, ChoosingFullScreenPausesASecondAfterTheSwitch) {
  Start();
  SettingsDialogModel model(Engine());
  model.Fill();
  uint32_t before = game_.Host().TickCount();
  Engine().ApplySettingsDialog();
  EXPECT_EQ(game_.Host().TickCount(), before);

  model.Change(C::RadioGroup6, 1);
  before = game_.Host().TickCount();
  Engine().ApplySettingsDialog();
  EXPECT_EQ(game_.Host().TickCount() - before, 1000u);
  EXPECT_FALSE(Engine().ctl.blockingScene);
}

TEST_F(SettingsDialogTest, WithoutJapaneseFacesTheListIsEmptyAndTheFaceStays) {
  Start();
  testing::TempFolder empty;
  testing::FontConfiguration fonts(empty.Path());
  const std::string before = StoreBytes();
  SettingsDialogModel model(Engine());
  model.Fill();
  EXPECT_TRUE(model.Faces().empty());
  EXPECT_EQ(model.Value(C::ComboBox1), -1);
  EXPECT_EQ(model.FaceText(), "ＭＳ ゴシック");
  model.Change(C::ComboBox1, 0);
  EXPECT_EQ(Engine().settings.FontName, Sj("ＭＳ ゴシック"));
  EXPECT_EQ(StoreBytes(), before);
}

TEST_F(SettingsDialogTest, ChoosingAFaceStoresItsJapaneseName) {
  Start();
  testing::FontConfiguration fonts(testing::kIpaGothicFolder);
  SettingsDialogModel model(Engine());
  model.Fill();
  ASSERT_EQ(model.Faces(), (std::vector<std::string>{"IPA Pゴシック", "IPAゴシック"}));
  EXPECT_EQ(model.Value(C::ComboBox1), -1);
  model.Change(C::ComboBox1, 1);
  EXPECT_EQ(Engine().settings.FontName, Sj("IPAゴシック"));
  EXPECT_EQ(Store().ReadText("FontName", ""), Sj("IPAゴシック"));
  EXPECT_TRUE(Engine().dialogs.textSettingsChanged);

  SettingsDialogModel again(Engine());
  again.Fill();
  EXPECT_EQ(again.Value(C::ComboBox1), 1);
}

}  // namespace
}  // namespace torvel
