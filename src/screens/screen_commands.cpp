// Player screen commands.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdConfig(std::string_view) {
  OpenConfigScreen();
  return 1;
}

}  // namespace torvel
