// The music tick on the demo's track (22.05 kHz stereo): a tick that refills one second of the
// ring from the archive file, and a tick with nothing to refill.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace {

constexpr int kOneBlockMs = 1000;

void MusicTick(benchmark::State& state) {
  const bool refill = state.range(0) != 0;
  std::filesystem::path settings = std::filesystem::temp_directory_path() / "torvel-bench-settings";
  torvel::HeadlessHost host(settings);
  torvel::TForm1 engine(host, torvel::EngineOptions{TORVEL_DEMO_DIR, 1});
  host.Attach(&engine);
  host.Start();
  host.RunUntilSettled(2000);
  if (!host.Sound().Status(torvel::kMusicSlot).playing) {
    state.SkipWithError("the demo plays no music");
    return;
  }
  for (auto _ : state) {
    // Moving the clock one block on makes the next tick refill exactly one block.
    if (refill) host.Sleep(kOneBlockMs);
    engine.MusicTick();
  }
  host.Sound().ClearCalls();
}
BENCHMARK(MusicTick)->ArgName("refill")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
