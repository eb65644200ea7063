// Dispatch of command lines and the interpreter-control commands.
#include <algorithm>
#include <cctype>
#include <string_view>

#include "resources/sjis.h"
#include "script/command_table.h"
#include "script/expressions.h"
#include "script/script_targets.h"
#include "script/web_target.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// `sleep` counts in milliseconds, its pause in frames.
constexpr int kSleepMsPerFrame = 30;
// `load 99` asks before loading the quick-save slot.
constexpr int kQuickLoadArgument = 99;
constexpr int kQuestionQuickLoad = 1;
// `gameclr` marks the game as completed with this E flag.
constexpr int kCompletedFlag = 999;

// At most `limit` bytes of `text`, never splitting a two-byte character.
std::string CutText(std::string_view text, size_t limit) {
  size_t end = 0;
  while (end < text.size()) {
    size_t next = end + SjisCharLength(text, end);
    if (next > limit) break;
    end = next;
  }
  return std::string(text.substr(0, end));
}

}  // namespace

int TForm1::ExecuteCommandLine() {
  const std::string_view line = script.lineBuffer;
  const int number = MatchCommand(line);
  if (number < 0) return 0;
  return (this->*CommandTable()[static_cast<size_t>(number)].run)(CommandArgument(number, line));
}

void TForm1::StopSkip() {
  vars.S(60) = 0;
  vars.S(61) = 0;
  if (text.windowShown && ctl.screenMode == smScenario) DrawQuickButtons(1);
  ctl.skipActive = false;
}

void TForm1::StopSkipAndAuto(bool always) {
  if ((!always && settings.BreakonSelect == 0) || ctl.saveLoadScreen != 0) return;
  StopSkip();
  vars.S(26) = 0;
  if (ctl.screenMode == smScenario) DrawQuickButtons(1);
}

int TForm1::AnswerInterruptAfterPictureChange() {
  const int request = ctl.interruptRequest;
  if (request != 1 && request != 2) return 0;
  ctl.interruptRequest = 0;
  if (request == 2) {
    ctl.closePending = false;
    // The window was asked to close during the change: ask now, over the picture as it is.
    ctl.scriptRunning = false;
    Bitmap shown;
    if (!host.ReadWindow(shown) || shown.width != kScreenWidth || shown.height != kScreenHeight) shown = layers.screen;
    const MessageResult answer = host.ShowMessage(Utf8ToSjis("確認"), Utf8ToSjis("ゲームを終了しますか？"),
                                                  MessageButtons::OkCancel, MessageIcon::Question);
    if (answer == MessageResult::Ok) ctl.quitRequested = true;
    host.Present(shown, Rect{0, 0, kScreenWidth, kScreenHeight});
    ctl.scriptRunning = true;
  }
  return 1;
}

int TForm1::CmdGo(std::string_view arg) {
  Jump(arg);
  return 0;
}

int TForm1::CmdCall(std::string_view arg) {
  std::string name, label;
  SplitScriptArgument(arg, kCallScanMax, name, label);
  if (!name.empty() && name[0] == '$') {
    int slot = name.size() > 1 && std::isdigit(static_cast<unsigned char>(name[1])) ? name[1] - '0' : 0;
    name = text.nameSlots[static_cast<size_t>(slot)];
  }
  CallScript(name, label);
  return 1;
}

int TForm1::CmdChain(std::string_view arg) {
  std::string name, label;
  SplitScriptArgument(arg, kChainScanMax, name, label);
  ChainScript(name, label);
  return 1;
}

int TForm1::CmdEnd(std::string_view) {
  if (script.callDepth > 0) {
    ReturnFromScript();
  } else if (script.replayMode == 1) {
    EndViewerReplay();
  } else if (script.replayMode == 2) {
    EndRecollectionReplay();
  }
  return 1;
}

int TForm1::CmdExit(std::string_view) {
  if (script.replayMode == 1) {
    EndViewerReplay();
  } else if (script.replayMode == 2) {
    EndRecollectionReplay();
  }
  return 1;
}

int TForm1::CmdVend(std::string_view arg) { return CmdExit(arg); }

int TForm1::CmdIf(std::string_view arg) {
  if (!Condition(arg, vars, random)) return 1;
  std::string_view then;
  if (!IfThenPart(arg, then)) return 1;
  if (!then.empty() && (then[0] == '*' || then[0] == '@' || then[0] == '!')) {
    if (then.size() > kIfScanMax) return 1;
    // The then-part becomes the line and is dispatched in the same step.
    std::string rest(then);
    script.lineBuffer = std::move(rest);
    return 2;
  }
  Jump(then);
  return 1;
}

