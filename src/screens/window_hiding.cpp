// Hiding the message window: the bare scene until the next click or "W".
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kVarViewsEnabled = 28;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};
}  // namespace

void TForm1::HideWindow() {
  if (vars.S(kVarViewsEnabled) == 0 || ctl.screenMode != smScenario) return;
  SetMenuLock(true);
  backlogViews.hiddenWindowScreen = layers.screen;
  host.Present(layers.scene, kWholeScreen);
  ctl.screenMode = smWindowHidden;
}

void TForm1::ShowWindowAgain() {
  if (ctl.screenMode != smWindowHidden) return;
  Bitmap& kept = backlogViews.hiddenWindowScreen;
  if (!kept.Empty()) host.Present(kept, kWholeScreen);
  kept = Bitmap();
  ctl.screenMode = smScenario;
  DrawQuickButtons(1);
  SetMenuLock(false);
}

}  // namespace torvel
