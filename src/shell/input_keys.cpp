// The keyboard: shortcuts, skip mode while Ctrl is held and auto mode on Shift and Space.
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kVarPlayPhase = 0;
constexpr int kLoadingAllowedPhase = 1;
constexpr int kVarChosenAutoSpeed = 27;
constexpr int kVarSkipShown = 60;
constexpr int kVarAutoShown = 61;
constexpr int kVarBacklogButton = 65;
constexpr int kShownOn = 2;
constexpr int kButtonPressed = 2;
constexpr int kButtonShown = 1;
constexpr int kDefaultAutoSpeed = 4;
constexpr int kChoicePointerInsetX = 57;  // from the bar's right end
constexpr int kChoicePointerInsetY = 31;  // from the bar's top

// With CS_SWAP the skip and auto keys exchange their roles.
int Swapped(int key, int swap) {
  if (swap == 0) return key;
  if (key == vk::Shift) return vk::Control;
  if (key == vk::Control) return vk::Shift;
  return key;
}
}  // namespace

bool TForm1::QuickSaveKeyActs() const {
  return ctl.dialogOpen == 0 && ctl.saveLoadScreen == 0 && !ctl.configScreenOpen && !ctl.backlogOpen &&
         !ctl.interruptibleWait && !ctl.blockingScene && ctl.screenMode == smScenario &&
         !BackgroundAnimationRunning() && SavingAllowed();
}

bool TForm1::LoadKeyActs() const {
  return ctl.dialogOpen == 0 && ctl.saveLoadScreen == 0 && !ctl.configScreenOpen && !ctl.backlogOpen &&
         !ctl.interruptibleWait && !ctl.blockingScene && ctl.screenMode == smScenario &&
         !BackgroundAnimationRunning() && vars.S(kVarPlayPhase) <= kLoadingAllowedPhase;
}

void TForm1::SkipKeyDown() {
  if (ctl.skipActive) {
    StopSkip();
    return;
  }
  vars.S(kVarAutoSpeed) = 0;
  StopSkip();
  StopVoice();
  vars.S(kVarSkipShown) = kShownOn;
  DrawQuickButtons(1);
  ctl.skipActive = true;
}

void TForm1::SkipKeyUp() {
  vars.S(kVarSkipShown) = 0;
  ctl.skipActive = false;
  if (ctl.screenMode == smScenario && ctl.saveLoadScreen == 0 && !ctl.blockingScene) DrawQuickButtons(1);
}

void TForm1::AutoKeyToggle() {
  ctl.skipActive = false;
  vars.S(kVarSkipShown) = 0;
  if (vars.S(kVarChosenAutoSpeed) == 0) vars.S(kVarChosenAutoSpeed) = kDefaultAutoSpeed;
  vars.S(kVarAutoSpeed) = vars.S(kVarAutoSpeed) != 0 ? 0 : vars.S(kVarChosenAutoSpeed);
  DrawQuickButtons(1);
}

void TForm1::SpaceToggleAuto() {
  if (vars.S(kVarAutoSpeed) != 0) {
    vars.S(kVarAutoShown) = 0;
    vars.S(kVarChosenAutoSpeed) = vars.S(kVarAutoSpeed);
    vars.S(kVarAutoSpeed) = 0;
  } else {
    vars.S(kVarAutoShown) = kShownOn;
    int& chosen = vars.S(kVarChosenAutoSpeed);
    if (chosen < 1 || chosen > config.SPD_MAX) chosen = kDefaultAutoSpeed;
    vars.S(kVarAutoSpeed) = chosen;
  }
  vars.S(kVarSkipShown) = 0;
  DrawQuickButtons(1);
}

void TForm1::MoveChoicePointer(int key) {
  const int hovered = choices.hoveredChoice;
  const int count = choices.choiceCount;
  if (count < 1) return;
  int index = 0;
  if (key == vk::Up) {
    index = hovered <= 1 || hovered > count ? 0 : hovered - 2;
  } else {
    index = hovered < 1 || hovered >= count ? count - 1 : hovered;
  }
  const Point origin = input.windowOrigin;
  host.SetCursorPos(Point{origin.x + choices.barX + choices.barWidth - kChoicePointerInsetX,
                          origin.y + choices.listTop + kChoicePointerInsetY + index * config.SELECT_Y_PITCH});
}

