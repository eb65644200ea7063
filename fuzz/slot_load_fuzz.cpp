// A damaged slot file loaded into a running game. The input overwrites a real save of a small
// game from an offset it names (its first three bytes), so the reader gets past the names a load
// checks; the engine then loads it, takes a click and runs a frame.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "graphics/bitmap.h"
#include "graphics/packed_picture_encoder.h"
#include "platform/headless/headless_host.h"
#include "resources/archive_writer.h"
#include "resources/file_io.h"
#include "screens/slot_image.h"
#include "shell/engine.h"

namespace {

constexpr const char* kMain =
    "!S000=0\n!S028=1\n@gra S123,1\n@spr BC01,BC01\n>speaker\nline one of text\n\\\n"
    "@call sub\n@select\n{a\n\\chosen a\n{b\n\\chosen b\n}\nlast line\n\\\n";
constexpr const char* kSub = "sub text\n\\\n@end\n";

struct Harness {
  std::filesystem::path dir;
  std::unique_ptr<torvel::HeadlessHost> host;
  std::unique_ptr<torvel::TForm1> engine;
  std::vector<uint8_t> base;

  Harness() {
    // In memory where there is such a folder: a load syncs several files to the disk.
    std::error_code ec;
    const std::filesystem::path memory = std::filesystem::is_directory("/dev/shm", ec)
                                             ? std::filesystem::path("/dev/shm")
                                             : std::filesystem::temp_directory_path();
    dir = memory / ("torvel-fuzz-load-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::vector<uint8_t> bytes;
    torvel::BuildDataArchive({{"main", torvel::ScriptTextToBody(kMain)}, {"sub", torvel::ScriptTextToBody(kSub)}},
                             bytes);
    torvel::WriteFileAtomically(dir / "tq_data.tvx", bytes);
    torvel::Bitmap sprite(50, 100);
    sprite.Fill(200, 100, 0);
    const torvel::PackedStages stages{true, true};
    torvel::BuildGeneralArchive(
        {{"BC01", torvel::EncodePackedPicture(sprite, stages)}, {"MC01", torvel::EncodePackedPicture(sprite, stages)}},
        32, bytes);
    torvel::WriteFileAtomically(dir / "tq_gra.tvx", bytes);
    host = std::make_unique<torvel::HeadlessHost>(dir / "config");
    engine = std::make_unique<torvel::TForm1>(*host, torvel::EngineOptions{dir, 1, true});
    host->Attach(engine.get());
    host->Start();
    host->RunUntilSettled(2000);
    std::filesystem::create_directories(engine->SlotFile(2).parent_path());
    // Every picture change a cut: the load's transition would otherwise take most of a run.
    engine->settings.GMode = 1;
    base = engine->BuildSlotImage("base");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Harness h;
  if (size < 3) return 0;
  std::vector<uint8_t> file = h.base;
  const size_t offset = (data[0] | data[1] << 8 | static_cast<size_t>(data[2]) << 16) % torvel::kSlotFileSize;
  const size_t n = std::min(size - 3, file.size() - offset);
  std::copy_n(data + 3, n, file.begin() + static_cast<std::ptrdiff_t>(offset));
  // Some inputs cut the file short at the end of what they wrote.
  if (data[2] & 0x80) file.resize(offset + n);
  torvel::WriteFileAtomically(h.engine->SlotFile(2), file);
  torvel::TForm1& e = *h.engine;
  if (e.LoadGame(2, true)) {
    // The loaded position goes on: a click, then a step from wherever the load left the line.
    e.PBMouseDown(torvel::MouseButton::Left, torvel::ShiftState{}, 400, 300);
    e.PBMouseUp(torvel::MouseButton::Left, torvel::ShiftState{}, 400, 300);
    e.ctl.waitKind = 0;
    e.ctl.sleepTicks = 0;
    h.host->RunFrame();
  }
  return 0;
}
