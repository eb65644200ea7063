// One frame of each transition kind at 800 × 600: a whole transition runs on the headless host's
// virtual clock (its waits cost nothing) and its time is divided by the frames it showed. The
// "frame_time" counter is the cost of one shown frame; a frame of the engine lasts 20 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace {

// Counts the frames a transition puts on the window.
class CountingHost : public torvel::HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  void Present(const torvel::Bitmap& picture, const torvel::Rect& area) override {
    ++presents;
    HeadlessHost::Present(picture, area);
  }
  int64_t presents = 0;
};

struct Stage {
  CountingHost host{std::filesystem::temp_directory_path() / "torvel-bench-config"};
  std::unique_ptr<torvel::TForm1> engine;

  Stage() {
    engine = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{});
    torvel::TForm1& e = *engine;
    e.CreateScreenBuffers();
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        uint8_t* n = e.layers.screen.At(x, y);
        n[0] = static_cast<uint8_t>(x);
        n[1] = static_cast<uint8_t>(y);
        n[2] = static_cast<uint8_t>(x ^ y);
        uint8_t* w = e.layers.wipePattern.At(x, y);
        w[0] = w[1] = w[2] = static_cast<uint8_t>((x + y) / 6);
      }
    }
  }
};

void BM_TransitionFrame(benchmark::State& state) {
  Stage stage;
  torvel::TForm1& e = *stage.engine;
  const int kind = static_cast<int>(state.range(0));
  for (auto _ : state) {
    e.layers.previous.Fill(10, 20, 30);  // kinds 15 and 16 work in the old picture
    e.vars.S(29) = 18;
    e.RunTransition(kind);
    benchmark::ClobberMemory();
  }
  state.counters["frames"] =
      benchmark::Counter(static_cast<double>(stage.host.presents) / static_cast<double>(state.iterations()));
  state.counters["frame_time"] = benchmark::Counter(static_cast<double>(stage.host.presents),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TransitionFrame)->DenseRange(1, 24)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
