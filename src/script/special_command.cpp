// `special`: the fixed screen effects (white flash, window shake, sepia flashback, completion
// percentage).
#include "script/special_command.h"

#include <algorithm>
#include <string>

#include "shell/engine.h"

namespace torvel {

namespace {

constexpr Rect kFullScreen{0, 0, kScreenWidth, kScreenHeight};
constexpr int kFlashCount = 7;
constexpr int kFlashMs = 20;
constexpr int kShakeFirst = 20;  // amplitudes 20, 18, …, 2
constexpr int kShakeOffset = 20;
constexpr int kShakeMs = 50;
constexpr int kSepiaFirstOpacity = 48;
constexpr int kSepiaOpacityStep = 8;
constexpr int kSepiaPeriodMs = 20;
constexpr int kFullOpacity = 256;

struct SceneRange {
  int first;
  int last;
};
constexpr SceneRange kSceneRanges[] = {{1, 38}, {101, 131}, {201, 250}, {301, 337}, {401, 444}, {501, 521}, {601, 607}};
constexpr int kSceneCount = 228;

// Where the percentage is drawn: right edge, top, glyph height.
constexpr int kPercentRight = 570;
constexpr int kPercentTop = 12;
constexpr int kPercentHeight = 32;

// What the window shows: read back from the host, or the screen buffer it was last given.
Bitmap WindowPicture(TForm1& e) {
  Bitmap shown;
  if (!e.host.ReadWindow(shown) || shown.width != kScreenWidth || shown.height != kScreenHeight) {
    shown = e.layers.screen;
  }
  return shown;
}

void WhiteFlash(TForm1& e) {
  const Bitmap saved = WindowPicture(e);
  Bitmap white(kScreenWidth, kScreenHeight);
  white.Fill(255, 255, 255);
  for (int i = 0; i < kFlashCount; ++i) {
    e.host.Present(white, kFullScreen);
    e.host.Sleep(kFlashMs);
    e.host.Present(saved, kFullScreen);
    e.host.Sleep(kFlashMs);
  }
}

void WindowShake(TForm1& e) {
  const Point home = e.host.WindowPos();
  for (int a = kShakeFirst; a >= 2; a -= 2) {
    const int offset = (a & 2) != 0 ? kShakeOffset : -kShakeOffset;
    e.host.MoveWindow(Point{home.x, home.y + offset});
    e.host.Sleep(kShakeMs);
  }
  e.host.MoveWindow(home);
}

// One stage of the flashback's cross-fade: d = (to × opacity + from × (256 − opacity)) >> 8 per
// byte, the constant-opacity blend.
void BlendConstant(const Bitmap& from, const Bitmap& to, int opacity, Bitmap& out) {
  out.Resize(from.width, from.height);
  const size_t n = std::min({from.pixels.size(), to.pixels.size(), out.pixels.size()});
  const unsigned a = static_cast<unsigned>(opacity);
  for (size_t i = 0; i < n; ++i) {
    out.pixels[i] = static_cast<uint8_t>((to.pixels[i] * a + from.pixels[i] * (kFullOpacity - a)) >> 8);
  }
}

void SepiaFlashback(TForm1& e) {
  e.ctl.blockingScene = true;
  Bitmap sepia = e.layers.scene;
  ToSepia(sepia);
  e.layers.screen = sepia;
  e.layers.scene = std::move(sepia);
  e.RedrawTextWindow();
  // Paced by 20 ms periods: a late frame advances the fade by every period it missed.
  Bitmap stage;
  uint32_t clock = e.host.TickCount();
  for (int opacity = kSepiaFirstOpacity; opacity < kFullOpacity;) {
    BlendConstant(e.layers.previous, e.layers.screen, opacity, stage);
    e.host.Present(stage, kFullScreen);
    e.host.PumpMessages();
    const uint32_t elapsed = e.host.TickCount() - clock;
    const int periods = elapsed < kSepiaPeriodMs ? 1 : static_cast<int>(elapsed / kSepiaPeriodMs) + 1;
    const uint32_t next = clock + static_cast<uint32_t>(periods * kSepiaPeriodMs);
    const int32_t wait = static_cast<int32_t>(next - e.host.TickCount());
    if (wait > 0) e.host.Sleep(wait);
    clock = next;
    opacity += kSepiaOpacityStep * periods;
  }
  e.host.Present(e.layers.screen, kFullScreen);
  e.ctl.blockingScene = false;
}

}  // namespace

void ToSepia(Bitmap& picture) {
  for (int y = 0; y < picture.height; ++y) {
    uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.width; ++x, p += 3) {
      const int g = (p[0] + p[1] + p[2]) / 3;
      p[0] = static_cast<uint8_t>(g / 4);
      p[1] = static_cast<uint8_t>(3 * g / 4);
      p[2] = static_cast<uint8_t>(g);
    }
  }
}

int CompletionPercent(const FlagSet& sceneFlags) {
  int seen = 0;
  for (const SceneRange& range : kSceneRanges) {
    for (int n = range.first; n <= range.last; ++n) seen += sceneFlags.Test(n) ? 1 : 0;
  }
  return seen * 100 / kSceneCount;
}

int TForm1::CmdSpecial(std::string_view arg) {
  if (ctl.skipActive && settings.EFX_CUT != 0) return 1;
  switch (arg.empty() ? '\0' : arg[0]) {
    case '0': WhiteFlash(*this); break;
    case '1': WindowShake(*this); break;
    case '3':
    case '4': SepiaFlashback(*this); break;
    case '6':
      DrawStringOnWindow(std::to_string(CompletionPercent(vars.E)), kPercentRight, kPercentTop, kPercentHeight);
      break;
    default: break;
  }
  return 1;
}

}  // namespace torvel
