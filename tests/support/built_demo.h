#pragma once
// The demos the build makes, as tests play them: a copy of their archives in a scratch folder, and
// the title menu's first bar, "はじめから", that starts the story.
#include <filesystem>
#include <string>

#include "platform/headless/headless_host.h"
#include "platform/headless/input_script.h"
#include "shell/engine.h"

namespace torvel::testing {

// Copies build/demo/NAME ("game" or "plain") to `to` without the saves that programs run on the
// build tree's folder leave there, so that every copy starts as a new player's.
inline void CopyBuiltDemo(const char* name, const std::filesystem::path& to) {
  std::filesystem::copy(std::filesystem::path(TORVEL_BINARY_DIR) / "demo" / name, to,
                        std::filesystem::copy_options::recursive);
  for (const char* own : {"save", "save0.dat", "kaiso.dat"}) std::filesystem::remove_all(to / own);
}

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
