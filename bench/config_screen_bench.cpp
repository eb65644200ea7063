// The configuration screen of the demo game: DrawConfigScreen, which runs on every step of a
// slider drag, and one frame of the opening squeeze, each against the 20 ms frame.
#include <benchmark/benchmark.h>

#include "demo_game.h"

namespace torvel::bench {
namespace {

DemoGame& Game() {
  static DemoGame game("torvel_bench_config_screen");
  return game;
}

// The demo's screen pictures, loaded as the opening loads them, and the game's picture beneath.
void SetUpScreen(TForm1& e) {
  if (e.configScreen.normal.Empty()) e.LoadConfigPictures();
  e.configScreen.source = e.layers.screen;
  // Every cell group lit, the knobs mid-way.
  e.settings.SE = {1, 1, 1, 1, 1};
  e.settings.Vol1 = -1500;
  e.vars.S(27) = 5;
  e.configScreen.autoKnobOffset = 100;
}

void BM_DrawConfigScreen(benchmark::State& state) {
  TForm1& e = *Game().engine;
  SetUpScreen(e);
  for (auto _ : state) {
    e.DrawConfigScreen();
    benchmark::DoNotOptimize(e.layers.screen.pixels.data());
  }
  CountFrameFraction(state);
}
BENCHMARK(BM_DrawConfigScreen);

void BM_ConfigSqueezeFrame(benchmark::State& state) {
  TForm1& e = *Game().engine;
  SetUpScreen(e);
  e.DrawConfigScreen();
  for (auto _ : state) {
    e.ShowConfigSqueeze(288);
    benchmark::DoNotOptimize(e.layers.work.pixels.data());
  }
  CountFrameFraction(state);
}
BENCHMARK(BM_ConfigSqueezeFrame);

}  // namespace
}  // namespace torvel::bench
