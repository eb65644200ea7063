// The two clocks of the engine: the idle frame (AppIdle) and the 55 ms service tick
// (Timer1Timer), and the repaint of the window (PBPaint).
#include <algorithm>

#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kFrameMs = 20;
// Auto mode paces a frame at S026 × 4 + 15 ms. A script may write any value into S026, so the
// speed used for pacing is kept within what the speed setting can hold.
constexpr int kAutoSpeedMax = 250;

void SleepUntil(Host& host, uint32_t deadline) {
  int32_t remaining = static_cast<int32_t>(deadline - host.TickCount());
  if (remaining > 0) host.Sleep(remaining);
}
}  // namespace

void TForm1::AppIdle() {
  if (ctl.destroyed) return;
  ++ctl.frameCounter;
  uint32_t t0 = host.TickCount();
  if (ctl.clickDebounce > 0) --ctl.clickDebounce;
  if (ctl.closePending && !ctl.blockingScene && !ctl.interruptibleWait) {
    ctl.closePending = false;
    Close();
  }
  RunPendingMenuCommands();
  RunPendingDeveloperButtons();

  bool animate = true;
  if (ctl.saveLoadScreen == 2) {
    SaveLoadScreenFrame();
  } else if (ctl.backlogOpen) {
    BacklogFrame();
    animate = false;
  } else if (ctl.dialogOpen != 0 || ctl.configScreenOpen) {
    animate = false;
  } else {
    switch (ctl.screenMode) {
      case smScenario:
        if (ctl.startPending) {
          FirstTick();
          animate = false;
          break;
        }
        if (ctl.blockingScene) {
          animate = false;
          break;
        }
        random.Next();
        if (ctl.quitRequested) Close();
        if (ctl.skipActive) {
          if (ctl.waitKind == 1 || ctl.waitKind == 4 || ctl.waitKind == 5) ResolveClickWait();
          ctl.waitKind = 0;
        }
        if (ctl.choiceMode != 0 || ctl.waitTicks != 0 || ctl.waitKind != 0 || ctl.voiceWait ||
            ctl.saveLoadScreen != 0) {
          break;
        }
        if (ctl.sleepTicks != 0) {
          if (ctl.sleepTicks > 0) --ctl.sleepTicks;
          break;
        }
        if (ctl.scriptRunning) Step();
        if (vars.S(26) != 0) {
          int speed = std::clamp(vars.S(26), 1, kAutoSpeedMax);
          SleepUntil(host, t0 + static_cast<uint32_t>(speed * 4 + 15));
          return;
        }
        break;
      case smStaffRoll: StaffRollFrame(); break;
      case smTitleMap: TitleMapFrame(); break;
      case smCgViewer: CgViewerFrame(); break;
      default: break;
    }
  }
  if (animate) BackgroundAnimationFrame();
  SleepUntil(host, t0 + kFrameMs);
}

void TForm1::Timer1Timer() {
  if (ctl.destroyed) return;
  ++ctl.timerCounter;
  // The developer controls' watch list follows every 16th tick, whatever the screen.
  if (ctl.timerCounter % kWatchRefreshTicks == 0 && devtools.watchTick) devtools.watchTick();
  ServiceSound();
  if (MovieTick()) return;
  if (ctl.configScreenOpen) return;
  UpdateEffects();
  switch (ctl.screenMode) {
    case smStaffRoll: StaffRollTick(); return;
    case smRecollection: RecollectionTick(); return;
    case smTitleScreen: return;
    default: break;
  }
  if (ctl.backlogOpen || ctl.blockingScene || ctl.screenMode != smScenario || ctl.saveLoadScreen != 0) return;
  if (ctl.choiceMode != 0 && ctl.dialogOpen == 0) {
    ClickMapTimeoutTick();
    return;
  }
  if (!VoicePlaying()) ctl.voiceWait = false;
  if (ctl.waitTicks > 0) {
    --ctl.waitTicks;
    return;
  }
  QuickButtonHoverTick();
  DeferredMusicTick(false);
  if (ctl.waitKind == 0 || ctl.blockingScene || ctl.screenMode != smScenario) return;
  if (vars.S(26) == 0) {
    if (ctl.waitKind != 5) AnimateClickWaitIcon();
    return;
  }
  if (ctl.autoCountdown > 0) {
    --ctl.autoCountdown;
    if (ctl.autoCountdown == 0 && VoicePlaying()) ctl.autoCountdown = 1;
  } else if (VoicePlaying()) {
    ctl.autoCountdown = 1;
  }
  if (ctl.autoCountdown != 0) return;
  if (ctl.waitKind == 1 || ctl.waitKind == 4 || ctl.waitKind == 5) {
    if (text.windowShown) ResolveClickWait();
  }
  ctl.waitKind = 0;
}

void TForm1::PBPaint() {
  if (ctl.destroyed) return;
  const Bitmap& shown = ctl.screenMode == smWindowHidden ? layers.scene : layers.screen;
  if (ctl.screenMode == smTitleMap) {
    TitleMapPaint();
  } else if (!shown.Empty()) {
    host.Present(shown, Rect{0, 0, kScreenWidth, kScreenHeight});
  }
  ApplyVolumes();
  DeferredMusicTick(true);
}

}  // namespace torvel
