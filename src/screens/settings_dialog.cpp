// The settings dialog: its controls, what each change does in the engine and the settings store,
// and the apply step after the window closes.
#include "screens/settings_dialog.h"

#include <algorithm>

#include "platform/fonts/font_list.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

using C = SettingsControl;
using K = ControlKind;

constexpr int kVolumeMin = -3000;
constexpr int kTextBackgroundMin = -255;
constexpr int kFontSizeMin = 18;
constexpr int kFontSizeMax = 23;
constexpr int kFullScreenPauseMs = 1000;
constexpr std::string_view kSampleVoice = "SAMPLECV";

constexpr std::array<SettingsControlInfo, kSettingsControlCount> kControls = {{
    {C::RadioGroup6, "RadioGroup6", K::Radio, 0, "スクリーンモード", {"ウィンドウ", "全画面"}, 2, 0, 1},
    {C::RadioGroup4, "RadioGroup4", K::Radio, 0, "グラフィック表示", {"通常", "高速"}, 2, 0, 1},
    {C::RadioGroup5, "RadioGroup5", K::Radio, 0, "文字表示速度", {"通常", "高速"}, 2, 0, 1},
    {C::RadioGroup1,
     "RadioGroup1",
     K::Radio,
     0,
     "右クリック割り当て",
     {"メニュー", "枠消し", "スキップ", "オート"},
     4,
     0,
     3},
    {C::RadioGroup2, "RadioGroup2", K::Radio, 0, "ホイール割り当て", {"シーン巻き戻し", "バックログ"}, 2, 0, 1},
    {C::RadioGroup3,
     "RadioGroup3",
     K::Radio,
     0,
     "Ctrl Shift",
     {"Ctrl-スキップ Shift-オート", "Ctrl-オート Shift-スキップ"},
     2,
     0,
     1},
    {C::CheckBox1, "CheckBox1", K::Check, 0, "未読でスキップ等を止める", {}, 0, 0, 1},
    {C::CheckBox2, "CheckBox2", K::Check, 0, "選択時にスキップ等を解除", {}, 0, 0, 1},
    {C::CheckBox6, "CheckBox6", K::Check, 0, "メモリ使用を節約する（推奨しません）", {}, 0, 0, 1},
    {C::CheckBox15, "CheckBox15", K::Check, 0, "スキップ時、揺らし等を抑制", {}, 0, 0, 1},
    {C::CheckBox17, "CheckBox17", K::Check, 0, "簡易設定を使わない", {}, 0, 0, 1},
    {C::CheckBox13, "CheckBox13", K::Check, 1, "BGM", {}, 0, 0, 1},
    {C::CheckBox3, "CheckBox3", K::Check, 1, "音声", {}, 0, 0, 1},
    {C::CheckBox14, "CheckBox14", K::Check, 1, "効果音", {}, 0, 0, 1},
    {C::TrackBar1, "TrackBar1", K::Track, 1, "全体音量", {}, 0, kVolumeMin, 0},
    {C::TrackBar2, "TrackBar2", K::Track, 1, "", {}, 0, kVolumeMin, 0},
    {C::TrackBar3, "TrackBar3", K::Track, 1, "効果音等", {}, 0, kVolumeMin, 0},
    {C::TrackBar4, "TrackBar4", K::Track, 1, "BGM", {}, 0, kVolumeMin, 0},
    {C::Button1, "Button1", K::Button, 1, "ボイス", {}, 0, 0, 0},
    // The effect categories are the game's own; these captions name them by their sound names.
    {C::CheckBox7, "CheckBox7", K::Check, 1, "SEH0 の効果音", {}, 0, 0, 1},
    {C::CheckBox8, "CheckBox8", K::Check, 1, "SEH1 の効果音", {}, 0, 0, 1},
    {C::CheckBox10, "CheckBox10", K::Check, 1, "SEH3 の効果音", {}, 0, 0, 1},
    {C::CheckBox11, "CheckBox11", K::Check, 1, "SEH4 の効果音", {}, 0, 0, 1},
    {C::CheckBox12, "CheckBox12", K::Check, 1, "クリックで音声再生を止めない", {}, 0, 0, 1},
    {C::ComboBox1, "ComboBox1", K::Combo, 2, "フォント指定(※)", {}, 0, 0, 0},
    {C::CheckBox5, "CheckBox5", K::Check, 2, "太字", {}, 0, 0, 1},
    {C::CSpinEdit1, "CSpinEdit1", K::Spin, 2, "フォントサイズ", {}, 0, kFontSizeMin, kFontSizeMax},
    {C::RadioGroup7,
     "RadioGroup7",
     K::Radio,
     2,
     "フォント描画方法",
     {"アンチ処理あり（※）", "アンチ処理なし"},
     2,
     0,
     1},
    {C::TrackBar5, "TrackBar5", K::Track, 2, "R", {}, 0, kTextBackgroundMin, 0},
    {C::TrackBar6, "TrackBar6", K::Track, 2, "G", {}, 0, kTextBackgroundMin, 0},
    {C::TrackBar7, "TrackBar7", K::Track, 2, "B", {}, 0, kTextBackgroundMin, 0},
    {C::TrackBar8, "TrackBar8", K::Track, 2, "透過", {}, 0, kTextBackgroundMin, 0},
    {C::Button3, "Button3", K::Button, 2, "Default", {}, 0, 0, 0},
    {C::TrackBar9, "TrackBar9", K::Track, 2, "透過→", {}, 0, kTextBackgroundMin, 0},
}};

