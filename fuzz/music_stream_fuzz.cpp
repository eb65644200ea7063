// The engine's music stream fed a whole archive entry: the bytes are the track "M01" of the music
// archive, started by `music`, and the timer refills the ring a second at a time across the end
// of the data and the loop point, looping or played once as the last byte says.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/headless/headless_host.h"
#include "resources/archive_writer.h"
#include "scratch_folder.h"
#include "shell/engine.h"
#include "sound/wady_decoder.h"

namespace {

// Rates above this are allowed but make each run slow; the stream logic does not depend on it.
constexpr uint32_t kMaxFuzzRate = 4000;
constexpr int kTickMs = 250;
constexpr int kPlayedMs = 9000;  // past the four seconds of the ring, twice round it

struct Harness {
  torvel::HeadlessHost host{torvel::fuzzing::ScratchFolder() / "config"};
  std::unique_ptr<torvel::TForm1> engine;
  int archive = -1;  // the music archive lives in memory, read through its /proc name
  std::string archivePath;

  Harness() {
    engine = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{torvel::fuzzing::ScratchFolder(), 1});
    host.Attach(engine.get());
    archive = ::memfd_create("tq_bgm.tvx", MFD_CLOEXEC);
    if (archive < 0 || !engine->StartSoundDevice()) std::abort();
    archivePath = "/proc/self/fd/" + std::to_string(archive);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Harness h;
  torvel::TForm1& e = *h.engine;
  std::span<const uint8_t> entry(data, size);
  torvel::WadyHeader header;
  if (torvel::ReadWadyHeader(entry, header) && header.sampleRate > kMaxFuzzRate) return 0;

  std::vector<uint8_t> bytes;
  if (!torvel::BuildGeneralArchive({torvel::ArchiveEntry{"M01", std::vector<uint8_t>(data, data + size)}}, 32, bytes) ||
      ::ftruncate(h.archive, 0) != 0 ||
      ::pwrite(h.archive, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
    std::abort();
  }
  e.archives.bgm = torvel::ReadArchiveIndex(h.archivePath, torvel::ArchiveLayout::General);
  e.vars.S(57) = size > 0 ? data[size - 1] & 1 : 0;
  e.SetMusic(1);
  for (int t = 0; t < kPlayedMs; t += kTickMs) {
    h.host.Sleep(kTickMs);
    e.MusicTick();
  }
  e.SetMusic(0);
  h.host.Sound().ClearCalls();
  return 0;
}
