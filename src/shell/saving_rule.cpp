// Whether the player may save now: the keys and the menus ask the same question.
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kVarPlayPhase = 0;  // 0 story play; higher values lock saving, then loading
constexpr int kVarStoryStarted = 28;
}  // namespace

bool TForm1::SavingAllowed() const { return vars.S(kVarPlayPhase) <= 0 && vars.S(kVarStoryStarted) != 0; }

}  // namespace torvel
