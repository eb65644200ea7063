// Per-frame and per-tick work of the player screens that take over the frame loop.
#include "shell/engine.h"

namespace torvel {

void TForm1::SaveLoadScreenFrame() {}

void TForm1::BacklogFrame() {}

void TForm1::QuickButtonHoverTick() {}

}  // namespace torvel
