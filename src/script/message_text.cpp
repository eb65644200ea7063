// Message text: text lines, speaker lines, click waits. The page, typing, line breaking and
// the backlog come with the glyphs and the text window; until then a text line is taken whole.
#include "shell/engine.h"

namespace torvel {

bool TForm1::ShowTextLine() {
  script.needLine = true;
  script.linePos = static_cast<int>(script.lineBuffer.size());
  ++text.cursorRow;
  text.cursorColumn = 0;
  return !ctl.skipActive;
}

void TForm1::NewTextRow() {
  ++text.cursorRow;
  text.cursorColumn = 0;
}

void TForm1::ClearPage() {
  text.cursorRow = 0;
  text.cursorColumn = 0;
  vars.S(38) = 0;
}

void TForm1::SetSpeaker(std::string_view) {}

void TForm1::BeginClickWait(int kind) {
  ctl.waitKind = kind;
  text.instantText = false;
  script.needLine = true;
  if (kind == 2) vars.S(39) = 1;
}

void TForm1::ResolveClickWait() {
  if (ctl.waitKind == 1 || ctl.waitKind == 4 || ctl.waitKind == 5) {
    text.cursorRow = 0;
    text.cursorColumn = 0;
  }
  ctl.waitKind = 0;
}

void TForm1::AnimateClickWaitIcon() {}

}  // namespace torvel
