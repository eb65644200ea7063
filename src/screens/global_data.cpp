// The global data files beside the game: the persistent flags and read marks, and the
// recollection play lists.
#include "shell/engine.h"

namespace torvel {

void TForm1::LoadGlobalData() {}

void TForm1::SaveGlobalData(int) {}

}  // namespace torvel
