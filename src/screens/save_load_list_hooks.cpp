// The save and load list window, used instead of the in-game screen when the game has no
// background for it. Empty until the list window lands.
#include "shell/engine.h"

namespace torvel {

void TForm1::ShowSaveLoadList(int) {}

}  // namespace torvel
