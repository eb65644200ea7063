// The panic screen: the picture of "panic.bmp" over the whole window and every sound muted until
// the next click. Sounds go on playing unheard and are heard again where they have got to.
#include <string>
#include <vector>

#include "graphics/bmp_io.h"
#include "graphics/region_copy.h"
#include "resources/file_io.h"
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr uint64_t kPanicFileLimit = uint64_t{64} << 20;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};
}  // namespace

bool TForm1::PanicShown() const { return panic.shown; }

void TForm1::ShowPanic() {
  if (panic.shown) return;
  SetMute(true);
  panic.kept = layers.screen;
  // Any other size is cut or filled out with black, never scaled; a missing or unreadable file
  // leaves the screen black.
  Bitmap& screen = layers.screen;
  screen.Resize(kScreenWidth, kScreenHeight);
  std::vector<uint8_t> bytes;
  std::string error;
  Bitmap picture;
  if (ReadWholeFile(GamePath("panic.bmp"), bytes, kPanicFileLimit, error) && DecodeBmp(bytes, picture)) {
    CopyRegion(picture, 0, 0, screen, 0, 0, kScreenWidth, kScreenHeight);
  }
  SetMenuLock(true);
  host.Present(screen, kWholeScreen);
  panic.shown = true;
  panic.wasBlocking = ctl.blockingScene;
  ctl.blockingScene = true;
  StopVoice();
}

void TForm1::EndPanic() {
  if (!panic.shown) return;
  SetMute(false);
  layers.screen = std::move(panic.kept);
  panic.kept = Bitmap();
  host.Present(layers.screen, kWholeScreen);
  panic.shown = false;
  ctl.blockingScene = panic.wasBlocking;
  SetMenuLock(false);
}

}  // namespace torvel
