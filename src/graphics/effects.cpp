// Screen effects and the looping background animation.
#include "shell/engine.h"

namespace torvel {

void TForm1::UpdateEffects() {}

void TForm1::BackgroundAnimationFrame() {}

}  // namespace torvel
