// The scene rebuilt from the names the layers keep: after a load, and when the page history
// shows an earlier page or returns to the current one.
#include "shell/engine.h"

namespace torvel {

void TForm1::RebuildScene(int transition) {
  LoadBackground(layers.backgroundName);
  if (vars.S(kVarOverlaySet) != 0) LoadImage(layers.overlayName, layers.overlay);
  // Putting the same sprites back is no change the player sees: the counter stays.
  const int changes = layers.spriteChanges;
  const std::string spec = layers.spriteSpec;
  for (std::string& name : layers.positionNames) name.clear();
  SetSprites(spec);
  layers.spriteChanges = changes;
  if (transition == 0) {
    ComposeScene();
    return;
  }
  PresentScene(transition);
}

}  // namespace torvel
