// The configuration screen's entry from the main menu and the "C" key.
#include "shell/engine.h"

namespace torvel {

// The main menu's 設定 and the "C" key.
void TForm1::OpenConfiguration() {
  if (ctl.blockingScene) return;
  StopSkipAndAuto(true);
  OpenConfigScreen();
}

}  // namespace torvel
