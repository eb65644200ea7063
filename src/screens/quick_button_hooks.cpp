// The quick buttons as input reaches them: hovering, the click and what each button does.
#include "resources/sjis.h"
#include "screens/system_menu_state.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarAutoSpeedSetting = 26;
constexpr int kVarChosenAutoSpeed = 27;
constexpr int kVarWindowUpper = 79;
constexpr int kStateHovered = 1;
constexpr int kStateOn = 2;
constexpr int kFirstAutoSpeed = 4;  // auto mode's speed when none within range was chosen
constexpr int kPressedMs = 50;

}  // namespace

void TForm1::QuickButtonHover(int x, int y) { HoverQuickButton(Point{x, y}); }

void TForm1::HoverQuickButton(std::optional<Point> point) {
  if (ctl.saveLoadScreen != 0 || !text.windowShown) return;
  const bool pageBack = ctl.screenMode == smPageBack;
  if (ctl.screenMode != smScenario && !pageBack) return;
  for (int i = 0; i < kQuickButtonCount; ++i) vars.S(kQuickButtonFirstVar + i) = 0;

  int candidate = 0;
  const bool upper = vars.S(kVarWindowUpper) != 0;
  for (int i = 0; point && i < kQuickButtonCount; ++i) {
    if ((i == qbWindowUp && upper) || (i == qbWindowDown && !upper)) continue;
    const QuickButtonConfig& b = config.QB[static_cast<size_t>(i)];
    if ((b.type != 1 && b.type != 2) || b.w <= 0 || b.h <= 0) continue;
    const int64_t left = b.type == 1 ? int64_t{textWindow.x} + b.x : b.x;
    const int64_t top = b.type == 1 ? int64_t{textWindow.y} + b.y : b.y;
    if (point->x >= left && point->x < left + b.w && point->y >= top && point->y < top + b.h) {
      candidate = i + 1;
      break;
    }
  }

  const int index = candidate - 1;
  const bool choosing = ctl.choiceMode != 0;
  const bool autoOff = vars.S(kVarAutoSpeedSetting) == 0;
  const bool quickSaveLoad = index == qbQuickSave || index == qbQuickLoad;
  if ((choosing && (index == qbHideWindow || index == qbWindowUp || index == qbWindowDown || index == qbBacklog)) ||
      (pageBack && index != qbSkip && index != qbVoiceReplay) ||
      (autoOff && (index == qbFaster || index == qbSlower)) ||
      (index == qbSkip && !text.alreadyRead && settings.Seen != 0) ||
      (quickSaveLoad && (script.replayMode != 0 || BackgroundAnimationRunning() || ctl.screenMode != smScenario))) {
    candidate = 0;
  }

  // Every state went back to normal above, so the hovered button shows its highlight again
  // even when the pointer stays on it; only a change of button redraws.
  if (candidate != 0) {
    int& state = vars.S(kQuickButtonFirstVar + candidate - 1);
    if (state != 0) {
      candidate = 0;
    } else {
      state = kStateHovered;
    }
  }
  if (candidate != quickButtons.hovered) {
    quickButtons.hovered = candidate;
    DrawQuickButtons(qbdFull);
  }
}

void TForm1::ShowQuickButtonPressed(int index) {
  int& state = vars.S(kQuickButtonFirstVar + index);
  state = kStateOn;
  DrawQuickButtons(qbdFull);
  host.Sleep(kPressedMs);
  state = 0;
}

bool TForm1::QuickButtonClick() {
  if (ctl.choiceMode == 6 || ctl.choiceMode == 4 || ctl.screenMode == smTitleMap) return false;
  QuickButtons& q = quickButtons;
  if (ctl.screenMode == smPageBack) {
    // Any left click in the page history steps it: back on the voice button, forward elsewhere.
    if (q.hovered == qbVoiceReplay + 1) {
      PageHistoryOlder();
    } else {
      PageHistoryNewer();
    }
    return true;
  }
  if (q.hovered == 0) return false;
  const int index = q.hovered - 1;
  int& speed = vars.S(kVarAutoSpeedSetting);
  int& chosen = vars.S(kVarChosenAutoSpeed);
  int& skipState = vars.S(kQuickButtonFirstVar + qbSkip);
  int& autoState = vars.S(kQuickButtonFirstVar + qbAuto);
  switch (index) {
    case qbSkip:
      autoState = 0;
      if (ctl.skipActive) {
        skipState = 0;
        ctl.skipActive = false;
      } else {
        skipState = kStateOn;
        ctl.skipActive = true;
      }
      DrawQuickButtons(qbdFull);
      q.hovered = 0;
      break;
    case qbAuto:
      if (speed != 0) {
        autoState = 0;
        chosen = speed;
        speed = 0;
      } else {
        autoState = kStateOn;
        if (chosen <= 0 || chosen > config.SPD_MAX) chosen = kFirstAutoSpeed;
        speed = chosen;
      }
      DrawQuickButtons(qbdFull);
      q.hovered = 0;
      break;
    case qbHideWindow:
      speed = 0;
      autoState = 0;
      ShowQuickButtonPressed(index);
      q.hovered = 0;
      HideWindow();
      break;
    case qbQuickSave:
      ShowQuickButtonPressed(index);
      QuickSave();
      q.hovered = 0;
      DrawQuickButtons(qbdFull);
      break;
    case qbQuickLoad:
      ShowQuickButtonPressed(index);
      AskQuestion(Utf8ToSjis("クイックロードしますか？"), kDialogQuickLoad);
      q.hovered = 0;
      DrawQuickButtons(qbdFull);
      break;
    case qbBacklog: {
      speed = 0;
      autoState = 0;
      int& backlogState = vars.S(kQuickButtonFirstVar + qbBacklog);
      backlogState = kStateOn;
      DrawQuickButtons(qbdFull);
      q.hovered = 0;
      OpenBacklog();
      backlogState = 0;
      break;
    }
    case qbVoiceReplay:
      PlayVoiceLine(sound.lastVoice);
      q.hovered = 0;
      break;
    case qbConfig: OpenConfigScreen(); break;
    case qbWindowUp:
    case qbWindowDown: ToggleWindowPosition(true); break;
    case qbFaster:
      if (speed > 1) --speed;
      DrawQuickButtons(qbdFull);
      break;
    case qbSlower:
      if (speed < config.SPD_MAX) ++speed;
      DrawQuickButtons(qbdFull);
      break;
    case qbStatus: OpenStatusScreen(); break;
    default: break;  // the title's other screens: none in this engine yet
  }
  return true;
}

}  // namespace torvel