// The stored setting a control changes; empty for the master volume, the buttons and the font.
std::string_view SettingName(C control) {
  switch (control) {
    case C::RadioGroup6: return "SMode";
    case C::RadioGroup4: return "GMode";
    case C::RadioGroup5: return "Delay";
    case C::RadioGroup1: return "RC_MODE";
    case C::RadioGroup2: return "WHEEL_MODE";
    case C::RadioGroup3: return "CS_SWAP";
    case C::CheckBox1: return "Seen";
    case C::CheckBox2: return "BreakonSelect";
    case C::CheckBox6: return "MemorySaveMode";
    case C::CheckBox15: return "EFX_CUT";
    case C::CheckBox17: return "CONFIG_MODE";
    case C::CheckBox13: return "BGM_ENA";
    case C::CheckBox3: return "CV1";
    case C::CheckBox14: return "SE_ENA";
    case C::TrackBar2: return "Vol1";
    case C::TrackBar3: return "Vol2";
    case C::TrackBar4: return "Vol3";
    case C::CheckBox7: return "SE0";
    case C::CheckBox8: return "SE1";
    case C::CheckBox10: return "SE3";
    case C::CheckBox11: return "SE4";
    case C::CheckBox12: return "CV_THROUGH";
    case C::CheckBox5: return "FONTBold";
    case C::CSpinEdit1: return "FONTSIZE";
    case C::RadioGroup7: return "FONTAA";
    case C::TrackBar5: return "TXBG_R";
    case C::TrackBar6: return "TXBG_G";
    case C::TrackBar7: return "TXBG_B";
    case C::TrackBar8: return "TXBG_A";
    case C::TrackBar9: return "TXBG_A2";
    default: return {};
  }
}

// The engine's value a control sets; null where the engine keeps none of its own (the text speed,
// which the apply step takes from the store, and the controls without a setting).
int* EngineValue(PlayerSettings& s, C control) {
  switch (control) {
    case C::RadioGroup6: return &s.SMode;
    case C::RadioGroup4: return &s.GMode;
    case C::RadioGroup1: return &s.RC_MODE;
    case C::RadioGroup2: return &s.WHEEL_MODE;
    case C::RadioGroup3: return &s.CS_SWAP;
    case C::CheckBox1: return &s.Seen;
    case C::CheckBox2: return &s.BreakonSelect;
    case C::CheckBox6: return &s.MemorySaveMode;
    case C::CheckBox15: return &s.EFX_CUT;
    case C::CheckBox17: return &s.CONFIG_MODE;
    case C::CheckBox13: return &s.BGM_ENA;
    case C::CheckBox3: return &s.CV1;
    case C::CheckBox14: return &s.SE_ENA;
    case C::TrackBar2: return &s.Vol1;
    case C::TrackBar3: return &s.Vol2;
    case C::TrackBar4: return &s.Vol3;
    case C::CheckBox7: return &s.SE[0];
    case C::CheckBox8: return &s.SE[1];
    case C::CheckBox10: return &s.SE[3];
    case C::CheckBox11: return &s.SE[4];
    case C::CheckBox12: return &s.CV_THROUGH;
    case C::CheckBox5: return &s.FONTBold;
    case C::CSpinEdit1: return &s.FONTSIZE;
    case C::RadioGroup7: return &s.FONTAA;
    case C::TrackBar5: return &s.TXBG_R;
    case C::TrackBar6: return &s.TXBG_G;
    case C::TrackBar7: return &s.TXBG_B;
    case C::TrackBar8: return &s.TXBG_A;
    case C::TrackBar9: return &s.TXBG_A2;
    default: return nullptr;
  }
}

bool IsTextBackground(C control) { return control >= C::TrackBar5 && control <= C::TrackBar9 && control != C::Button3; }

