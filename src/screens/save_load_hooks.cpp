// Quick save and the save/load screen as input reaches them. Empty until saving lands.
#include "shell/engine.h"

namespace torvel {

void TForm1::QuickSave() {}

void TForm1::SaveLoadHover(int, int) {}

void TForm1::SaveLoadClick(MouseButton, int, int) {}

void TForm1::SaveLoadMouseUp(int, int) {}

}  // namespace torvel
