// The notification banner shown after a save and before a load.
#include <algorithm>

#include "shell/engine.h"

namespace torvel {

void TForm1::ShowBanner(std::string_view text, int ms) {
  saves.lastBanner = std::string(text);
  // The player waits while the banner is up, as for any blocking scene: input is held back and
  // the timer goes on.
  const bool wasBlocking = ctl.blockingScene;
  ctl.blockingScene = true;
  WaitUntil(host.TickCount() + static_cast<uint32_t>(std::max(ms, 0)));
  ctl.blockingScene = wasBlocking;
}

}  // namespace torvel
