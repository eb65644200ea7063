// Saving and loading against a plain copy of the screen buffer: building a slot file with its
// thumbnail, reading one back and checking it as a load does, and a whole quick save of the demo
// (files synced to the disk included).
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "demo_game.h"
#include "platform/headless/headless_host.h"
#include "resources/file_io.h"
#include "screens/slot_check.h"
#include "screens/slot_image.h"
#include "shell/engine.h"

namespace {

struct Story : torvel::bench::DemoGame {
  Story() : DemoGame("torvel-bench-saves") {
    engine->vars.S(0) = 0;
    engine->vars.S(28) = 1;
  }
};

void BM_ScreenBufferCopy(benchmark::State& state) {
  torvel::Bitmap screen(800, 600), copy(800, 600);
  for (size_t i = 0; i < screen.pixels.size(); ++i) screen.pixels[i] = static_cast<uint8_t>(i * 7);
  for (auto _ : state) {
    std::memcpy(copy.pixels.data(), screen.pixels.data(), screen.pixels.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(screen.pixels.size()));
}
BENCHMARK(BM_ScreenBufferCopy);

void BM_Thumbnail(benchmark::State& state) {
  torvel::Bitmap scene(800, 600);
  for (size_t i = 0; i < scene.pixels.size(); ++i) scene.pixels[i] = static_cast<uint8_t>(i * 7);
  std::vector<uint8_t> out(torvel::kThumbnailBytes);
  for (auto _ : state) {
    torvel::MakeThumbnail(scene, std::span<uint8_t, torvel::kThumbnailBytes>(out.data(), torvel::kThumbnailBytes));
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_Thumbnail);

void BM_BuildSlotImage(benchmark::State& state) {
  Story story;
  for (auto _ : state) {
    std::vector<uint8_t> image = story.engine->BuildSlotImage("");
    benchmark::DoNotOptimize(image.data());
  }
}
BENCHMARK(BM_BuildSlotImage);

void BM_ReadAndCheckSlot(benchmark::State& state) {
  Story story;
  const std::vector<uint8_t> bytes = story.engine->BuildSlotImage("");
  for (auto _ : state) {
    std::unique_ptr<torvel::SlotImage> image = torvel::DecodeSlotImage(bytes);
    benchmark::DoNotOptimize(story.engine->CheckSlotForLoad(*image));
  }
}
BENCHMARK(BM_ReadAndCheckSlot);

void BM_ReadSlotFileForLoad(benchmark::State& state) {
  Story story;
  story.engine->SaveGame(1, true);
  for (auto _ : state) benchmark::DoNotOptimize(story.engine->ReadSlotForLoad(1));
}
BENCHMARK(BM_ReadSlotFileForLoad);

void BM_QuickSave(benchmark::State& state) {
  Story story;
  for (auto _ : state) story.engine->QuickSave();
}
BENCHMARK(BM_QuickSave)->Unit(benchmark::kMillisecond);

}  // namespace
