// Scenes replayed from the viewer's scene gallery, the story position they leave and return to,
// and the replay entries of the menus.
#include <algorithm>

#include "shell/engine.h"

namespace torvel {

void TForm1::SaveScriptPosition(SavedScriptPosition& saved) const {
  saved.script = script.currentScript;
  saved.pc = script.pc;
  saved.callDepth = script.callDepth;
  saved.callStack = script.callStack;
}

void TForm1::RestoreScriptPosition(const SavedScriptPosition& saved) {
  if (LoadScript(saved.script, 1)) {
    script.currentScript = saved.script;
    script.pc = std::clamp(saved.pc, 0, script.scenarioSize);
  } else {
    // The story cannot be reloaded: stay idle rather than run the replay on.
    script.pc = script.scenarioSize;
    ctl.scriptRunning = false;
  }
  script.needLine = true;
  script.callDepth = saved.callDepth;
  script.callStack = saved.callStack;
}

void TForm1::SetReplayMenu(bool nextScene, bool endReplay) {
  replayMenu.nextScene = nextScene;
  replayMenu.endReplay = endReplay;
  UpdateMenus();
}

void TForm1::ReplayViewerScene(int cell) {
  CgViewer& v = viewer;
  const ViewerCell& c = v.cells[static_cast<size_t>(v.set)][static_cast<size_t>(cell)];
  const std::string target = c.fields.size() > 1 ? c.fields[1] : std::string();
  const size_t colon = target.find(':');
  const std::string name = target.substr(0, colon);
  const std::string label = colon == std::string::npos ? std::string() : target.substr(colon + 1);
  SavedScriptPosition saved;
  SaveScriptPosition(saved);
  // A scene that cannot be loaded leaves the viewer as it is.
  if (name.empty() || !LoadScript(name, 1)) return;
  v.saved = saved;
  script.currentScript = name;
  ctl.screenMode = smScenario;
  script.replayMode = 1;
  script.callDepth = 0;
  const char first = static_cast<char>(name[0] & ~0x20);
  if (first == 'K' || first == 'V' || first == 'F') BuildWindowFrame();
  WaitReset();
  ClearPage();
  text.windowShown = false;
  vars.S(60) = 0;
  vars.S(28) = 1;
  vars.S(4) = 0;
  SetReplayMenu(false, true);
  if (!label.empty()) Jump(label);
  v.hover = 0;
}

void TForm1::EndViewerReplay() {
  StopLoopEffect();
  script.replayMode = 0;
  WaitReset();
  RestoreScriptPosition(viewer.saved);
  text.windowShown = false;
  vars.S(160) = 0;
  vars.S(4) = 0;
  vars.S(35) = 0;
  StopSkip();
  StopLoopEffect();
  SetMusic(viewer.page.music);
  vars.S(28) = 0;
  ctl.screenMode = smCgViewer;
  DrawViewerSet();
  SetReplayMenu(false, false);
  vars.S(9) = 0;
  vars.S(10) = 0;
  vars.S(11) = 0;
}

// The entries act between frames only: a picture change in progress finishes first.
void TForm1::MenuNextScene() {
  if (ctl.blockingScene || !replayMenu.nextScene || script.replayMode != 2) return;
  StopVoice();
  StopLoopEffect();
  EndRecollectionScene(true);
}

void TForm1::MenuEndReplay() {
  if (ctl.blockingScene || !replayMenu.endReplay) return;
  StopVoice();
  StopLoopEffect();
  if (script.replayMode == 1) {
    EndViewerReplay();
  } else if (script.replayMode == 2) {
    EndRecollectionScene(false);
  }
}

}  // namespace torvel
