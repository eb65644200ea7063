// Player screen commands and the screen operations other subsystems call. Empty until the
// screens land.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdConfig(std::string_view) {
  OpenConfigScreen();
  return 1;
}

void TForm1::RedrawQuickButtons() {}

}  // namespace torvel
