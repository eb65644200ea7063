// `efxanim NAME[,period[,frame,…]]`: a numbered series of pictures, each its colour beside its
// mask ("NAME_000", "NAME_001", …), blended one after another over the screen picture.
#include <cstdio>
#include <string>

#include "graphics/animation_arguments.h"
#include "graphics/effect_support.h"
#include "graphics/kernels.h"
#include "graphics/picture_arguments.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int64_t kLastFrameIndex = 99;

}  // namespace

int TForm1::CmdEfxanim(std::string_view arg) {
  const EffectAnimationArguments args = ParseEffectAnimationArguments(arg);
  const std::vector<int>& frames = args.frames;
  const int period = args.periodMs;

  const Rect all{0, 0, kScreenWidth, kScreenHeight};
  // A scratch picture of its own: the transition buffers keep their size.
  Bitmap picture;
  BlockingEffect blocking(ctl);
  StartFrameClock();
  for (int64_t k = 0; k < static_cast<int64_t>(frames.size()) && k <= kLastFrameIndex;) {
    if (!LoadImage(EffectAnimationFrameName(args.name, frames[static_cast<size_t>(k)]), picture)) break;
    layers.work.pixels = layers.screen.pixels;
    DrawSideBySide(layers.work, 0, picture, 0);
    host.Present(layers.work, all);
    k += PaceFrame(period);
    if (blocking.Cut()) {
      vars.S(kVarEffectCut) = 1;
      break;
    }
  }
  host.Present(layers.screen, all);
  return 1;
}

}  // namespace torvel
