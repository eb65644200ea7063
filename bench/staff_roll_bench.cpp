// One slide-roll fade step at 800 × 600: the blend of the two buffers into the screen buffer
// alone at each kernel form, and the whole step as the frame loop and the timer run it (blend and
// copy to the headless window). The "of_frame" counter is the step's share of the 20 ms frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "graphics/kernel_rows.h"
#include "graphics/kernels.h"
#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace {

constexpr double kFrameSeconds = 0.020;

void FillPictures(torvel::Bitmap& a, torvel::Bitmap& b) {
  a.Resize(800, 600);
  b.Resize(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* p = a.At(x, y);
      uint8_t* q = b.At(x, y);
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = static_cast<uint8_t>(x ^ y);
      q[0] = static_cast<uint8_t>(255 - x);
      q[1] = static_cast<uint8_t>(x + y);
      q[2] = 77;
    }
  }
}

void SetFrameShare(benchmark::State& state) {
  state.counters["of_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFrameSeconds,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_SlideFadeBlend(benchmark::State& state) {
  const auto level = static_cast<torvel::KernelLevel>(state.range(0));
  if (level > torvel::BestKernelLevel()) {
    state.SkipWithError("this processor lacks the form");
    return;
  }
  torvel::UseKernelLevel(level);
  torvel::Bitmap a, b, screen(800, 600);
  FillPictures(a, b);
  int w = 0;
  for (auto _ : state) {
    torvel::CrossfadeTruncated(a, b, w, screen);
    w = (w + 7) & 255;
    benchmark::ClobberMemory();
  }
  torvel::UseKernelLevel(torvel::BestKernelLevel());
  SetFrameShare(state);
}
BENCHMARK(BM_SlideFadeBlend)->Arg(0)->Arg(1)->Arg(2)->ArgName("level");

void BM_SlideFadeStep(benchmark::State& state) {
  torvel::HeadlessHost host(std::filesystem::temp_directory_path() / "torvel-bench-config");
  auto engine = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{});
  torvel::TForm1& e = *engine;
  e.CreateScreenBuffers();
  torvel::StaffRoll& roll = e.staffRoll;
  FillPictures(roll.slide.a, roll.slide.b);
  roll.kind = torvel::RollKind::Slide;
  roll.slide.current = 1;
  roll.fadeSpeed = 1000000;  // a fade that never ends while the benchmark runs
  for (auto _ : state) {
    host.Sleep(20);
    e.StaffRollTick();
    benchmark::ClobberMemory();
  }
  roll.kind = torvel::RollKind::None;
  SetFrameShare(state);
}
BENCHMARK(BM_SlideFadeStep);

}  // namespace
