// Showing a change of the screen buffer. Every transition is a cut for now: the screen buffer
// replaces the window's picture at once.
#include "shell/engine.h"

namespace torvel {

void TForm1::RunTransition(int) { host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight}); }

}  // namespace torvel
