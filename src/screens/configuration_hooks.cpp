// The configuration screen as input reaches it. Empty until the configuration screen lands.
#include "shell/engine.h"

namespace torvel {

void TForm1::OpenConfiguration() {}

void TForm1::ConfigurationHover(int, int) {}

void TForm1::ConfigurationClick(MouseButton, int, int) {}

void TForm1::ConfigurationMouseUp(int, int) {}

}  // namespace torvel
