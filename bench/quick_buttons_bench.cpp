// The quick buttons drawn into the screen buffer (all 19 of 40 × 30, each blended from its sheet
// through a grey mask) against one whole ComposeScreen of the demo game.
#include <benchmark/benchmark.h>

#include "demo_game.h"

namespace torvel::bench {
namespace {

DemoGame& Game() {
  static DemoGame game("torvel_bench_quick_buttons");
  return game;
}

void SetUpButtons(TForm1& e) {
  for (int i = 0; i < kQuickButtonCount; ++i) {
    e.config.QB[static_cast<size_t>(i)] =
        QuickButtonConfig{2, 40, 30, 20 + 40 * (i % 19), 100 + (i % 3) * 40, 40 * i, 0};
  }
  Bitmap sheet(40 * kQuickButtonCount, 60);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < sheet.width; ++x) {
      uint8_t* p = sheet.At(x, y);
      p[0] = static_cast<uint8_t>(y < 30 ? x : 128);
      p[1] = static_cast<uint8_t>(y < 30 ? y * 7 : 128);
      p[2] = static_cast<uint8_t>(y < 30 ? 200 : 128);
    }
  }
  for (Bitmap& s : e.quickButtons.sheets) s = sheet;
  // Wherever the demo stands, the buttons are drawn as in the story with its window shown.
  e.text.windowShown = true;
  e.ctl.screenMode = smScenario;
  e.ctl.choiceMode = 0;
}

void BM_DrawQuickButtonsAll19(benchmark::State& state) {
  TForm1& e = *Game().engine;
  SetUpButtons(e);
  for (auto _ : state) {
    e.DrawQuickButtons(qbdScreen);
    benchmark::DoNotOptimize(e.layers.screen.pixels.data());
  }
  CountFrameFraction(state);
}
BENCHMARK(BM_DrawQuickButtonsAll19);

void BM_ComposeScreenWithQuickButtons(benchmark::State& state) {
  TForm1& e = *Game().engine;
  SetUpButtons(e);
  for (auto _ : state) {
    e.textWindow.cacheValid = false;
    e.ComposeScreen();
    benchmark::DoNotOptimize(e.layers.screen.pixels.data());
  }
  CountFrameFraction(state);
}
BENCHMARK(BM_ComposeScreenWithQuickButtons);

}  // namespace
}  // namespace torvel::bench
