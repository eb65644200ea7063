// `effect NAME`: a sequence of flashes, colour fills, tints, negatives and window movements read
// from the definition file "effect", each step shown for its duration on the frame clock.
#include <algorithm>
#include <cstdint>

#include "graphics/effect_definitions.h"
#include "graphics/effect_support.h"
#include "graphics/kernels.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr char kEffectFile[] = "effect";
const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

void Negative(const Bitmap& screen, Bitmap& out) {
  const size_t n = std::min(screen.pixels.size(), out.pixels.size());
  for (size_t i = 0; i < n; ++i) out.pixels[i] = static_cast<uint8_t>(255 - screen.pixels[i]);
}

// work = (colour × opacity + screen × (256 − opacity)) >> 8 on every byte.
void Tint(const Bitmap& screen, const EffectStep& step, Bitmap& out) {
  const int rows = std::min(screen.height, out.height);
  const int width = std::min(screen.width, out.width);
  std::vector<uint8_t> colour(static_cast<size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    colour[static_cast<size_t>(x) * 3] = step.b;
    colour[static_cast<size_t>(x) * 3 + 1] = step.g;
    colour[static_cast<size_t>(x) * 3 + 2] = step.r;
  }
  for (int y = 0; y < rows; ++y) BlendRowsAlphaPixels(screen.Row(y), colour.data(), width, step.opacity, out.Row(y));
}

}  // namespace

int TForm1::CmdEffect(std::string_view arg) {
  if (ctl.skipActive && settings.EFX_CUT != 0) return 1;
  while (!arg.empty() && arg.back() == ' ') arg.remove_suffix(1);
  while (!arg.empty() && arg.front() == ' ') arg.remove_prefix(1);
  if (arg.empty() || !LoadScript(kEffectFile, 2)) return 1;
  const std::vector<EffectStep> steps =
      ReadEffectEntry(std::span<const uint8_t>(script.aux.data(), static_cast<size_t>(script.auxSize)), SjisUpper(arg));
  if (steps.empty()) return 1;

  const Point home = host.WindowPos();
  Bitmap& work = layers.work;
  BlockingEffect blocking(ctl);
  StartFrameClock();
  for (const EffectStep& step : steps) {
    switch (step.kind) {
      case EffectStepKind::Screen: host.Present(layers.screen, kWholeScreen); break;
      case EffectStepKind::Fill:
        work.Fill(step.b, step.g, step.r);
        host.Present(work, kWholeScreen);
        break;
      case EffectStepKind::Tint:
        Tint(layers.screen, step, work);
        host.Present(work, kWholeScreen);
        break;
      case EffectStepKind::Negative:
        Negative(layers.screen, work);
        host.Present(work, kWholeScreen);
        break;
      case EffectStepKind::MoveWindow:
        host.MoveWindow(Point{static_cast<int>(std::clamp<int64_t>(int64_t{home.x} + step.x, INT32_MIN, INT32_MAX)),
                              static_cast<int>(std::clamp<int64_t>(int64_t{home.y} + step.y, INT32_MIN, INT32_MAX))});
        break;
    }
    PaceFrame(step.duration);
    if (blocking.Cut()) {
      vars.S(kVarEffectCut) = 1;
      break;
    }
  }
  host.Present(layers.screen, kWholeScreen);
  host.MoveWindow(home);
  return 1;
}

}  // namespace torvel
