// Blocks and choices: `select`, `switch` and `cjmp`. Empty until choices land.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdSelect(std::string_view) { return 1; }

int TForm1::CmdSwitch(std::string_view) { return 1; }

int TForm1::CmdCjmp(std::string_view) { return 0; }

}  // namespace torvel
