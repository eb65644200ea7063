// The screen buffers and layers.
#include "shell/engine.h"

namespace torvel {

void TForm1::CreateScreenBuffers() {
  layers.screen.Resize(kScreenWidth, kScreenHeight);
  layers.scene.Resize(kScreenWidth, kScreenHeight);
  layers.previous.Resize(kScreenWidth, kScreenHeight);
  layers.background.Resize(kScreenWidth, kScreenHeight);
}

}  // namespace torvel
