// The blend kernels on whole 800 × 600 screens (1.44 MB of result), in each of their forms,
// beside memcpy of the same bytes as the yardstick. Every benchmark reports the result bytes a
// second, so a kernel's ratio to memcpy is the ratio of those figures.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "graphics/kernel_rows.h"
#include "graphics/kernels.h"
#include "picture_samples.h"

namespace torvel::bench {
namespace {

constexpr int64_t kScreenBytes = 800 * 600 * 3;

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint8_t> from(kScreenBytes, 7), to(kScreenBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kScreenBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kScreenBytes);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

struct Screens {
  Bitmap a, b, d;
  Bitmap pattern, wipe;  // a rule-wipe pattern (a diagonal ramp) and its mask half-way through
  Bitmap sprite, spriteMask, sideBySide, stacked;
  Screens() {
    a = SampleBackground();
    b = a;
    for (uint8_t& v : b.pixels) v = static_cast<uint8_t>(255 - v);
    d = Bitmap(800, 600);
    SampleSprite(800, 600, sprite, spriteMask);
    pattern = Bitmap(800, 600);
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        uint8_t v = static_cast<uint8_t>((x + y) * 255 / 1399);
        uint8_t* p = pattern.At(x, y);
        p[0] = p[1] = p[2] = v;
      }
    }
    wipe = Bitmap(800, 600);
    Dim(pattern, wipe, 128);
    sideBySide = Bitmap(1600, 600);
    stacked = Bitmap(800, 1200);
    for (int y = 0; y < 600; ++y) {
      std::memcpy(sideBySide.Row(y), sprite.Row(y), 2400);
      std::memcpy(sideBySide.At(800, y), spriteMask.Row(y), 2400);
      std::memcpy(stacked.Row(y), sprite.Row(y), 2400);
      std::memcpy(stacked.Row(600 + y), spriteMask.Row(y), 2400);
    }
  }
};

Screens& Shared() {
  static Screens screens;
  return screens;
}

// Runs `kernel` once per iteration with the row loops of the form given as the argument
// (0 portable, 1 SSE2, 2 AVX2).
void RunKernel(benchmark::State& state, const std::function<void(Screens&)>& kernel) {
  KernelLevel level = static_cast<KernelLevel>(state.range(0));
  if (level > BestKernelLevel()) {
    state.SkipWithError("this processor lacks the form");
    return;
  }
  UseKernelLevel(level);
  Screens& s = Shared();
  for (auto _ : state) {
    kernel(s);
    benchmark::DoNotOptimize(s.d.pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kScreenBytes);
  UseKernelLevel(BestKernelLevel());
}

#define TORVEL_KERNEL_BENCH(name, body)                                               \
  void BM_##name(benchmark::State& state) { RunKernel(state, [](Screens & s) body); } \
  BENCHMARK(BM_##name)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)

// A rule wipe half-way: half the mask is clear, the other half graded.
TORVEL_KERNEL_BENCH(MaskBlendScreenWipe, { MaskBlendScreen(s.a, s.b, s.wipe, s.d); });
// The worst case: every mask byte graded, so every byte needs both products.
TORVEL_KERNEL_BENCH(MaskBlendScreenGraded, { MaskBlendScreen(s.a, s.b, s.pattern, s.d); });
// Fades step their opacity in multiples of eight; other opacities take the general path.
TORVEL_KERNEL_BENCH(CrossfadeEven, { Crossfade(s.a, s.b, 96, s.d); });
TORVEL_KERNEL_BENCH(CrossfadeOdd, { Crossfade(s.a, s.b, 97, s.d); });
TORVEL_KERNEL_BENCH(CrossfadeTileWholeScreen, {
  for (int y = 0; y < 600; y += 60)
    for (int x = 0; x < 800; x += 80) CrossfadeTile(s.a, s.b, s.d, x, y, 96);
});
TORVEL_KERNEL_BENCH(Darken, { Darken(s.a, s.d, 100); });
TORVEL_KERNEL_BENCH(AddImages, { AddImages(s.a, s.b, s.d); });
TORVEL_KERNEL_BENCH(Brighten, { Brighten(s.a, s.d, 40); });
TORVEL_KERNEL_BENCH(Dim, { Dim(s.a, s.d, 40); });
TORVEL_KERNEL_BENCH(BlendRowsMasked, {
  for (int y = 0; y < 600; ++y) BlendRowsMasked(s.a.Row(y), s.sprite.Row(y), 300, s.spriteMask.Row(y), s.d.Row(y));
});
TORVEL_KERNEL_BENCH(BlendRowsMaskedPixels, {
  for (int y = 0; y < 600; ++y)
    BlendRowsMaskedPixels(s.a.Row(y), s.sprite.Row(y), 799, s.spriteMask.Row(y), s.d.Row(y));
});
TORVEL_KERNEL_BENCH(BlendRowsAlpha, {
  SetBlendAlpha(96);
  for (int y = 0; y < 600; ++y) BlendRowsAlpha(s.a.Row(y), s.b.Row(y), 300, s.d.Row(y));
});
TORVEL_KERNEL_BENCH(BlendRowsConstant, {
  for (int y = 0; y < 600; ++y) BlendRowsConstant(s.a.Row(y), s.b.Row(y), 300, 96, s.d.Row(y));
});
TORVEL_KERNEL_BENCH(BlendRowsAlphaPixels, {
  for (int y = 0; y < 600; ++y) BlendRowsAlphaPixels(s.a.Row(y), s.b.Row(y), 800, 96, s.d.Row(y));
});
// The sprite drawers blend a whole-screen sprite onto the screen in place; what the screen holds
// does not change the work.
TORVEL_KERNEL_BENCH(DrawMasked, { DrawMasked(s.d, s.sprite, 0, 0, s.spriteMask); });
TORVEL_KERNEL_BENCH(DrawSideBySide, { DrawSideBySide(s.d, 0, s.sideBySide, 0); });
TORVEL_KERNEL_BENCH(DrawStacked, { DrawStacked(s.d, 0, s.stacked, 0); });

}  // namespace
}  // namespace torvel::bench
