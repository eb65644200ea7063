// One frame of the enlarging animation player against its period: a 640 × 480 clip of key frames
// played on the headless host's virtual clock (its waits cost nothing), so the time per frame is
// the JPEG decode, the 5/4 enlargement and the copy to the window. A frame of 30 frames a second
// lasts 33.3 ms; "period_share" is the part of it one frame takes. The enlargement rules alone
// are measured beside it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "graphics/animation_enlarge.h"
#include "graphics/animation_entry.h"
#include "graphics/jpeg_encoder.h"
#include "platform/headless/headless_host.h"
#include "resources/archive_writer.h"
#include "resources/file_io.h"
#include "shell/engine.h"

namespace {

constexpr int kFrames = 30;
constexpr double kPeriodMs = 1000.0 / 30.0;

// A picture with the detail of a real scene: soft gradients with a fine ripple.
torvel::Bitmap Scene(int w, int h, int phase) {
  torvel::Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(128 + 100 * std::sin((x + phase * 7) * 0.031) * std::cos(y * 0.017));
      p[1] = static_cast<uint8_t>((x * 255) / w);
      p[2] = static_cast<uint8_t>(((y + phase * 5) * 3) & 0xFF);
    }
  }
  return b;
}

struct Stage {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "torvel-bench-animation";
  torvel::HeadlessHost host{dir / "config"};
  std::unique_ptr<torvel::TForm1> engine;

  Stage() {
    std::filesystem::create_directories(dir);
    torvel::AnimationBlueprint b;
    b.header.interval = 33;
    b.header.width = 640;
    b.header.height = 480;
    for (int i = 0; i < kFrames; ++i) {
      b.pictures.push_back(torvel::EncodeJpeg(Scene(640, 480, i), torvel::JpegEncodeOptions{90, false, false}));
      b.frames.push_back({torvel::kKeyFrame, 0, 0, i});
    }
    std::vector<uint8_t> entry, archive;
    torvel::BuildAnimationEntry(b, entry);
    torvel::BuildGeneralArchive({torvel::ArchiveEntry{"CLIP", entry}}, 32, archive);
    torvel::WriteFileAtomically(dir / "tq_anim.tvx", archive);
    engine = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{dir, 1});
    host.Attach(engine.get());
    engine->CreateScreenBuffers();
    engine->archives.anim[0] = torvel::ReadArchiveIndex(dir / "tq_anim.tvx", torvel::ArchiveLayout::General);
  }
};

void BM_EnlargedAnimationFrame(benchmark::State& state) {
  Stage stage;
  torvel::TForm1& e = *stage.engine;
  for (auto _ : state) {
    e.script.lineBuffer = "@animq CLIP,0,0,0";
    e.ExecuteCommandLine();
    benchmark::ClobberMemory();
  }
  const double frames = static_cast<double>(state.iterations()) * kFrames;
  state.counters["frame_time"] = benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["drawn"] = e.animation.drawn;
  state.counters["period_share"] =
      benchmark::Counter(frames * kPeriodMs / 1000.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetLabel("30 key frames of 640x480 per iteration");
}
BENCHMARK(BM_EnlargedAnimationFrame)->Unit(benchmark::kMillisecond);

void BM_Enlarge(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  torvel::Picture32 frame, out;
  frame.Resize(w, h);
  for (size_t i = 0; i < frame.pixels.size(); ++i) frame.pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  out.Resize(2 * w, 2 * h);
  for (auto _ : state) {
    torvel::Enlarge(frame, out);
    benchmark::DoNotOptimize(out.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_Enlarge)->Args({640, 480})->Args({320, 240})->Args({400, 300})->Unit(benchmark::kMicrosecond);

}  // namespace
