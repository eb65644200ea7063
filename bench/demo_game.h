#pragma once
// A started copy of the built demo game for benchmarks that need a whole engine: the copy keeps
// a benchmark's saves and settings out of the build's game folder, and is removed afterwards.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace torvel::bench {

struct DemoGame {
  std::filesystem::path dir;
  std::unique_ptr<HeadlessHost> host;
  std::unique_ptr<TForm1> engine;

  explicit DemoGame(const char* folderName) : dir(std::filesystem::temp_directory_path() / folderName) {
    std::filesystem::remove_all(dir);
    std::filesystem::copy(TORVEL_DEMO_DIR, dir, std::filesystem::copy_options::recursive);
    host = std::make_unique<HeadlessHost>(dir / "config");
    engine = std::make_unique<TForm1>(*host, EngineOptions{dir, 1, true});
    host->Attach(engine.get());
    host->Start();
    host->RunUntilSettled(2000);
  }
  ~DemoGame() {
    engine.reset();
    std::filesystem::remove_all(dir);
  }
};

// Reports the time of one iteration as a share of the engine's 20 ms frame.
inline void CountFrameFraction(benchmark::State& state) {
  state.counters["frame_fraction"] = benchmark::Counter(static_cast<double>(state.iterations()) * 0.020,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace torvel::bench
