// The configuration screen: opening with its squeeze, the drawing of the settings in force, and
// closing, which puts the game's picture back and stores the settings.
#include <algorithm>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "screens/config_layout.h"
#include "screens/config_squeeze.h"
#include "shell/engine.h"

namespace torvel {

namespace {

namespace k = config_code;

constexpr int kSqueezeStep = 32;     // rows the squeeze moves per frame
constexpr int kSqueezeFrameMs = 10;  // the frame pacer's period for the squeeze
constexpr int kDisplaySwitchPauseMs = 100;

// Copies the rectangle of `from` to the same place of `to`, clipped to both.
void CopySame(const Bitmap& from, const Rect& r, Bitmap& to) {
  if (r.Empty()) return;
  CopyRegion(from, r.left, r.top, to, r.left, r.top, r.Width(), r.Height());
}

}  // namespace

void TForm1::OpenConfigScreen() {
  PlayVoiceLine("SSE07");
  ctl.blockingScene = true;
  ctl.scriptRunning = false;
  SetMenuLock(true);
  // Without both pictures there is no screen to show: the dialog stands in for the rest of the run.
  if (config.CFG_GRA[0].empty() || config.CFG_GRA[1].empty()) settings.CONFIG_MODE = 1;
  // A named picture that does not load stands in the same way, this time only.
  if (settings.CONFIG_MODE != 0 || !LoadConfigPictures()) {
    configScreen = ConfigScreen{};
    ShowSettingsDialog();
    ApplySettingsDialog();
    SetMenuLock(false);
    ctl.scriptRunning = true;
    ctl.blockingScene = false;
    return;
  }
  ctl.blockingScene = false;
  configScreen.savedScreen = layers.screen;
  configScreen.hover = 0;
  configScreen.drag = 0;
  ctl.configScreenOpen = true;
  if (config.CFG_AUTO[0] != 0) configScreen.autoKnobOffset = AutoKnobOffsetForSpeed(config, vars.S(27));
  configScreen.source = layers.screen;
  DrawConfigScreen();

  StartFrameClock();
  ctl.blockingScene = true;
  for (int v = kSqueezeStep; v < kScreenHeight; v += kSqueezeStep * PaceFrame(kSqueezeFrameMs)) ShowConfigSqueeze(v);
  ctl.blockingScene = false;
  ShowConfigScreen();
}

bool TForm1::LoadConfigPictures() {
  ConfigScreen& s = configScreen;
  s.normal = Bitmap{};
  s.highlighted = Bitmap{};
  s.volumeKnob = Bitmap{};
  s.autoKnob = Bitmap{};
  if (!LoadImage(config.CFG_GRA[0], s.normal) || !LoadImage(config.CFG_GRA[1], s.highlighted)) return false;
  // A knob that does not load is not drawn; its slider still works.
  if (!config.CFG_VOL_KNOB.empty() && !LoadImage(config.CFG_VOL_KNOB, s.volumeKnob)) s.volumeKnob = Bitmap{};
  if (!config.CFG_AUTO_KNOB.empty() && !LoadImage(config.CFG_AUTO_KNOB, s.autoKnob)) s.autoKnob = Bitmap{};
  return true;
}

void TForm1::DrawConfigScreen() {
  const ConfigScreen& s = configScreen;
  Bitmap& screen = layers.screen;
  // A picture of another size sits at the top left on black.
  if (s.normal.width != screen.width || s.normal.height != screen.height) screen.Fill(0, 0, 0);
  CopyRegion(s.normal, 0, 0, screen, 0, 0, s.normal.width, s.normal.height);

  auto lit = [&](int code) { CopySame(s.highlighted, ConfigControlRect(config, code), screen); };
  lit(settings.SMode != 0 ? k::kFullScreen : k::kWindow);
  lit(settings.GMode != 0 ? k::kTransitionsCut : k::kTransitionsNormal);
  lit(settings.Delay == 0 ? k::kTextPerChar : k::kTextWhole);
  lit(settings.Seen != 0 ? k::kSkipStops : k::kSkipGoesOn);
  lit(settings.WHEEL_MODE != 0 ? k::kWheelBacklog : k::kWheelPageBack);

  const int knobWidth = s.volumeKnob.width / 2;
  for (int bar = 0; bar < 4; ++bar) {
    const Rect r = ConfigControlRect(config, k::kFirstVolumeBar + bar);
    if (!config.volumeBarGiven[static_cast<size_t>(bar)] || s.volumeKnob.Empty()) continue;
    const int x = VolumeKnobX(r.left, config.CFG_VOL_BAR[0], knobWidth, ConfigEngineVolume(bar));
    DrawSideBySide(screen, x, s.volumeKnob, r.top);
  }

  if (vars.S(27) < 1) vars.S(27) = 1;
  if (config.CFG_AUTO[0] != 0 && !s.autoKnob.Empty()) {
    const Rect track = ConfigControlRect(config, k::kAutoTrack);
    DrawSideBySide(screen, track.left + s.autoKnobOffset, s.autoKnob, track.top);
  }

  if (config.CFG_RIGHT_CLICK[0] != 0 && settings.RC_MODE >= 0 && settings.RC_MODE < 5) {
    lit(k::kFirstRightClick + settings.RC_MODE);
  }
  // Cells whose x is 0 are cells the game left out.
  auto litCell = [&](int code, bool on) {
    if (on && ConfigControlRect(config, code).left != 0) lit(code);
  };
  for (int c = 0; c < kSoundEffectCategories; ++c) {
    litCell(k::kFirstEffectCategory + c, settings.SE[static_cast<size_t>(c)] != 0);
  }
  litCell(k::kFirstVoice, settings.CV1 != 0);
  litCell(k::kFirstVoice + 1, settings.CV2 != 0);
  litCell(k::kFirstSound, settings.BGM_ENA != 0);
  litCell(k::kFirstSound + 1, settings.CV1 != 0);
  litCell(k::kFirstSound + 2, settings.SE_ENA != 0);
  litCell(k::kFirstSound + 3, settings.CV2 != 0);
  if (config.CFG_SHASEL_SIZE[0] != 0) {
    for (int row = 0; row < 3; ++row) {
      const int chosen = vars.V(200 + row);
      if (chosen >= 0 && chosen < 3) lit(k::kFirstPreset + 3 * row + chosen);
    }
  }
}

void TForm1::ShowConfigScreen() { host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight}); }

