// The page: cleared for every new page, and the empty window shown again.
#include "shell/engine.h"

namespace torvel {

void TForm1::ClearPage() {
  text.cursorCol = 0;
  text.cursorRow = 0;
  textWindow.page.Clear();
  text.largeText = false;
  text.colourIndex = 0;
  text.charsSinceWait = 0;
  vars.S(38) = 0;
}

void TForm1::NewPage() {
  ClearPage();
  vars.S(kVarTextColour) = 0xFFFFFF;
  SetTextColour(0);
  if (!text.windowShown) {
    OpenWindow();
    return;
  }
  EraseTextArea();
  if (vars.S(kVarDisplayMode) == 0) text.speakerName.clear();
}

}  // namespace torvel
