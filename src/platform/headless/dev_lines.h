#pragma once
// The developer controls as the headless host's `dev` lines play them.
#include <ostream>

#include "platform/headless/input_script.h"

namespace torvel {

class TForm1;

// Plays one `dev` line on `engine`; a line that cannot act now is noted on `notes`.
void RunDevLine(TForm1& engine, const InputEvent& e, std::ostream& notes);

}  // namespace torvel
