// Click waits: entered by the wait lines and the waits written in text, answered by a click,
// skip mode or the auto-mode countdown.
#include <algorithm>
#include <cstdint>

#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kVarContinueWait = 39;
// The auto-mode delay grows by one tick per this many characters, less the speed step.
constexpr int kAutoDivisorBase = 12;
}  // namespace

void TForm1::BeginClickWait(int kind) {
  if (kind == 1 || kind == 4 || kind == 5) CloseBacklogLine();
  ctl.waitKind = kind;
  StartAutoCountdown();
  text.instantText = false;
  script.needLine = true;
  if (kind == 1 || kind == 2 || kind == 4) RecordPage();
  if (kind == 2) vars.S(kVarContinueWait) = 1;
}

void TForm1::StartAutoCountdown() {
  const int64_t speed = vars.S(kVarAutoSpeed);
  const int64_t divisor = int64_t{config.SPD_MAX} - speed + kAutoDivisorBase;
  // A script may set the speed beyond the player's range: no quotient then.
  const int64_t quotient = divisor > 0 ? text.charsSinceWait / divisor : 0;
  // A negative count would never reach 0 and hold auto mode for ever.
  ctl.autoCountdown = static_cast<int>(std::clamp<int64_t>(quotient + 2 * speed + 2, 0, INT32_MAX));
}

void TForm1::ResolveClickWait() {
  if (ctl.waitKind == 1 || ctl.waitKind == 4 || ctl.waitKind == 5) {
    NewPage();
  } else if (ctl.waitKind == 2) {
    ClickWaitErase();
  }
  ctl.waitKind = 0;
}

}  // namespace torvel
