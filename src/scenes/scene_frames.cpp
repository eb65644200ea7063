// Per-frame and per-tick work of the special scenes that take over the frame loop.
#include "shell/engine.h"

namespace torvel {

// The frame and the timer tick of a staff roll run the slide fade and refresh the window.
void TForm1::StaffRollFrame() { SlideRollFadeStep(); }

void TForm1::StaffRollTick() { SlideRollFadeStep(); }

}  // namespace torvel