void TForm1::ShowConfigSqueeze(int v) {
  if (layers.work.width != kScreenWidth || layers.work.height != kScreenHeight)
    layers.work.Resize(kScreenWidth, kScreenHeight);
  SqueezeRows(layers.screen, configScreen.source, v, layers.work);
  host.Present(layers.work, Rect{0, 0, kScreenWidth, kScreenHeight});
}

void TForm1::CloseConfigScreen() {
  ConfigScreen& s = configScreen;
  ctl.blockingScene = true;
  StartFrameClock();
  for (int v = kScreenHeight - kSqueezeStep; v > 0; v -= kSqueezeStep * PaceFrame(kSqueezeFrameMs))
    ShowConfigSqueeze(v);

  layers.screen = s.savedScreen;
  s.savedScreen = s.normal = s.highlighted = s.volumeKnob = s.autoKnob = Bitmap{};
  s.hover = 0;
  s.drag = 0;
  ctl.configScreenOpen = false;

  WriteConfigSettings();
  const int shown = FullScreenShown() ? 1 : 0;
  if (settings.SMode != shown) {
    WriteSetting("SMode", settings.SMode);
    if (FullScreenShown()) {
      host.Sleep(kDisplaySwitchPauseMs);
      host.PumpMessages();
      LeaveFullScreen();
    }
    if (settings.SMode != 0) {
      EnterFullScreen();
      host.Sleep(kDisplaySwitchPauseMs);
      host.PumpMessages();
    }
  }

  ctl.blockingScene = false;
  SetMenuLock(false);
  s.source = Bitmap{};
  ShowConfigScreen();
}

}  // namespace torvel
