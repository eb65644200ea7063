// The system pictures kept for the whole run (name plates, window frames, choice bars, icons).
#include "shell/engine.h"

namespace torvel {

void TForm1::LoadSystemPictures() {}

}  // namespace torvel
