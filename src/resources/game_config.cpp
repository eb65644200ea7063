// Reading the game configuration script `_config`.
#include "shell/engine.h"

namespace torvel {

void TForm1::ReadGameConfiguration() {
  if (!LoadScript("_config", 2)) return;
  int pos = 0;
  while (!AuxAtEnd(pos)) {
    std::string line = ReadAuxLine(pos);
    if (line.rfind("TITLE:", 0) == 0) config.TITLE = line.substr(6);
  }
}

}  // namespace torvel
