// The engine state as authors and tests see it from the headless host.
#include <string>

#include "resources/sjis.h"
#include "shell/engine.h"
#include "shell/json_text.h"

namespace torvel {

namespace {

void AppendInts(std::string& out, const int32_t* values, int count) {
  out += '[';
  for (int i = 0; i < count; ++i) {
    if (i) out += ',';
    out += std::to_string(values[i]);
  }
  out += ']';
}

}  // namespace

bool TForm1::WaitsForPlayer() const {
  if (ctl.startPending) return false;
  if (!ctl.scriptRunning) return true;
  // The title map and the status screen wait for the player's choice or click.
  if (ctl.screenMode == smTitleMap || ctl.screenMode == smTitleScreen) return true;
  if (ctl.waitKind != 0 || ctl.choiceMode != 0 || ctl.sleepTicks < 0) return true;
  return script.needLine && script.pc >= script.scenarioSize && script.callDepth == 0;
}

std::string TForm1::DescribeState() const {
  std::string out = "{\"script\":{\"current\":";
  AppendJsonString(out, SjisToUtf8(script.currentScript));
  out += ",\"pc\":" + std::to_string(script.pc);
  out += ",\"callDepth\":" + std::to_string(script.callDepth);
  out += ",\"replayMode\":" + std::to_string(script.replayMode) + "}";
  out += ",\"V\":";
  AppendInts(out, vars.vars.data() + kStoryVarBase, 1000);
  out += ",\"S\":";
  AppendInts(out, vars.vars.data() + kSystemVarBase, 1000);
  out += ",\"G\":";
  AppendInts(out, vars.vars.data() + kGlobalVarBase, 10);
  out += ",\"E\":";
  AppendSetBits(out, vars.E);
  out += ",\"F\":";
  AppendSetBits(out, vars.F);
  out += ",\"T\":";
  AppendSetBits(out, vars.T);
  out += ",\"nameSlots\":[";
  for (size_t i = 0; i < text.nameSlots.size(); ++i) {
    if (i) out += ',';
    AppendJsonString(out, SjisToUtf8(text.nameSlots[i]));
  }
  out += ']';
  out += ",\"waitKind\":" + std::to_string(ctl.waitKind);
  out += ",\"choiceMode\":" + std::to_string(ctl.choiceMode);
  out += ",\"screenMode\":" + std::to_string(ctl.screenMode);
  out += ",\"frame\":" + std::to_string(ctl.frameCounter);
  out += ",\"tick\":" + std::to_string(ctl.timerCounter);
  out += ",\"scene\":{\"background\":";
  AppendJsonString(out, SjisToUtf8(layers.backgroundName));
  out += ",\"sprites\":";
  AppendJsonString(out, SjisToUtf8(layers.spriteSpec));
  out += ",\"spriteCount\":" + std::to_string(layers.spriteCount);
  out += ",\"overlay\":";
  AppendJsonString(out, vars.S(kVarOverlaySet) != 0 ? SjisToUtf8(layers.overlayName) : std::string());
  out += "},\"sound\":";
  AppendSoundState(out);
  out += ",\"clock\":" + std::to_string(host.TickCount());
  out += ",\"animation\":";
  AppendAnimationState(out);
  out += ",\"effects\":";
  AppendEffectsState(out);
  AppendSaveState(out);
  AppendSceneState(out);
  out += ",\"staffRoll\":";
  AppendStaffRollState(out);
  out += ",\"titleMap\":";
  AppendTitleMapState(out);
  AppendGalleryState(out);
  AppendSystemMenuState(out);
  AppendBacklogState(out);
  AppendQuickButtonState(out);
  AppendConfigState(out);
  AppendDisplayState(out);
  AppendMenuState(out);
  out += std::string(",\"dev\":{\"traceMode\":") + (ctl.traceMode ? "true" : "false") +
         ",\"flagEditorOpen\":" + (devtools.flagEditorOpen ? "true" : "false") +
         ",\"globalDataReplace\":" + (devtools.globalDataReplace ? "true" : "false") + "}";
  // Written after the window has closed (the --state file of a run that ended at exitgame) it is true.
  out += std::string(",\"windowClosed\":") + (ctl.destroyed ? "true" : "false");
  out += "}\n";
  return out;
}

}  // namespace torvel
