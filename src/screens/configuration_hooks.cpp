// The configuration screen as input reaches it. A game without configuration pictures, or a
// player who asked for it, gets the settings dialog instead; the in-picture screen is empty until
// the configuration screen lands.
#include "shell/engine.h"

namespace torvel {

// The main menu's 設定 and the "C" key.
void TForm1::OpenConfiguration() {
  if (ctl.blockingScene) return;
  StopSkipAndAuto(true);
  OpenConfigScreen();
}

void TForm1::OpenConfigScreen() {
  // Without both pictures there is no screen to show: the dialog stands in for the rest of the run.
  if (config.CFG_GRA[0].empty() || config.CFG_GRA[1].empty()) settings.CONFIG_MODE = 1;
  if (settings.CONFIG_MODE == 0) return;
  PlayVoiceLine("SSE07");
  ctl.blockingScene = true;
  ctl.scriptRunning = false;
  SetMenuLock(true);
  ShowSettingsDialog();
  ApplySettingsDialog();
  SetMenuLock(false);
  ctl.scriptRunning = true;
  ctl.blockingScene = false;
}

void TForm1::ConfigurationHover(int, int) {}

void TForm1::ConfigurationClick(MouseButton, int, int) {}

void TForm1::ConfigurationMouseUp(int, int) {}

}  // namespace torvel
