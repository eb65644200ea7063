// The picture commands from arbitrary argument text, on an engine without archives: sprite specs,
// backgrounds, `clrb`, overlays and parts; most of them compose and present the scene.
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
    // Small scene buffers keep a run cheap and put every picture near an edge; the compositor
    // clips to whatever size its buffers have.
    for (torvel::Bitmap* b : {&e->layers.background, &e->layers.scene, &e->layers.screen, &e->layers.previous}) {
      b->Resize(64, 48);
    }
    e->vars.S(torvel::kVarOverlayOrder) = 0;
    return e;
  }();
  return *engine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  torvel::TForm1& e = Engine();
  std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  // The first byte picks the command and some scene variables, so every path gets its turn.
  e.vars.S(torvel::kVarTintMode) = data[0] & 7;
  e.vars.S(torvel::kVarSpriteFlip) = data[0] >> 7;
  e.vars.S(torvel::kVarOverlayOpacity) = (data[0] & 0x40) ? 300 : 0;
  switch ((data[0] >> 3) & 7) {
    case 0: e.CmdSpr(text); break;
    case 1: e.CmdGra(text); break;
    case 2:
      e.CmdGrb(text);
      e.ComposeScene();
      break;
    case 3: e.CmdBg(text); break;
    case 4: e.CmdClrb(text); break;
    case 5: e.CmdOvr(text); break;
    case 6: e.CmdPartsload(text); break;
    default: e.CmdPtset(text); break;
  }
  return 0;
}
