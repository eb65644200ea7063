// Arbitrary script text after `select`, `switch` and `cjmp`: collecting the choice list, hovering
// and clicking it, and the searches for case lines and ends of constructs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/headless/headless_host.h"
#include "scratch_folder.h"
#include "shell/engine.h"

namespace {

torvel::TForm1& Engine() {
  static torvel::HeadlessHost host(torvel::fuzzing::ScratchFolder() / "config");
  static std::unique_ptr<torvel::TForm1> engine = [] {
    auto e =
        std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{torvel::fuzzing::ScratchFolder(), std::nullopt});
    e->CreateScreenBuffers();
    e->config.SELECT_Y_POS = 300;
    e->config.SELECT_Y_PITCH = 40;
    e->config.TX2_PITCH_Y = 30;
    return e;
  }();
  return *engine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  torvel::TForm1& e = Engine();
  torvel::ScriptState& s = e.script;
  // The script text with its line ends as the loader leaves them: NUL bytes.
  const size_t n = std::min(size - 2, s.scenario.size());
  for (size_t i = 0; i < n; ++i) s.scenario[i] = data[2 + i] == '\n' ? 0 : data[2 + i];
  s.scenarioSize = static_cast<int>(n);
  s.pc = n == 0 ? 0 : data[1] % static_cast<int>(n);
  e.ctl.choiceMode = 0;
  e.ctl.blockingScene = false;
  e.vars.S(160) = data[0] & 1;
  e.vars.S(torvel::kVarRecordMode) = (data[0] >> 1) & 3;
  e.vars.S(torvel::kVarRecordCount) = (data[0] & 0x10) ? 5000 : 2;
  e.vars.S(torvel::kVarRecordPosition) = (data[0] & 0x20) ? -1 : 1;
  const int argument = static_cast<int8_t>(data[1]) / 16;
  const std::string_view name(reinterpret_cast<const char*>(data) + 2, std::min<size_t>(n, 3));
  switch (data[0] >> 6) {
    case 0:
      e.Select(argument);
      e.HoverChoice(400, 290);
      e.ClickChoice();
      break;
    case 1: e.Switch(""); break;
    case 2: e.Switch(name); break;
    default: e.ComputedJump(argument); break;
  }
  if (s.pc < 0 || s.pc > s.scenarioSize) __builtin_trap();
  return 0;
}
