// The right-click action, the panic screen and the question dialog as input reaches them. Empty
// until the system menu and its dialog land.
#include "shell/engine.h"

namespace torvel {

void TForm1::RightClickAction() {}

bool TForm1::PanicShown() const { return false; }

void TForm1::EndPanic() {}

void TForm1::CloseRightClickMenu() {}

void TForm1::DialogHover(int, int) {}

void TForm1::DialogClick(MouseButton, int, int) {}

}  // namespace torvel
