// Arbitrary `obj_` lines: the sub-commands, their fields and expressions, drawing objects of two
// sizes anywhere, the frame waits and the off-screen buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/headless/headless_host.h"
#include "scenes/object_control.h"
#include "shell/engine.h"

namespace {

torvel::TForm1& Engine() {
  static torvel::HeadlessHost host(std::filesystem::temp_directory_path() / "torvel-fuzz-config");
  static std::unique_ptr<torvel::TForm1> engine = [] {
    auto e = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{});
    e->CreateScreenBuffers();
    return e;
  }();
  return *engine;
}

void Fill(torvel::ObjectSlot& slot, int w, int h) {
  slot.inUse = true;
  slot.name = "OBJ";
  slot.picture.Resize(w, h * 2);
  for (size_t i = 0; i < slot.picture.pixels.size(); ++i) slot.picture.pixels[i] = static_cast<uint8_t>(i * 31);
  slot.work.Resize(w, h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  TForm1& e = Engine();
  e.ResetObjects();
  Fill(e.objects.slot[0], 13, 9);
  Fill(e.objects.slot[31], 40, 30);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t pos = 0;
  for (int line = 0; line < 12 && pos <= text.size(); ++line) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    MatchObjectCommand(text.substr(pos, end - pos));
    SplitObjectFields(text.substr(pos, end - pos));
    e.CmdObj(text.substr(pos, end - pos));
    pos = end + 1;
  }
  if (e.ctl.blockingScene) __builtin_trap();
  return 0;
}
