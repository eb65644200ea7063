// Start-up of the headless engine on the bundled demo, up to its first idle frame.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace {

void BM_StartupToFirstFrame(benchmark::State& state) {
  std::filesystem::path demo = TORVEL_DEMO_DIR;
  std::filesystem::path settings = std::filesystem::temp_directory_path() / "torvel-bench-settings";
  for (auto _ : state) {
    torvel::HeadlessHost host(settings);
    torvel::TForm1 engine(host, torvel::EngineOptions{demo, 1});
    host.Attach(&engine);
    host.Start();
    host.RunFrame();
    benchmark::DoNotOptimize(engine.ctl.frameCounter);
  }
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace
