// Transition commands: the wipe pattern.
#include <cstdint>

#include "shell/engine.h"

namespace torvel {

int TForm1::CmdWipeset(std::string_view arg) {
  while (!arg.empty() && (arg.back() == ' ' || arg.back() == '\t' || arg.back() == '\r')) arg.remove_suffix(1);
  while (!arg.empty() && (arg.front() == ' ' || arg.front() == '\t')) arg.remove_prefix(1);
  Bitmap loaded;
  // The command ends the step whether or not the pattern loads.
  if (arg.empty() || !LoadImage(arg, loaded) || loaded.Empty()) return 1;
  // The pattern wipe reads a whole screen of mask every frame: a larger pattern is cropped to
  // the screen, a smaller one stretched over it.
  Bitmap& pattern = layers.wipePattern;
  pattern.Resize(kScreenWidth, kScreenHeight);
  const bool crop = loaded.width >= kScreenWidth && loaded.height >= kScreenHeight;
  for (int y = 0; y < kScreenHeight; ++y) {
    const int sy = crop ? y : static_cast<int>(int64_t{y} * loaded.height / kScreenHeight);
    for (int x = 0; x < kScreenWidth; ++x) {
      const int sx = crop ? x : static_cast<int>(int64_t{x} * loaded.width / kScreenWidth);
      const uint8_t* p = loaded.At(sx, sy);
      uint8_t* o = pattern.At(x, y);
      o[0] = p[0];
      o[1] = p[1];
      o[2] = p[2];
    }
  }
  return 1;
}

}  // namespace torvel
