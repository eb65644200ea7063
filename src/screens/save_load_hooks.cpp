// Quick save and the save/load screen as input reaches them.
#include "shell/engine.h"

namespace torvel {

void TForm1::QuickSave() {
  // The comment goes into the same write as the rest of the slot.
  SaveSlot(kQuickSaveSlot, false, "Quick Save");
}

void TForm1::SaveLoadHover(int, int) {}

void TForm1::SaveLoadClick(MouseButton, int, int) {}

void TForm1::SaveLoadMouseUp(int, int) {}

}  // namespace torvel
