// The player settings store.
#include "shell/engine.h"

namespace torvel {

void TForm1::ReadSettings() {}

}  // namespace torvel
