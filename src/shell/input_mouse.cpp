// The mouse on the picture: moves, presses and releases, routed to whichever screen or state
// owns them.
#include "shell/engine.h"

namespace torvel {

namespace {
// S056 values a script sets to take the next click for itself.
constexpr int kHookEndPause = 56;
constexpr int kHookJumpToLabel = 57;
constexpr int kHookIgnoreClick = 66;
constexpr int kVarClickHook = 56;
constexpr int kVarSleepEndedByClick = 19;
constexpr int kHookLabelSlot = 8;
// S063–S065: the pressed look of the quick buttons.
constexpr int kVarFirstPressedButton = 63;
constexpr int kVarLastPressedButton = 65;
constexpr int kToolBarZone = 30;  // pixels at the top that show the full-screen tool bar
constexpr int kWaitVoiceOnly = 4;
}  // namespace

void TForm1::RefreshWindowOrigin() {
  const Point cursor = host.CursorPos();
  input.windowOrigin = Point{cursor.x - input.lastMouseX, cursor.y - input.lastMouseY};
}

void TForm1::PBMouseMove(ShiftState, int x, int y) {
  input.lastMouseX = x;
  input.lastMouseY = y;
  input.hoverTracking = true;
  if (ctl.blockingScene || ctl.interruptibleWait) return;
  if (ctl.configScreenOpen) {
    ConfigurationHover(x, y);
    return;
  }
  // The tool bar follows the pointer without taking the move: a choice list or a screen below
  // must still see it, or nothing could be chosen in full-screen display.
  if (FullScreenShown()) ShowToolBarPanel(y < kToolBarZone);
  if (ctl.dialogOpen != 0) {
    DialogHover(x, y);
    return;
  }
  if (ctl.backlogOpen) {
    BacklogHover(x, y);
    return;
  }
  if (ctl.saveLoadScreen != 0) {
    SaveLoadHover(x, y);
    return;
  }
  switch (ctl.screenMode) {
    case smTitleMap:
    case smTitleScreen: TitleMapHover(x, y); return;
    case smCgViewer: CgViewerHover(x, y); return;
    case smRecollection: RecollectionHover(x, y); return;
    // The page history's click steps back on the voice button and forward elsewhere, so the
    // buttons must follow the pointer there too.
    case smPageBack: QuickButtonHover(x, y); return;
    case smScenario: break;
    default: return;
  }
  switch (ctl.choiceMode) {
    case 0:
      if (!ctl.skipActive) QuickButtonHover(x, y);
      break;
    case 1:
    case 2:
      QuickButtonHover(x, y);
      HoverChoice(x, y);
      break;
    case 4: ClickMapHover(x, y); break;
    case 6: SelectionTreeHover(x, y); break;
    default: break;
  }
}

void TForm1::PBMouseDown(MouseButton button, ShiftState, int x, int y) {
  RefreshWindowOrigin();
  const bool left = button == MouseButton::Left;
  const bool right = button == MouseButton::Right;
  // A movie over the picture takes the click that ends it.
  if (left && MoviePlaying()) {
    EndMovie();
    return;
  }

  // Click hooks wait while a blocking loop runs: its own click only asks to cut it short.
  const int hook = vars.S(kVarClickHook);
  if (!ctl.blockingScene && !ctl.interruptibleWait) {
    if (hook == kHookEndPause && !right) {
      ctl.sleepTicks = 0;
      StopVoice();
      // The question state closes without any answer's action and without restoring a picture.
      SetMenuLock(false);
      ctl.dialogOpen = 0;
      vars.S(kVarClickHook) = 0;
      return;
    }
    if (hook == kHookJumpToLabel) {
      vars.S(kVarClickHook) = 0;
      Jump(text.nameSlots[kHookLabelSlot]);
      return;
    }
    if (hook == kHookIgnoreClick) return;
  }

  if (ctl.interruptibleWait) {
    if (settings.CV_THROUGH == 0) StopVoice();
    ctl.interruptRequest = 1;
    return;
  }
  if (ctl.dialogOpen != 0) {
    DialogClick(button, x, y);
    return;
  }
  if (PanicShown()) {
    EndPanic();
    return;
  }
  if (left) CloseRightClickMenu();
  if (ctl.blockingScene) return;
  if (ctl.configScreenOpen) {
    ConfigurationClick(button, x, y);
    return;
  }
  if (left && ctl.waitKind != kWaitVoiceOnly && ctl.clickDebounce < kVoiceStopDebounce && settings.CV_THROUGH == 0) {
    StopVoice();
  }
  if (ctl.backlogOpen) {
    if (right)
      CloseBacklog();
    else
      BacklogClick(button, x, y);
    return;
  }
  if (ctl.saveLoadScreen != 0) {
    SaveLoadClick(button, x, y);
    return;
  }
  switch (ctl.screenMode) {
    case smScenario: break;
    case smWindowHidden: ShowWindowAgain(); return;
    case smStaffRoll: StaffRollClick(button); return;
    case smTitleMap:
    case smTitleScreen: TitleMapClick(button, x, y); return;
    case smCgViewer: CgViewerClick(button, x, y); return;
    case smRecollection: RecollectionClick(button, x, y); return;
    case smPageBack:
      if (right) {
        LeavePageHistory();
      } else if (left) {
        QuickButtonClick();
      }
      return;
    default: return;
  }

  if (AutoSpeedIndicatorClick(x, y)) return;
  if (settings.Delay == 0 && ctl.waitKind == 0 && ctl.choiceMode == 0) text.instantText = true;
  if (ctl.sleepTicks != 0) {
    ctl.sleepTicks = 0;
    vars.S(kVarSleepEndedByClick) = 1;
    return;
  }
  if (ctl.skipActive && ctl.choiceMode == 0) {
    // As `break`: skip mode stops, and auto mode with it.
    StopSkip();
    StopSkipAndAuto(true);
    return;
  }
  if (left) {
    if (ctl.choiceMode == 0) {
      if (QuickButtonClick()) return;
      ResolveClickWait();
    } else if (ctl.clickDebounce == 0) {
      const int mode = ctl.choiceMode;
      ClickChoice();
      if (mode != 6) DrawQuickButtons(1);
    }
  } else if (right) {
    if (ctl.choiceMode == 4) {
      ClickMapRightClick();
    } else if (ctl.choiceMode == 6) {
      SelectionTreeRightClick();
    } else {
      RightClickAction();
    }
  }
  ctl.clickDebounce = kClickDebounceFrames;
}

void TForm1::PBMouseUp(MouseButton, ShiftState, int x, int y) {
  if (ctl.configScreenOpen) {
    ConfigurationMouseUp(x, y);
    return;
  }
  if (ctl.backlogOpen) {
    BacklogMouseUp(x, y);
    return;
  }
  if (ctl.saveLoadScreen != 0) {
    SaveLoadMouseUp(x, y);
    return;
  }
  if (ctl.screenMode == smScenario) {
    bool pressed = false;
    for (int n = kVarFirstPressedButton; n <= kVarLastPressedButton; ++n) {
      if (vars.S(n) != 0) pressed = true;
      vars.S(n) = 0;
    }
    if (pressed) DrawQuickButtons(1);
  } else if (ctl.screenMode == smRecollection) {
    RecollectionMouseUp(x, y);
  }
}

}  // namespace torvel
