#pragma once
// The engine-wide control state shared by the frame loop, the interpreter and every screen.

namespace torvel {

enum ScreenMode : int {
  smScenario = 0,
  smWindowHidden = 1,
  smStaffRoll = 3,
  smTitleMap = 4,
  smCgViewer = 6,
  smScroll = 7,
  smRecollection = 8,
  smPageBack = 9,
  smTitleScreen = 10,
};

struct EngineControl {
  int screenMode = smScenario;
  bool scriptRunning = false;
  bool blockingScene = false;
  bool interruptibleWait = false;
  int interruptRequest = 0;  // 1 cut short by the player, 2 close asked during the effect
  bool menuLock = false;
  bool quitRequested = false;
  // The player asked to close while a blocking loop refused it: asked once the loop has ended.
  bool closePending = false;
  bool startPending = false;
  bool skipActive = false;
  int waitKind = 0;
  int waitTicks = 0;
  bool voiceWait = false;
  int choiceMode = 0;
  int dialogOpen = 0;
  bool backlogOpen = false;
  int saveLoadScreen = 0;
  bool configScreenOpen = false;
  int sleepTicks = 0;
  int autoCountdown = 0;
  int clickDebounce = 0;
  int frameCounter = 0;
  int timerCounter = 0;
  bool soundDevicePresent = false;
  bool traceMode = false;  // the developer's "Trace Mode" check box

  // The start-up found no game data; the engine has closed and the program fails.
  bool startupFailed = false;
  // The window has been destroyed (FormDestroy ran).
  bool destroyed = false;
};

}  // namespace torvel