// Track bars of the text background run from -255 to 0: the setting is minus the position.
int TextBackgroundPosition(int value) { return std::clamp(-value, kTextBackgroundMin, 0); }

// Device volume and slider units: slider × 2.5 and volume × 0.4, both truncated toward zero.
int SliderToVolume(int slider) { return slider * 5 / 2; }
int VolumeToSlider(int volume) { return volume * 2 / 5; }

}  // namespace

const std::string_view kLicenceNotice =
    "Ogg Vorbis\n"
    "Copyright (c) 2002-2020, Xiph.org Foundation\n"
    "\n"
    "Redistribution and use in source and binary forms, with or without modification, are permitted "
    "provided that the following conditions are met:\n"
    "- Redistributions of source code must retain the above copyright notice, this list of conditions "
    "and the following disclaimer.\n"
    "- Redistributions in binary form must reproduce the above copyright notice, this list of "
    "conditions and the following disclaimer in the documentation and/or other materials provided "
    "with the distribution.\n"
    "- Neither the name of the Xiph.org Foundation nor the names of its contributors may be used to "
    "endorse or promote products derived from this software without specific prior written "
    "permission.\n"
    "\n"
    "THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS ``AS IS'' AND ANY EXPRESS OR "
    "IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE IMPLIED WARRANTIES OF MERCHANTABILITY AND "
    "FITNESS FOR A PARTICULAR PURPOSE ARE DISCLAIMED. IN NO EVENT SHALL THE FOUNDATION OR CONTRIBUTORS "
    "BE LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL DAMAGES "
    "(INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES; LOSS OF USE, DATA, OR "
    "PROFITS; OR BUSINESS INTERRUPTION) HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN "
    "CONTRACT, STRICT LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY OUT OF "
    "THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE.";

const std::array<SettingsControlInfo, kSettingsControlCount>& SettingsControls() { return kControls; }

const SettingsControlInfo& InfoOf(SettingsControl control) { return kControls[static_cast<size_t>(control)]; }

