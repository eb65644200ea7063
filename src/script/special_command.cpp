// `special`: the fixed screen effects (white flash, window shake, sepia flashback, completion
// percentage).
#include "script/special_command.h"

#include <algorithm>
#include <string>

#include "graphics/kernels.h"
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

// Lets the window show what was just presented, then holds it for `ms`. Without the pump a real
// window would not repaint before the wait, and the frame would never reach the screen.
void ShowFor(TForm1& e, int ms) {
  e.host.PumpMessages();
  e.host.Sleep(ms);
}

// The flash and the shake run as blocking loops: the frame loop, the timer's script work and
// closing wait for them, and input arriving while they pump is not taken as a click on the story.
class BlockingLoop {
 public:
  explicit BlockingLoop(TForm1& e) : e_(e), blocking_(e.ctl.blockingScene), menuLock_(e.ctl.menuLock) {
    e.ctl.blockingScene = true;
    e.SetMenuLock(true);
  }
  ~BlockingLoop() {
    e_.ctl.blockingScene = blocking_;
    e_.SetMenuLock(menuLock_);
  }
  BlockingLoop(const BlockingLoop&) = delete;
  BlockingLoop& operator=(const BlockingLoop&) = delete;

 private:
  TForm1& e_;
  bool blocking_;
  bool menuLock_;
};

void WhiteFlash(TForm1& e) {
  const BlockingLoop loop(e);
  const Bitmap saved = WindowPicture(e);
  Bitmap white(kScreenWidth, kScreenHeight);
  white.Fill(255, 255, 255);
  for (int i = 0; i < kFlashCount; ++i) {
    e.host.Present(white, kFullScreen);
    ShowFor(e, kFlashMs);
    e.host.Present(saved, kFullScreen);
    ShowFor(e, kFlashMs);
  }
}

void WindowShake(TForm1& e) {
  const BlockingLoop loop(e);
  const Point home = e.host.WindowPos();
  for (int a = kShakeFirst; a >= 2; a -= 2) {
    const int offset = (a & 2) != 0 ? kShakeOffset : -kShakeOffset;
    e.host.MoveWindow(Point{home.x, home.y + offset});
    ShowFor(e, kShakeMs);
  }
  e.host.MoveWindow(home);
}

void SepiaFlashback(TForm1& e) {
  e.ctl.blockingScene = true;
  Bitmap sepia = e.layers.scene;
  ToSepia(sepia);
  e.layers.screen = sepia;
  e.layers.scene = std::move(sepia);
  e.RedrawTextWindow();
  // Paced by 20 ms periods: a late frame advances the fade by every period it missed.
  Bitmap& stage = e.layers.work;
  const Bitmap& from = e.layers.previous;
  const Bitmap& to = e.layers.screen;
  const int rows = std::min({from.height, to.height, stage.height});
  const int groups = std::min({from.width, to.width, stage.width}) * 3 / 8;
  e.StartFrameClock();
  for (int opacity = kSepiaFirstOpacity; opacity < kFullOpacity;) {
    for (int y = 0; y < rows; ++y) BlendRowsConstant(from.Row(y), to.Row(y), groups, opacity, stage.Row(y));
    e.host.Present(stage, kFullScreen);
    opacity += kSepiaOpacityStep * e.PaceFrame(kSepiaPeriodMs);
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
