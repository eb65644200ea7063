// A hostile data archive: the engine reads its index, loads every entry as the scenario and
// as a table, reads the table's lines and runs the scenario for a few frames.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>

#include "platform/headless/headless_host.h"
#include "scratch_folder.h"
#include "shell/engine.h"

namespace {

struct Harness {
  std::filesystem::path dir;
  std::unique_ptr<torvel::HeadlessHost> host;
  std::unique_ptr<torvel::TForm1> engine;

  Harness() {
    dir = torvel::fuzzing::ScratchFolder();
    host = std::make_unique<torvel::HeadlessHost>(dir / "config");
    engine = std::make_unique<torvel::TForm1>(*host, torvel::EngineOptions{dir, 1});
    host->Attach(engine.get());
    engine->CreateScreenBuffers();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Harness h;
  {
    std::ofstream out(h.dir / "tq_data.tvx", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  torvel::TForm1& e = *h.engine;
  e.OpenDataArchives();
  for (const std::string& name : e.archives.data.names) {
    if (e.LoadScript(name, 2)) {
      int pos = 0;
      while (!e.AuxAtEnd(pos)) e.ReadAuxLine(pos);
    }
    if (e.LoadScript(name, 1)) {
      e.ctl = torvel::EngineControl{};
      e.script.callDepth = 0;
      for (int i = 0; i < 8 && e.ctl.scriptRunning; ++i) {
        e.ctl.waitKind = 0;
        e.Step();
      }
    }
  }
  return 0;
}