int TForm1::CmdLoad(std::string_view arg) {
  StopSkipAndAuto(false);
  if (arg.empty()) {
    OpenSaveLoadScreen(0);
  } else if (ReadInteger(arg) == kQuickLoadArgument) {
    AskQuestion(Utf8ToSjis("クイックロードしますか？"), kQuestionQuickLoad);
  }
  return 1;
}

int TForm1::CmdSave(std::string_view) {
  StopSkipAndAuto(false);
  OpenSaveLoadScreen(1);
  return 1;
}

int TForm1::CmdGameinit(std::string_view) {
  vars.F.Clear();
  vars.T.Clear();
  vars.V(200) = vars.G(6);
  vars.V(201) = vars.G(7);
  vars.V(202) = vars.G(8);
  ResetSpriteLayout();
  return 0;
}

int TForm1::CmdGameclr(std::string_view) {
  vars.S(100) = IncrementCompletedGames();
  vars.E.Set(kCompletedFlag);
  SaveGlobalData(0);
  return 0;
}

int TForm1::CmdMark(std::string_view arg) {
  const int n = ReadInteger(arg);
  if (n < 0 || n > kReadMarkMax) return 0;
  if (text.readMarks.Test(n)) {
    text.alreadyRead = true;
    return 0;
  }
  text.readMarks.Set(n);
  if (settings.Seen != 0) {
    text.alreadyRead = false;
    ctl.skipActive = false;
    vars.S(60) = 0;
    DrawQuickButtons(1);
  }
  return 0;
}

int TForm1::CmdFix(std::string_view) {
  // What the window shows; the screen buffer when the host cannot read the window back.
  Bitmap shown;
  if (!host.ReadWindow(shown) || shown.width != kScreenWidth || shown.height != kScreenHeight) shown = layers.screen;
  layers.scene = std::move(shown);
  vars.S(23) = 0;
  layers.screen = layers.scene;
  return 0;
}

int TForm1::CmdSleep(std::string_view arg) {
  if (ctl.skipActive || vars.S(26) != 0) return 0;
  const int frames = ReadInteger(arg) / kSleepMsPerFrame;
  // A pause shorter than a frame lasts until the player clicks.
  ctl.sleepTicks = frames == 0 ? -1 : frames;
  return 1;
}

int TForm1::CmdString(std::string_view arg) {
  // The slot digit stands right at the argument, the text two bytes later.
  const int slot = ReadInteger(arg);
  if (slot < 0 || slot >= kNameSlots) return 0;
  text.nameSlots[static_cast<size_t>(slot)] =
      CutText(arg.size() > 2 ? arg.substr(2) : std::string_view(), kNameSlotMax);
  return 0;
}

int TForm1::CmdBreak(std::string_view) {
  StopSkip();
  StopSkipAndAuto(true);
  return 1;
}

int TForm1::CmdTitle(std::string_view arg) {
  text.nameSlots[kNameSlots - 1] = CutText(arg, kNameSlotMax);
  return 0;
}

int TForm1::CmdBackto(std::string_view) {
  vars.S(10) = script.lineStart;
  return 0;
}

int TForm1::CmdSetname(std::string_view) {
  ctl.blockingScene = true;
  StopSkipAndAuto(false);
  ShowNameEntry();
  const bool changed = text.nameSlots[0] != config.DEFAULT_NAME || text.nameSlots[1] != config.DEFAULT_NAME2 ||
                       text.nameSlots[2] != config.DEFAULT_NAME3;
  vars.S(6) = changed ? 1 : 0;
  ctl.blockingScene = false;
  return 1;
}

int TForm1::CmdExitgame(std::string_view) {
  Close();
  return 1;
}

int TForm1::CmdRec(std::string_view) {
  vars.F.Clear();
  script.recordStart = script.loadedScript;
  if (vars.S(161) == 2) {
    vars.S(163) = 0;
  } else {
    vars.S(161) = 1;
    vars.S(162) = 0;
    vars.S(163) = 0;
  }
  return 0;
}

int TForm1::CmdTwSet(std::string_view arg) {
  ClearPage();
  text.windowShown = ReadInteger(arg) != 0;
  return 0;
}

int TForm1::CmdCgfull(std::string_view) {
  const int count = CgPictureCount();
  for (int i = 0; i < count; ++i) vars.D.Set(i);
  return 1;
}

int TForm1::CmdWeb(std::string_view arg) {
  // A script is content from an archive, not the player: only web addresses and files of the
  // game itself are handed to the desktop.
  if (std::optional<std::string> target = WebTarget(arg, GameDir())) host.OpenWithDefaultHandler(*target);
  return 1;
}

}  // namespace torvel
