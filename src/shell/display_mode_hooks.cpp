// The display modes as input reaches them. Empty until full-screen display lands.
#include "shell/engine.h"

namespace torvel {

bool TForm1::FullScreenShown() const { return false; }

void TForm1::LeaveFullScreen() {}

void TForm1::ShowToolBarPanel(bool) {}

void TForm1::EnterFullScreen() {}

}  // namespace torvel
