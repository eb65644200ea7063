// The save and load screen's drawing: a page of ten used slots (plates, label reads and texts on
// the screen buffer and the highlight canvas), and one frame of its reveal. A frame is 20 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "demo_game.h"
#include "graphics/kernels.h"
#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace {

struct ScreenStory : torvel::bench::DemoGame {
  ScreenStory() : DemoGame("torvel-bench-save-screen") {
    torvel::GameConfig& c = engine->config;
    c.SV_POS.clear();
    for (int i = 0; i < 10; ++i) {
      c.SV_POS.push_back(40 + (i % 2) * 380);
      c.SV_POS.push_back(40 + (i / 2) * 100);
    }
    c.SV_OFS = {10, 4};
    c.SV_SLOT_SIZE = {360, 90};
    c.SV_FORMAT = "No.%0\\%1 %2\\12%3";
    c.SV_EMPTY = "No.%0\\  ----";
    torvel::SaveScreenState& s = engine->saveScreen;
    s.background.Resize(800, 600);
    s.highlighted.Resize(800, 600);
    s.canvas.Resize(800, 600);
    s.plate.Resize(720, 90);
    s.plate.Fill(200, 100, 50);
    s.plateHighlighted = s.plate;
    s.hasPlates = true;
    for (int slot = 1; slot <= 10; ++slot) engine->SaveGame(slot, true);
  }
};

void BM_DrawSaveSlotsTenUsed(benchmark::State& state) {
  ScreenStory story;
  for (auto _ : state) {
    story.engine->DrawSaveSlots();
    benchmark::ClobberMemory();
  }
  torvel::bench::CountFrameFraction(state);
}
BENCHMARK(BM_DrawSaveSlotsTenUsed)->Unit(benchmark::kMicrosecond);

// One reveal frame at a = 128: the picture before copied into the work buffer, then 472 rows of
// 672 pixels blended over it.
void BM_RevealFrame(benchmark::State& state) {
  torvel::Bitmap previous(800, 600), screen(800, 600), work(800, 600);
  for (size_t i = 0; i < screen.pixels.size(); ++i) screen.pixels[i] = static_cast<uint8_t>(i * 7);
  const int a = 128;
  for (auto _ : state) {
    work.pixels = previous.pixels;
    const int shift = 256 - a;
    for (int y = 0; y < a + 344; ++y) {
      torvel::BlendRowsConstant(work.Row(y), screen.At(shift, y + shift), (a + 544) * 3 / 8, a, work.Row(y));
    }
    benchmark::ClobberMemory();
  }
  torvel::bench::CountFrameFraction(state);
}
BENCHMARK(BM_RevealFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
