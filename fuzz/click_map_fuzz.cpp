// Arbitrary `map` tables and option blocks: finding a map, reading its regions and options, the
// hover of every kind of region, the timeout and the click.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

#include "platform/headless/headless_host.h"
#include "scenes/click_map.h"
#include "shell/engine.h"

namespace {

torvel::TForm1& Engine() {
  static torvel::HeadlessHost host(std::filesystem::temp_directory_path() / "torvel-fuzz-config");
  static std::unique_ptr<torvel::TForm1> engine = [] {
    auto e = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{});
    e->CreateScreenBuffers();
    // A parts picture smaller than the screen, with colours in every key.
    e->layers.parts.Resize(300, 200);
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 300; ++x) {
        uint8_t* p = e->layers.parts.At(x, y);
        p[0] = static_cast<uint8_t>(x * 7);
        p[1] = static_cast<uint8_t>(y * 5);
        p[2] = static_cast<uint8_t>(x + y);
      }
    }
    e->layers.partsMask = e->layers.parts;
    return e;
  }();
  return *engine;
}

}  // namespace

// Layout: byte 0 options, byte 1 the table's share of the rest, then the table, then the script.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  if (size < 2) return 0;
  const size_t rest = size - 2;
  const size_t tableSize = std::min(rest, rest * data[1] / 255);
  const std::span<const uint8_t> table(data + 2, tableSize);
  const uint8_t* text = data + 2 + tableSize;
  const size_t textSize = std::min(rest - tableSize, kScriptBufferSize);

  TForm1& e = Engine();
  e.EndClickMap();
  e.ctl.choiceMode = 0;
  ScriptState& s = e.script;
  for (size_t i = 0; i < textSize; ++i) s.scenario[i] = text[i] == '\n' ? 0 : text[i];
  s.scenarioSize = static_cast<int>(textSize);
  s.pc = 0;
  e.vars.S(15) = data[0] & 1;
  e.vars.S(160) = (data[0] >> 1) & 1;
  e.input.lastMouseX = data[0] * 3;
  e.input.lastMouseY = data[1] * 2;

  // The requested name: the first line of the script, at most eight bytes of it.
  std::string_view name(reinterpret_cast<const char*>(text), std::min<size_t>(textSize, 8));
  name = name.substr(0, std::min(name.find('\n'), name.size()));
  ClickMapTable map;
  FindClickMap(table, name, map);
  if (map.regionCount < 0 || map.regionCount > kClickMapSlots) __builtin_trap();

  e.ShowClickMap(table, name);
  for (int i = 0; i < 16; ++i) e.ClickMapHover((i * 97 + data[0]) % 840 - 20, (i * 61 + data[1]) % 640 - 20);
  for (int i = 0; i < (data[0] >> 4); ++i) e.ClickMapTimeoutTick();
  e.ClickChoice();
  if (s.pc < 0 || s.pc > s.scenarioSize) __builtin_trap();
  e.EndClickMap();
  return 0;
}
