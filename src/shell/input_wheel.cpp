// The mouse wheel: the backlog, the page history and answering the message wait.
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kVarBacklogButton = 65;  // the pressed look of the backlog quick button
constexpr int kButtonPressed = 2;
constexpr int kButtonShown = 1;
}  // namespace

bool TForm1::FormMouseWheel(ShiftState, int delta) {
  if (input.wheelBusy || ctl.configScreenOpen || delta == 0) return false;
  if (ctl.backlogOpen) {
    ScrollBacklog(delta);
    return true;
  }
  if (ctl.dialogOpen != 0 || ctl.blockingScene || BackgroundAnimationRunning()) return false;
  input.wheelBusy = true;
  const bool away = delta > 0;
  if (ctl.screenMode == smPageBack) {
    if (away)
      PageHistoryOlder();
    else
      PageHistoryNewer();
  } else if (ctl.screenMode == smScenario && ctl.saveLoadScreen == 0 && ctl.choiceMode == 0) {
    if (away) {
      if (settings.WHEEL_MODE != 0) {
        vars.S(kVarBacklogButton) = kButtonPressed;
        DrawQuickButtons(1);
        OpenBacklog();
        vars.S(kVarBacklogButton) = kButtonShown;
      } else {
        OpenPageHistory();
      }
    } else {
      if (settings.CV_THROUGH == 0) StopVoice();
      ResolveClickWait();
    }
  }
  input.wheelBusy = false;
  return true;
}

}  // namespace torvel
