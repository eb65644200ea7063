// The quick buttons as input reaches them. Empty until the quick buttons land.
#include "shell/engine.h"

namespace torvel {

void TForm1::QuickButtonHover(int, int) {}

bool TForm1::QuickButtonClick() { return false; }

}  // namespace torvel
