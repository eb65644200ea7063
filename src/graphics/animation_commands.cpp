// Animation playback commands. Empty until animations land.
#include "shell/engine.h"

namespace torvel {

// The argument starts after "anim " or, for "animq", after "animq ".
int TForm1::CmdAnim(std::string_view) { return 1; }

}  // namespace torvel
