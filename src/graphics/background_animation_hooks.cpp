// Whether the background animation runs. Empty until screen effects land.
#include "shell/engine.h"

namespace torvel {

bool TForm1::BackgroundAnimationRunning() const { return false; }

}  // namespace torvel
