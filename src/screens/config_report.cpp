// The configuration screen and the player settings in the state report.
#include <string>

#include "shell/engine.h"
#include "shell/json_text.h"

namespace torvel {

void TForm1::AppendConfigState(std::string& out) const {
  const ConfigScreen& c = configScreen;
  out += ",\"config\":{\"open\":";
  out += ctl.configScreenOpen ? "true" : "false";
  out += ",\"hover\":" + std::to_string(c.hover);
  out += ",\"drag\":" + std::to_string(c.drag);
  out += ",\"autoKnobOffset\":" + std::to_string(c.autoKnobOffset) + "}";

  const PlayerSettings& s = settings;
  out += ",\"settings\":{";
  bool first = true;
  auto number = [&](const char* name, int value) {
    out += first ? "\"" : ",\"";
    first = false;
    out += name;
    out += "\":" + std::to_string(value);
  };
  auto text = [&](const char* name, const std::string& sjis) {
    out += ",\"";
    out += name;
    out += "\":";
    AppendJsonSjis(out, sjis);
  };
  number("Left", s.Left);
  number("Top", s.Top);
  number("BGM_ENA", s.BGM_ENA);
  number("SE_ENA", s.SE_ENA);
  number("Delay", s.Delay);
  number("GMode", s.GMode);
  number("SMode", s.SMode);
  number("Clear", s.Clear);
  number("Seen", s.Seen);
  number("BreakonSelect", s.BreakonSelect);
  number("MemorySaveMode", s.MemorySaveMode);
  text("FontName", s.FontName);
  number("DirectSoundGlobal", s.DirectSoundGlobal);
  number("AnimQuality", s.AnimQuality);
  number("RC_MODE", s.RC_MODE);
  number("WHEEL_MODE", s.WHEEL_MODE);
  number("CS_SWAP", s.CS_SWAP);
  number("EFX_CUT", s.EFX_CUT);
  number("CONFIG_MODE", s.CONFIG_MODE);
  number("DatePanel", s.DatePanel);
  number("TXWStyle", s.TXWStyle);
  number("CV_THROUGH", s.CV_THROUGH);
  number("CV1", s.CV1);
  number("CV2", s.CV2);
  const char* categories[kSoundEffectCategories] = {"SE0", "SE1", "SE2", "SE3", "SE4"};
  for (int k = 0; k < kSoundEffectCategories; ++k) number(categories[k], s.SE[static_cast<size_t>(k)]);
  number("Vol1", s.Vol1);
  number("Vol2", s.Vol2);
  number("Vol3", s.Vol3);
  number("Vol4", s.Vol4);
  number("FONTAA", s.FONTAA);
  number("FONTSIZE", s.FONTSIZE);
  number("FONTBold", s.FONTBold);
  text("PlayerName", s.PlayerName);
  text("PlayerName2", s.PlayerName2);
  text("PlayerName3", s.PlayerName3);
  number("LastSaveSlot", s.LastSaveSlot);
  number("TXBG_R", s.TXBG_R);
  number("TXBG_G", s.TXBG_G);
  number("TXBG_B", s.TXBG_B);
  number("TXBG_A", s.TXBG_A);
  number("TXBG_A2", s.TXBG_A2);
  out += '}';
}

}  // namespace torvel
