#pragma once
// What the screen effect commands share: their argument fields and the flags of an effect that
// owns the screen while it runs.
#include <string_view>
#include <vector>

#include "shell/engine_control.h"

namespace torvel {

// S019: set when the player cut an effect short (never cleared by the effects).
constexpr int kVarEffectCut = 19;
// S036: set when the player cut an animation short.
constexpr int kVarAnimationCut = 36;

// Fields separated by "," or ":", blanks around each removed.
std::vector<std::string_view> SplitEffectFields(std::string_view text);

// While alive, the frame loop and the timer's script work stand still, a click asks to cut the
// effect short and a close request is put off until the effect has ended.
class BlockingEffect {
 public:
  explicit BlockingEffect(EngineControl& ctl) : ctl_(ctl) {
    ctl.blockingScene = true;
    ctl.interruptibleWait = true;
    ctl.interruptRequest = 0;
  }
  ~BlockingEffect() {
    ctl_.blockingScene = false;
    ctl_.interruptibleWait = false;
  }
  BlockingEffect(const BlockingEffect&) = delete;
  BlockingEffect& operator=(const BlockingEffect&) = delete;
  bool Cut() const { return ctl_.interruptRequest != 0; }

 private:
  EngineControl& ctl_;
};

}  // namespace torvel
