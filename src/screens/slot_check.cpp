#include "screens/slot_check.h"

#include <algorithm>

#include "graphics/text_page.h"
#include "script/backlog_text.h"
#include "script/script_state.h"
#include "shell/engine_control.h"

namespace torvel {

namespace {

constexpr int kLastWaitKind = 5;

bool Within(int32_t value, int lo, int hi) { return value >= lo && value <= hi; }

int32_t Flag(int32_t value) { return value != 0 ? 1 : 0; }

}  // namespace

bool CheckSlotImage(SlotImage& image, const ScriptSizeLookup& scriptSize) {
  SlotState& s = image.state;
  if (!Within(s.callDepth, 0, kCallStackFrames)) return false;
  for (int k = 0; k < s.callDepth; ++k) {
    const int size = scriptSize(image.names.frameScripts[static_cast<size_t>(k)]);
    if (size < 0 || !Within(s.returnPc[static_cast<size_t>(k)], 0, size)) return false;
  }
  const int size = scriptSize(image.names.loadedScript);
  if (size < 0 || !Within(s.resumePosition, 0, size)) return false;

  s.cursorCol = std::clamp(s.cursorCol, 0, kPageColumns);
  s.cursorRow = std::clamp(s.cursorRow, 0, kPageRows);
  s.backlogLines = std::clamp(s.backlogLines, 0, kBacklogFinishedMax);
  const int32_t lineStartByte = s.backlogLines * kBacklogSlotBytes;
  s.backlogWritePosition = std::clamp(s.backlogWritePosition, lineStartByte, lineStartByte + kBacklogLineMax);
  s.historyCount = std::max(s.historyCount, 0);
  s.waitTicks = std::max(s.waitTicks, 0);
  s.textSpeed = std::max(s.textSpeed, 0);
  if (!Within(s.waitKind, 0, kLastWaitKind)) s.waitKind = 0;
  if (s.screenMode != smScenario && s.screenMode != smTitleMap) s.screenMode = smScenario;
  s.windowShown = Flag(s.windowShown);
  s.grbPending = Flag(s.grbPending);
  s.largeText = Flag(s.largeText);
  s.scriptRunning = Flag(s.scriptRunning);
  s.needLine = Flag(s.needLine);
  s.pageEmpty = Flag(s.pageEmpty);
  s.linePos = std::clamp(s.linePos, 0, static_cast<int32_t>(image.lineBuffer.size()));
  s.lineStart = std::clamp(s.lineStart, 0, size);
  return true;
}

}  // namespace torvel
