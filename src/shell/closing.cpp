// The closing path: every close request (the window's close button, exitgame, the system
// menu) comes through FormCloseQuery.
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

void TForm1::Close() { host.RequestClose(); }

bool TForm1::FormCloseQuery() {
  if (ctl.quitRequested) return true;
  // The panic screen comes down first, so that the question is asked over the game.
  if (PanicShown()) EndPanic();
  SaveGlobalData(0);
  if (ctl.interruptibleWait || ctl.blockingScene) {
    // A blocking loop owns the window: the loop ends early when it may, and the question is
    // asked once it has ended, so the player's close is never lost.
    if (ctl.interruptibleWait) ctl.interruptRequest = 2;
    ctl.closePending = true;
    return false;
  }
  ctl.closePending = false;
  ctl.scriptRunning = false;
  PauseStaffRoll(true);
  MessageResult answer = host.ShowMessage(Utf8ToSjis("確認"), Utf8ToSjis("ゲームを終了しますか？"),
                                          MessageButtons::OkCancel, MessageIcon::Question);
  bool allow = answer == MessageResult::Ok;
  if (allow) {
    ctl.interruptRequest = 1;
    AbortStaffRoll();
  }
  PauseStaffRoll(false);
  PBPaint();
  ctl.scriptRunning = true;
  return allow;
}

void TForm1::FormDestroy() {
  if (ctl.destroyed) return;
  // Closing the program from the configuration screen keeps what the player set there.
  if (ctl.configScreenOpen) WriteConfigSettings();
  StopMusic();
  LeaveFullScreen();
  ctl.destroyed = true;
}

}  // namespace torvel
