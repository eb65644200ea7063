// The special scenes as input reaches them. Empty until those scenes land.
#include "shell/engine.h"

namespace torvel {

void TForm1::CgViewerHover(int, int) {}

void TForm1::CgViewerClick(MouseButton, int, int) {}

void TForm1::RecollectionHover(int, int) {}

void TForm1::RecollectionClick(MouseButton, int, int) {}

void TForm1::RecollectionMouseUp(int, int) {}

}  // namespace torvel
