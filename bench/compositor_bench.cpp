// One whole presentation (background, three masked sprites, a side-by-side overlay) into the
// screen buffer, against a plain copy of the screen.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace {

using torvel::Bitmap;

constexpr int kSpriteW = 300;
constexpr int kSpriteH = 550;

// A sprite whose mask is clear around an opaque ellipse with a soft edge, like a character.
void MakeSprite(torvel::SpriteSlot& slot, uint8_t shade) {
  slot.picture.Resize(kSpriteW, kSpriteH);
  slot.mask.Resize(kSpriteW, kSpriteH);
  for (int y = 0; y < kSpriteH; ++y) {
    for (int x = 0; x < kSpriteW; ++x) {
      double dx = (x - kSpriteW / 2.0) / (kSpriteW / 2.0);
      double dy = (y - kSpriteH / 2.0) / (kSpriteH / 2.0);
      double r = dx * dx + dy * dy;
      uint8_t m = r < 0.8 ? 255 : r < 1.0 ? static_cast<uint8_t>((1.0 - r) * 1275) : 0;
      uint8_t* p = slot.picture.At(x, y);
      uint8_t* q = slot.mask.At(x, y);
      p[0] = static_cast<uint8_t>(x + shade);
      p[1] = static_cast<uint8_t>(y);
      p[2] = shade;
      q[0] = q[1] = q[2] = m;
    }
  }
}

struct Scene {
  torvel::HeadlessHost host{std::filesystem::temp_directory_path() / "torvel-bench-config"};
  std::unique_ptr<torvel::TForm1> engine;

  Scene() {
    engine = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{});
    torvel::TForm1& e = *engine;
    e.CreateScreenBuffers();
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        uint8_t* p = e.layers.background.At(x, y);
        p[0] = static_cast<uint8_t>(x);
        p[1] = static_cast<uint8_t>(y);
        p[2] = static_cast<uint8_t>(x ^ y);
      }
    }
    for (int i = 0; i < 3; ++i) {
      MakeSprite(e.layers.cache[static_cast<size_t>(i)], static_cast<uint8_t>(60 * i));
      e.layers.cache[static_cast<size_t>(i)].key = "B0" + std::to_string(i);
      e.layers.positionNames[static_cast<size_t>(i)] = e.layers.cache[static_cast<size_t>(i)].key;
      e.layers.positionSlots[static_cast<size_t>(i)] = i;
    }
    e.layers.spriteCount = 3;
    // An 800 × 200 overlay along the bottom, colour and mask side by side.
    e.layers.overlay.Resize(1600, 200);
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 1600; ++x) {
        uint8_t* p = e.layers.overlay.At(x, y);
        uint8_t v = x < 800 ? static_cast<uint8_t>(x) : static_cast<uint8_t>(y);
        p[0] = p[1] = p[2] = v;
      }
    }
    e.vars.S(torvel::kVarOverlaySet) = 1;
    e.vars.S(torvel::kVarOverlayOrder) = 1;
    e.vars.S(torvel::kVarOverlayOpacity) = 0;
    e.vars.S(torvel::kVarOverlayLeft) = 0;
    e.vars.S(torvel::kVarOverlayTop) = 400;
  }
};

void BM_PresentScene(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.engine->PresentScene(1);
    benchmark::DoNotOptimize(scene.engine->layers.screen.pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 800 * 600 * 3);
}
BENCHMARK(BM_PresentScene);

void BM_ComposeSceneAndScreen(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.engine->ComposeScene();
    scene.engine->ComposeScreen();
    benchmark::DoNotOptimize(scene.engine->layers.screen.pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 800 * 600 * 3);
}
BENCHMARK(BM_ComposeSceneAndScreen);

void BM_ScreenMemcpy(benchmark::State& state) {
  Bitmap from(800, 600), to(800, 600);
  std::memset(from.pixels.data(), 0x5A, from.pixels.size());
  for (auto _ : state) {
    std::memcpy(to.pixels.data(), from.pixels.data(), from.pixels.size());
    benchmark::DoNotOptimize(to.pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 800 * 600 * 3);
}
BENCHMARK(BM_ScreenMemcpy);

}  // namespace
