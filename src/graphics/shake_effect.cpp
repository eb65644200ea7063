// `shake`: the picture jumps from side to side (or up and down, or in random directions) and
// settles as the amplitude shrinks by 2 each period.
#include <array>

#include "graphics/effect_support.h"
#include "graphics/picture_arguments.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kDefaultAmplitude = 20;
constexpr int kDefaultPeriodMs = 50;
enum ShakeType { kVertical = 0, kHorizontal = 1, kRandom = 2 };
// The eight directions of the random shake: up, then clockwise.
constexpr std::array<Point, 8> kDirections{{{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};

}  // namespace

int TForm1::CmdShake(std::string_view arg) {
  if (ctl.skipActive && settings.EFX_CUT != 0) return 1;
  const std::vector<std::string_view> f = SplitEffectFields(arg);
  const int type = ReadNumber(f[0]);
  const int64_t amplitude = f.size() > 1 && !f[1].empty() ? ReadNumber(f[1]) : kDefaultAmplitude;
  const int period = f.size() > 2 && !f[2].empty() ? ReadNumber(f[2]) : kDefaultPeriodMs;

  BlockingEffect blocking(ctl);
  StartFrameClock();
  for (int64_t a = amplitude; a > 0;) {
    // Beyond the screen's size every shift looks the same: all black.
    const int reach = static_cast<int>(std::min<int64_t>(a, kScreenWidth));
    const int signedReach = (a & 2) != 0 ? reach : -reach;
    switch (type) {
      case kVertical: DrawShifted(0, signedReach); break;
      case kHorizontal: DrawShifted(signedReach, 0); break;
      case kRandom: {
        const Point d = kDirections[static_cast<size_t>(random.Next() & 7)];
        DrawShifted(d.x * reach, d.y * reach);
        break;
      }
      default: break;
    }
    a -= 2 * int64_t{PaceFrame(period)};
    if (blocking.Cut()) {
      vars.S(kVarEffectCut) = 1;
      break;
    }
  }
  DrawShifted(0, 0);
  return 1;
}

}  // namespace torvel
