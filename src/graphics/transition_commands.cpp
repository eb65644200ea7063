// Transition commands: the wipe pattern. Empty until the transitions land.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdWipeset(std::string_view) { return 1; }

}  // namespace torvel
