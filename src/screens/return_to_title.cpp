// Returning to the title: the story ends and "STITLE" runs from its first line, with the
// variables and flags as they are.
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kVarWindowPosition = 79;
constexpr int kVarShowDayPanel = 4;
constexpr int kVarOverlayShown = 35;
constexpr int kChoiceModeWindow = 1;
constexpr int kChoiceModeTree = 6;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};
}  // namespace

void TForm1::ReturnToTitle() {
  vars.S(kVarWindowPosition) = 0;
  ToggleWindowPosition(false);
  StopBackgroundAnimation();
  vars.S(kVarShowDayPanel) = 0;
  SetMusic(0);
  vars.S(kVarRecordMode) = 1;
  vars.S(kVarRecordCount) = vars.S(kVarRecordPosition);
  vars.S(kVarOverlayShown) = 0;

  if (ctl.screenMode == smTitleMap) CloseTitleMap();
  if (ctl.choiceMode == kChoiceModeTree) CloseSelectionTree();

  // The replay entries go away with the replay; the menus follow.
  script.replayMode = 0;
  UpdateMenus();

  ctl.dialogOpen = 0;
  if (ctl.choiceMode == kChoiceModeWindow) {
    // The list comes off the picture it was drawn over.
    layers.screen = layers.previous;
    host.Present(layers.screen, kWholeScreen);
    choices.hoveredChoice = 0;
    ctl.choiceMode = 0;
  }

  CloseWindow();
  script.callDepth = 0;
  WaitReset();
  ctl.sleepTicks = 0;
  ctl.voiceWait = false;
  script.currentScript = "STITLE";
  if (!LoadScript("STITLE", 1)) {
    // A game without a title script starts again from `main`; with neither there is nothing left
    // to run, rather than the old script going on at its old place.
    script.currentScript = "main";
    if (!LoadScript("main", 1)) {
      script.pc = script.scenarioSize;
      script.needLine = true;
      ctl.scriptRunning = false;
    }
  }
  ctl.choiceMode = 0;
  ctl.waitKind = 0;
  ctl.saveLoadScreen = 0;
  ctl.screenMode = smScenario;
}

}  // namespace torvel
