// Input handlers of the window and the picture: mouse, wheel and keyboard.
#include "shell/engine.h"

namespace torvel {

void TForm1::PBMouseMove(ShiftState, int, int) {}

void TForm1::PBMouseDown(MouseButton button, ShiftState, int, int) {
  if (ctl.interruptibleWait) {
    ctl.interruptRequest = 1;
    return;
  }
  if (ctl.blockingScene) return;
  if (ctl.screenMode != smScenario) return;
  if (ctl.sleepTicks != 0) {
    ctl.sleepTicks = 0;
    vars.S(19) = 1;
    return;
  }
  if (button == MouseButton::Left && ctl.choiceMode == 0) ResolveClickWait();
  ctl.clickDebounce = 5;
}

void TForm1::PBMouseUp(MouseButton, ShiftState, int, int) {}

bool TForm1::FormMouseWheel(ShiftState, int) { return false; }

void TForm1::FormKeyDown(int&, ShiftState) {}

void TForm1::FormKeyUp(int&, ShiftState) {}

void TForm1::FormKeyPress(char&) {}

}  // namespace torvel
