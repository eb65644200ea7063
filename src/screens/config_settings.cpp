// The settings the configuration screen changes: volumes in the units the sound code keeps them,
// the defaults, and what closing stores.
#include <string>
#include <utility>
#include <vector>

#include "screens/config_layout.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// Slider units to the sound device's, truncated toward zero.
int EngineVolume(int slider) { return static_cast<int>(static_cast<int64_t>(slider) * 5 / 2); }

constexpr int kDefaultAutoSpeed = 5;

}  // namespace

int TForm1::ConfigEngineVolume(int bar) const {
  switch (bar) {
    case 0: return sound.masterVolume;
    case 1: return EngineVolume(settings.Vol1);
    case 2: return EngineVolume(settings.Vol2);
    case 3: return EngineVolume(settings.Vol3);
    default: return 0;
  }
}

// The voice, effect and music volumes keep the slider value itself, so that storing them loses
// nothing; the master volume lives in the device's units.
void TForm1::SetConfigVolume(int bar, int sliderValue) {
  switch (bar) {
    case 0: sound.masterVolume = EngineVolume(sliderValue); break;
    case 1: settings.Vol1 = sliderValue; break;
    case 2: settings.Vol2 = sliderValue; break;
    case 3: settings.Vol3 = sliderValue; break;
    default: break;
  }
}

void TForm1::ResetConfigVolumes() {
  settings.Vol1 = config.VOLUME1;
  settings.Vol2 = config.VOLUME2;
  settings.Vol3 = config.VOLUME3;
}

void TForm1::RestoreConfigDefaults() {
  ResetConfigVolumes();
  ApplyVolumes();
  if (settings.BGM_ENA == 0) {
    settings.BGM_ENA = 1;
    RestartMusic();
  }
  settings.SE_ENA = 1;
  settings.Delay = 0;
  text.perCharDisplay = true;
  settings.GMode = 0;
  settings.SMode = 0;
  settings.Seen = 1;
  settings.BreakonSelect = 1;
  settings.RC_MODE = 0;
  settings.WHEEL_MODE = 0;
  settings.CS_SWAP = 0;
  settings.EFX_CUT = 1;
  settings.CV1 = 1;
  settings.CV2 = 1;
  settings.SE.fill(1);
  for (int n = 200; n <= 202; ++n) vars.V(n) = 0;
  vars.S(27) = kDefaultAutoSpeed;
  if (config.CFG_AUTO[0] != 0) configScreen.autoKnobOffset = AutoKnobOffsetForSpeed(config, vars.S(27));
}

// One write of the whole list, in this order. The master volume, S027, EFX_CUT and V200 … V202
// are not stored here: the script variables travel with the save files.
void TForm1::WriteConfigSettings() {
  const PlayerSettings& s = settings;
  std::vector<std::pair<std::string, std::string>> values = {
      {"GMode", std::to_string(s.GMode)},
      {"SMode", std::to_string(s.SMode)},
      {"Seen", std::to_string(s.Seen)},
      {"Delay", std::to_string(s.Delay != 0 ? 1 : 0)},
      {"BreakonSelect", std::to_string(s.BreakonSelect)},
      {"Vol1", std::to_string(s.Vol1)},
      {"Vol2", std::to_string(s.Vol2)},
      {"Vol3", std::to_string(s.Vol3)},
      {"CV1", std::to_string(s.CV1)},
      {"CV2", std::to_string(s.CV2)},
      {"BGM_ENA", std::to_string(s.BGM_ENA)},
      {"SE_ENA", std::to_string(s.SE_ENA)},
  };
  for (int c = 0; c < kSoundEffectCategories; ++c) {
    values.emplace_back("SE" + std::to_string(c), std::to_string(s.SE[static_cast<size_t>(c)]));
  }
  values.emplace_back("RC_MODE", std::to_string(s.RC_MODE));
  values.emplace_back("WHEEL_MODE", std::to_string(s.WHEEL_MODE));
  values.emplace_back("CS_SWAP", std::to_string(s.CS_SWAP));
  WriteSettings(values);
}

}  // namespace torvel