const SettingsControlInfo* FindSettingsControl(std::string_view name) {
  for (const SettingsControlInfo& info : kControls) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

SettingsDialogModel::SettingsDialogModel(TForm1& engine) : engine_(engine) { values_.fill(0); }

void SettingsDialogModel::Fill() {
  fillingControls_ = true;
  PlayerSettings& s = engine_.settings;
  for (const SettingsControlInfo& info : kControls) {
    int& value = values_[static_cast<size_t>(info.id)];
    const std::string_view setting = SettingName(info.id);
    const int* engineValue = EngineValue(s, info.id);
    switch (info.kind) {
      case K::Radio:
      case K::Check: {
        // The display settings show the window's own choices when nothing is stored.
        const bool zeroDefault = info.id == C::RadioGroup6 || info.id == C::RadioGroup4 || info.id == C::RadioGroup5;
        const int stored = engine_.ReadSetting(setting, zeroDefault || !engineValue ? 0 : *engineValue);
        value = info.kind == K::Check ? (stored != 0 ? 1 : 0) : stored;
        break;
      }
      case K::Track:
        if (info.id == C::TrackBar1) {
          value = VolumeToSlider(engine_.sound.masterVolume);
        } else if (IsTextBackground(info.id)) {
          value = TextBackgroundPosition(*engineValue);
        } else {
          value = engine_.ReadSetting(setting, VolumeToSlider(SliderToVolume(*engineValue)));
        }
        value = std::clamp(value, info.minimum, info.maximum);
        break;
      case K::Spin: value = std::clamp(engine_.ReadSetting(setting, *engineValue), info.minimum, info.maximum); break;
      case K::Combo:
      case K::Button: value = 0; break;
    }
  }

  faceText_ = SjisToUtf8(s.FontName);
  faceBytes_ = JapaneseFaceNames();
  faces_.clear();
  int& face = values_[static_cast<size_t>(C::ComboBox1)];
  face = -1;
  for (size_t i = 0; i < faceBytes_.size(); ++i) {
    faces_.push_back(SjisToUtf8(faceBytes_[i]));
    if (faceBytes_[i] == s.FontName) face = static_cast<int>(i);
  }
  engine_.dialogs.textSettingsChanged = false;
  fillingControls_ = false;
}

bool SettingsDialogModel::Visible(SettingsControl control) const {
  // Only a game with configuration pictures has a configuration screen to leave out.
  if (control == C::CheckBox17) return !engine_.config.CFG_GRA[0].empty();
  return true;
}

int SettingsDialogModel::Minimum(SettingsControl control) const {
  const SettingsControlInfo& info = InfoOf(control);
  return info.kind == K::Combo ? 0 : info.minimum;
}

int SettingsDialogModel::Maximum(SettingsControl control) const {
  const SettingsControlInfo& info = InfoOf(control);
  return info.kind == K::Combo ? static_cast<int>(faces_.size()) - 1 : info.maximum;
}

std::array<uint8_t, 3> SettingsDialogModel::Swatch() const {
  const PlayerSettings& s = engine_.settings;
  auto byte = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
  return {byte(s.TXBG_R), byte(s.TXBG_G), byte(s.TXBG_B)};
}

void SettingsDialogModel::Store(std::string_view name, int value) { engine_.WriteSetting(name, value); }

void SettingsDialogModel::TextChanged() { engine_.dialogs.textSettingsChanged = true; }

void SettingsDialogModel::Change(SettingsControl control, int value) {
  if (fillingControls_ || !Visible(control)) return;
  const SettingsControlInfo& info = InfoOf(control);
  if (info.kind == K::Button) return;
  if (info.kind == K::Combo && faces_.empty()) return;
  value = std::clamp(value, Minimum(control), Maximum(control));
  int& current = values_[static_cast<size_t>(control)];
  if (current == value) return;
  current = value;

  PlayerSettings& s = engine_.settings;
  const std::string_view setting = SettingName(control);
  int* engineValue = EngineValue(s, control);
  switch (control) {
    case C::RadioGroup5:
      // The text speed reaches the engine in the apply step.
      Store(setting, value);
      return;
    case C::TrackBar1:
      engine_.sound.masterVolume = SliderToVolume(value);
      engine_.ApplyVolumes();
      return;
    case C::TrackBar2:
    case C::TrackBar3:
    case C::TrackBar4:
      Store(setting, value);
      *engineValue = value;  // the engine's volume is the slider × 2.5
      engine_.ApplyVolumes();
      return;
    case C::ComboBox1:
      s.FontName = faceBytes_[static_cast<size_t>(value)];
      engine_.WriteSetting("FontName", s.FontName);
      engine_.ResetGlyphCache();
      TextChanged();
      return;
    case C::CheckBox5:
    case C::CSpinEdit1:
    case C::RadioGroup7:
      *engineValue = value;
      Store(setting, value);
      engine_.ResetGlyphCache();
      TextChanged();
      return;
    default: break;
  }
  if (IsTextBackground(control)) {
    *engineValue = -value;
    Store(setting, -value);
    TextChanged();
    return;
  }
  *engineValue = value;
  Store(setting, value);
  if (control == C::CheckBox13) engine_.RestartMusic();
}

void SettingsDialogModel::Press(SettingsControl control) {
  if (fillingControls_) return;
  if (control == C::Button1) {
    engine_.PlaySoundByName(kSampleVoice, 0);
    return;
  }
  if (control != C::Button3) return;
  // The window's colour and opacity as the game configures them; the full-screen darkening stays.
  const GameConfig& config = engine_.config;
  PlayerSettings& s = engine_.settings;
  const std::pair<C, int> defaults[] = {{C::TrackBar5, config.TXW_COLOR_R},
                                        {C::TrackBar6, config.TXW_COLOR_G},
                                        {C::TrackBar7, config.TXW_COLOR_B},
                                        {C::TrackBar8, config.TXW_ALPHA}};
  for (const auto& [bar, value] : defaults) {
    *EngineValue(s, bar) = value;
    Store(SettingName(bar), value);
    values_[static_cast<size_t>(bar)] = TextBackgroundPosition(value);
  }
  TextChanged();
}

void TForm1::ShowSettingsDialog() {
  SettingsDialogModel model(*this);
  model.Fill();
  host.ShowSettingsDialog(model);
}

void TForm1::ApplySettingsDialog() {
  if (dialogs.textSettingsChanged) {
    dialogs.textSettingsChanged = false;
    BuildWindowFrame();
    textWindow.cacheValid = false;
    ComposeWindow();
    ResetGlyphCache();
    if (ctl.screenMode == smScenario && ctl.choiceMode == 0) {
      ComposeScene();
      ComposeScreen();
      PBPaint();
    }
  }
  settings.Delay = ReadSetting("Delay", settings.Delay);
  text.perCharDisplay = settings.Delay == 0;

  const int shown = FullScreenShown() ? 1 : 0;
  if (settings.SMode == shown) return;
  ctl.blockingScene = true;
  if (FullScreenShown()) {
    host.Sleep(kFullScreenPauseMs);
    host.PumpMessages();
    LeaveFullScreen();
  }
  if (settings.SMode != 0) {
    EnterFullScreen();
    host.Sleep(kFullScreenPauseMs);
    host.PumpMessages();
  }
  ctl.blockingScene = false;
}

}  // namespace torvel
