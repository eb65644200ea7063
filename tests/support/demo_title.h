#pragma once
// The bundled demo opens on its title menu: its first bar, "はじめから", starts the story.
#include <string>

#include "platform/headless/headless_host.h"
#include "platform/headless/input_script.h"
#include "shell/engine.h"

namespace torvel::testing {

// Chooses "はじめから" on the shown title menu (after the click debounce) and runs until the story
// waits for the player. False when no choice was shown.
inline bool StartDemoStory(HeadlessHost& host, TForm1& e) {
  if (e.ctl.choiceMode != 1 || e.script.currentScript != "STITLE") return false;
  host.RunFrames(6);
  const int y = e.choices.listTop + e.choices.barHeight / 2;
  host.SetInput(ParseInputScript(std::to_string(host.TickCount()) + " click 400 " + std::to_string(y) + "\n").events);
  return host.RunUntilSettled(20000) && e.script.currentScript != "STITLE";
}

}  // namespace torvel::testing
