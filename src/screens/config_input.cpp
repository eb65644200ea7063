// The configuration screen under the mouse: hovering lights the push buttons, a press of any
// button acts on the control found by the last move, and sliders follow the pointer while held.
#include "screens/config_layout.h"
#include "shell/engine.h"

namespace torvel {

namespace {

namespace k = config_code;

constexpr int kDragAutoKnob = 5;

// The push buttons, which alone show a lit look under the pointer.
bool LightsOnHover(int code) {
  return code == k::kDetail || code == k::kClose || code == k::kVoiceTest || code == k::kVolumeDefault ||
         code == k::kDefaults;
}

// A button's area within the picture, so it is copied to the same place it is taken from.
Rect OnPicture(Rect r) {
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, kScreenWidth);
  r.bottom = std::min(r.bottom, kScreenHeight);
  return r;
}

}  // namespace

void TForm1::ConfigurationHover(int x, int y) {
  ConfigScreen& s = configScreen;
  if (s.drag == kDragAutoKnob) {
    s.autoKnobOffset = AutoKnobOffsetAt(config, x);
    vars.S(27) = AutoSpeedForOffset(config, s.autoKnobOffset);
    DrawConfigScreen();
    ShowConfigScreen();
    return;
  }
  if (s.drag >= 1 && s.drag <= 4) {
    const int bar = s.drag - 1;
    const Rect r = ConfigControlRect(config, k::kFirstVolumeBar + bar);
    const int v = SliderValue(r.left, config.CFG_VOL_BAR[0], s.volumeKnob.width / 2, x);
    if (v == s.lastDragValue) return;
    s.lastDragValue = v;
    SetConfigVolume(bar, v);
    DrawConfigScreen();
    ShowConfigScreen();
    ApplyVolumes();
    return;
  }
  const int code = ConfigControlAt(config, x, y);
  if (code == s.hover) return;
  auto show = [&](const Bitmap& picture, int c) {
    const Rect r = OnPicture(ConfigControlRect(config, c));
    if (!r.Empty()) ShowOnWindow(picture, r, r.left, r.top, false);
  };
  if (LightsOnHover(s.hover)) show(s.normal, s.hover);
  if (LightsOnHover(code)) show(s.highlighted, code);
  s.hover = code;
}

void TForm1::ConfigurationClick(MouseButton, int x, int) {
  // Any button presses; the control is the one the last move found.
  if (configScreen.hover == 0) return;
  ConfigAction(configScreen.hover, x);
}

void TForm1::ConfigurationMouseUp(int, int) {
  ConfigScreen& s = configScreen;
  s.drag = 0;
  if (s.hover == k::kVoiceTest || s.hover == k::kVolumeDefault) {
    const Rect r = OnPicture(ConfigControlRect(config, s.hover));
    if (!r.Empty()) ShowOnWindow(s.highlighted, r, r.left, r.top, false);
  }
}

void TForm1::ConfigAction(int code, int x) {
  ConfigScreen& s = configScreen;
  switch (code) {
    case k::kWindow:
    case k::kFullScreen: settings.SMode = code - k::kWindow; break;
    case k::kTransitionsNormal:
    case k::kTransitionsCut: settings.GMode = code - k::kTransitionsNormal; break;
    case k::kTextPerChar:
    case k::kTextWhole:
      settings.Delay = code - k::kTextPerChar;
      text.perCharDisplay = settings.Delay == 0;
      break;
    case k::kSkipStops:
    case k::kSkipGoesOn: settings.Seen = code == k::kSkipStops ? 1 : 0; break;
    case k::kDetail:
      CloseConfigScreen();
      ShowSettingsDialog();
      ApplySettingsDialog();
      ctl.scriptRunning = true;
      ctl.blockingScene = false;
      return;
    case k::kClose:
      ctl.scriptRunning = true;
      ctl.blockingScene = false;
      CloseConfigScreen();
      return;
    case k::kVoiceTest: PlaySoundByName("SAMPLECV", 0); break;
    case k::kVolumeDefault:
      ResetConfigVolumes();
      ApplyVolumes();
      break;
    case k::kWheelPageBack:
    case k::kWheelBacklog: settings.WHEEL_MODE = code - k::kWheelPageBack; break;
    case k::kAutoTrack:
      s.autoKnobOffset = AutoKnobOffsetAt(config, x);
      vars.S(27) = AutoSpeedForOffset(config, s.autoKnobOffset);
      s.drag = kDragAutoKnob;
      break;
    case k::kFirstSound:
      settings.BGM_ENA = settings.BGM_ENA != 0 ? 0 : 1;
      RestartMusic();
      break;
    case k::kFirstSound + 1:
    case k::kFirstVoice: settings.CV1 = settings.CV1 != 0 ? 0 : 1; break;
    case k::kFirstSound + 2: settings.SE_ENA = settings.SE_ENA != 0 ? 0 : 1; break;
    case k::kFirstSound + 3:
    case k::kFirstVoice + 1: settings.CV2 = settings.CV2 != 0 ? 0 : 1; break;
    case k::kDefaults: RestoreConfigDefaults(); break;
    default:
      if (code >= k::kFirstVolumeBar && code < k::kFirstVolumeBar + 4) {
        const int bar = code - k::kFirstVolumeBar;
        const Rect r = ConfigControlRect(config, code);
        const int v = SliderValue(r.left, config.CFG_VOL_BAR[0], s.volumeKnob.width / 2, x);
        s.lastDragValue = v;
        SetConfigVolume(bar, v);
        ApplyVolumes();
        s.drag = bar + 1;
      } else if (code >= k::kFirstRightClick && code < k::kFirstRightClick + 5) {
        settings.RC_MODE = code - k::kFirstRightClick;
      } else if (code >= k::kFirstEffectCategory && code < k::kFirstEffectCategory + 5) {
        int& on = settings.SE[static_cast<size_t>(code - k::kFirstEffectCategory)];
        on = on != 0 ? 0 : 1;
      } else if (code >= k::kFirstPreset && code < k::kDefaults) {
        const int row = (code - k::kFirstPreset) / 3;
        vars.V(200 + row) = (code - k::kFirstPreset) % 3;
      }
      break;
  }
  DrawConfigScreen();
  ShowConfigScreen();
}

}  // namespace torvel
