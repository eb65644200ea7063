// The interpreter loop: fetching lines from the scenario buffer, the line kinds, labels and the
// call stack.
#include <algorithm>
#include <cstring>

#include "resources/sjis.h"
#include "script/script_targets.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// A script name keeps at most 29 bytes, as the 30-byte name fields of the call stack do.
std::string CutName(std::string_view name) {
  return std::string(name.substr(0, std::min(name.size(), kScriptNameMax)));
}

// Lines one step may run without yielding. A script that loops without ever yielding (a label
// and a `go` back to it) would otherwise hold the window for ever: no repaint, no input, no
// closing. Real scripts yield long before this many lines; when a step spends them all it ends
// as if the line had yielded, and the next frame goes on from the same place.
constexpr int kStepLineBudget = 20000;

}  // namespace

void TForm1::FetchLine() {
  ScriptState& s = script;
  s.lineStart = s.pc;
  const uint8_t* begin = s.scenario.data() + s.pc;
  size_t left = static_cast<size_t>(s.scenarioSize - s.pc);
  const void* nul = std::memchr(begin, 0, left);
  size_t length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - begin) : left;
  // A line longer than the line buffer is cut; the rest of it is passed over.
  s.lineBuffer.assign(reinterpret_cast<const char*>(begin), std::min(length, kLineBufferSize - 1));
  s.pc += static_cast<int>(nul ? length + 1 : length);
  s.linePos = 0;
}

void TForm1::Step() {
  for (int executed = 0; executed < kStepLineBudget; ++executed) {
    // Trace mode runs one line per step and then holds the interpreter until the developer
    // releases it.
    if (ctl.traceMode && executed > 0) {
      script.needLine = true;
      ctl.sleepTicks = -1;
      return;
    }
    if (script.needLine) {
      if (script.pc >= script.scenarioSize) {
        script.lineStart = script.pc;
        if (script.callDepth > 0) ReturnFromScript();
        return;
      }
      FetchLine();
    }
    if (DispatchLine() == LineResult::Yield) return;
  }
}

TForm1::LineResult TForm1::DispatchLine() {
  for (;;) {
    if (!script.needLine) {
      // The rest of a text line that is still being shown.
      return ShowTextLine() ? LineResult::Yield : LineResult::Continue;
    }
    char kind = script.lineBuffer.empty() ? '\0' : script.lineBuffer[0];
    switch (kind) {
      case '\0': NewTextRow(); return LineResult::Continue;
      case ':':
      case ';':
      case '}': return LineResult::Continue;
      case '{': SkipBlock(); return LineResult::Continue;
      case '!': RunCalculation(std::string_view(script.lineBuffer).substr(1)); return LineResult::Continue;
      case '@':
      case '*': {
        int result = ExecuteCommandLine();
        if (result == 2) continue;  // the line buffer now holds the rest of an `if`
        return result == 1 ? LineResult::Yield : LineResult::Continue;
      }
      case '>': return ShowSpeakerLine() ? LineResult::Yield : LineResult::Continue;
      case '\\': BeginClickWait(1); return LineResult::Yield;
      case '~': BeginClickWait(4); return LineResult::Yield;
      case '+': BeginClickWait(5); return LineResult::Yield;
      case '=':
        if (ctl.skipActive) return LineResult::Continue;
        BeginClickWait(2);
        return LineResult::Yield;
      default:
        script.needLine = false;
        script.linePos = 0;
        return ShowTextLine() ? LineResult::Yield : LineResult::Continue;
    }
  }
}

void TForm1::SkipBlock() {
  // A case body ends where the next case begins: skip to the end of the construct.
  std::string_view line = script.lineBuffer;
  std::string endMarker;
  if (line.size() >= 2 && line[1] == ':') {
    std::string_view name = line.substr(2);
    name = name.substr(0, std::min(name.find('('), name.size()));
    endMarker = "}:" + SjisUpper(name);
  }
  while (script.pc < script.scenarioSize) {
    FetchLine();
    std::string_view next = script.lineBuffer;
    if (endMarker.empty() ? (!next.empty() && next[0] == '}')
                          : SjisUpper(next.substr(0, endMarker.size())) == endMarker) {
      return;
    }
  }
}

bool TForm1::Jump(std::string_view label) {
  const int after =
      FindLabel(std::span<const uint8_t>(script.scenario.data(), static_cast<size_t>(script.scenarioSize)), label);
  if (after < 0) return false;
  script.pc = after;
  script.needLine = true;
  return true;
}

void TForm1::CallScript(std::string_view name, std::string_view label) {
  // The call stack has nine frames; a deeper call is refused and the script goes on.
  if (script.callDepth >= kCallStackFrames) return;
  CallFrame& frame = script.callStack[static_cast<size_t>(script.callDepth)];
  std::string caller = script.currentScript;
  int returnPc = script.pc;
  if (LoadScript(name, 1)) {
    frame.script = caller;
    frame.pc = returnPc;
    script.currentScript = CutName(name);
    WaitReset();
    ++script.callDepth;
  }
  if (!label.empty()) Jump(label);
}

void TForm1::ChainScript(std::string_view name, std::string_view label) {
  script.callDepth = 0;
  WaitReset();
  // currentScript names what is really loaded: it changes only when the load succeeds.
  if (LoadScript(name, 1)) script.currentScript = CutName(name);
  if (!label.empty()) Jump(label);
}

void TForm1::ReturnFromScript() {
  if (script.callDepth <= 0) return;
  --script.callDepth;
  const CallFrame& frame = script.callStack[static_cast<size_t>(script.callDepth)];
  std::string name = frame.script;
  int pc = frame.pc;
  if (!LoadScript(name, 1)) {
    // The caller cannot be reloaded: stay idle rather than run the callee at a stale offset.
    script.pc = script.scenarioSize;
    script.needLine = true;
    ctl.scriptRunning = false;
    return;
  }
  script.currentScript = CutName(name);
  script.pc = std::clamp(pc, 0, script.scenarioSize);
  script.needLine = true;
}

void TForm1::WaitReset() {
  text.textSpeed = 1;
  text.instantText = false;
  ctl.waitKind = 0;
  ctl.waitTicks = 0;
  ctl.choiceMode = 0;
  ResetSceneChoices();
  ctl.saveLoadScreen = 0;
  text.cursorRow = 0;
  text.cursorCol = 0;
}

}  // namespace torvel
