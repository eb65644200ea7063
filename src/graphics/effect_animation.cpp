// `efxanim NAME[,period[,frame,…]]`: a numbered series of pictures, each its colour beside its
// mask ("NAME_000", "NAME_001", …), blended one after another over the screen picture.
#include <cstdio>
#include <string>

#include "graphics/effect_support.h"
#include "graphics/kernels.h"
#include "graphics/picture_arguments.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kDefaultPeriodMs = 50;
constexpr int64_t kLastFrameIndex = 99;
constexpr size_t kNameMax = 63;

}  // namespace

int TForm1::CmdEfxanim(std::string_view arg) {
  const std::vector<std::string_view> f = SplitEffectFields(arg);
  const std::string name(SjisCut(f[0], kNameMax));
  const int period = f.size() > 1 && !f[1].empty() ? ReadNumber(f[1]) : kDefaultPeriodMs;
  std::vector<int> frames;
  if (f.size() > 2) {
    for (size_t i = 2; i < f.size() && !f[i].empty() && frames.size() <= kLastFrameIndex; ++i) {
      frames.push_back(ReadNumber(f[i]));
    }
  } else {
    for (int i = 0; i <= kLastFrameIndex; ++i) frames.push_back(i);
  }

  const Rect all{0, 0, kScreenWidth, kScreenHeight};
  // A scratch picture of its own: the transition buffers keep their size.
  Bitmap picture;
  BlockingEffect blocking(ctl);
  StartFrameClock();
  for (int64_t k = 0; k < static_cast<int64_t>(frames.size()) && k <= kLastFrameIndex;) {
    char pictureName[96];
    std::snprintf(pictureName, sizeof pictureName, "%s_%03d", name.c_str(), frames[static_cast<size_t>(k)]);
    if (!LoadImage(pictureName, picture)) break;
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