void TForm1::FormKeyDown(int& key, ShiftState shift) {
  RefreshWindowOrigin();
  if (key == vk::Tab && shift.alt && FullScreenShown()) {
    LeaveFullScreen();
    return;
  }
  if (ctl.dialogOpen != 0 || ctl.backlogOpen || ctl.interruptibleWait || ctl.blockingScene || ctl.configScreenOpen) {
    return;
  }
  if (ctl.choiceMode == 1) {
    if (key == vk::Up || key == vk::Down) MoveChoicePointer(key);
    return;
  }
  if (ctl.screenMode == smPageBack) {
    if (ctl.choiceMode == 0 && !BackgroundAnimationRunning()) {
      if (key == vk::Left) PageHistoryOlder();
      if (key == vk::Right) PageHistoryNewer();
    }
    return;
  }
  if (ctl.screenMode != smScenario || ctl.saveLoadScreen != 0) return;
  switch (Swapped(key, settings.CS_SWAP)) {
    case vk::Tab: RightClickAction(); break;
    case vk::Shift: AutoKeyToggle(); break;
    case vk::Control: SkipKeyDown(); break;
    case vk::Left:
      if (!BackgroundAnimationRunning() && ctl.choiceMode == 0) OpenPageHistory();
      break;
    default: break;
  }
}

void TForm1::FormKeyUp(int& key, ShiftState) {
  if (ctl.backlogOpen || ctl.configScreenOpen) return;
  if (Swapped(key, settings.CS_SWAP) == vk::Control) SkipKeyUp();
}

void TForm1::FormKeyPress(char& key) {
  if (ctl.dialogOpen != 0 || ctl.saveLoadScreen != 0 || ctl.configScreenOpen) return;
  if (ctl.backlogOpen) {
    if (key == '\b') CloseBacklog();
    return;
  }
  RefreshWindowOrigin();
  // While the panic screen shows only the keys that click end it.
  if (PanicShown() && key != '\r' && key != 'Z' && key != 'z' && key != 'X' && key != 'x') return;
  if (PanicShown() && (key == 'X' || key == 'x')) {
    PBMouseDown(MouseButton::Right, ShiftState{}, input.lastMouseX, input.lastMouseY);
    return;
  }
  switch (key) {
    case '\r':
    case 'Z':
    case 'z':
      PBMouseDown(MouseButton::Left, ShiftState{}, input.lastMouseX, input.lastMouseY);
      PBMouseUp(MouseButton::Left, ShiftState{}, input.lastMouseX, input.lastMouseY);
      return;
    case 'V':
    case 'v': PlayVoiceLine(sound.lastVoice); return;
    default: break;
  }
  if (ctl.interruptibleWait || ctl.blockingScene) return;
  const bool storyScreen = ctl.screenMode == smScenario && !BackgroundAnimationRunning();
  switch (key) {
    case '\b':
      if (storyScreen) {
        vars.S(kVarBacklogButton) = kButtonPressed;
        DrawQuickButtons(1);
        OpenBacklog();
        vars.S(kVarBacklogButton) = kButtonShown;
      }
      break;
    case 27: CloseRightClickMenu(); break;
    case ' ': SpaceToggleAuto(); break;
    case 'C':
    case 'c': OpenConfiguration(); break;
    case 'L':
    case 'l':
      if (LoadKeyActs()) {
        PlayVoiceLine("SSE06");
        OpenSaveLoadScreen(0);
      }
      break;
    case 'S':
    case 's':
      if (SavingAllowed() && storyScreen) {
        PlayVoiceLine("SSE05");
        OpenSaveLoadScreen(1);
      }
      break;
    case 'Q':
    case 'q':
      if (QuickSaveKeyActs()) QuickSave();
      break;
    case 'W':
    case 'w':
      if (ctl.screenMode == smScenario)
        HideWindow();
      else if (ctl.screenMode == smWindowHidden)
        ShowWindowAgain();
      break;
    case 'X':
    case 'x':
      PBMouseDown(MouseButton::Right, ShiftState{}, input.lastMouseX, input.lastMouseY);
      PBMouseUp(MouseButton::Right, ShiftState{}, input.lastMouseX, input.lastMouseY);
      break;
    default: break;
  }
}

}  // namespace torvel
