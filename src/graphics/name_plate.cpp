// The speaker's name plate: the speaker table gives the default text colour, so the name and
// the speaker's text share it.
#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr uint32_t kUnknownSpeakerColour = 0xFFFFFF;

uint32_t SpeakerColourOf(const GameConfig& config, std::string_view name) {
  for (int i = 1; i <= kSpeakerCount; ++i) {
    const SpeakerEntry& entry = config.NAME[static_cast<size_t>(i)];
    if (entry.defined && entry.name == name) return entry.colour;
  }
  return kUnknownSpeakerColour;
}

}  // namespace

void TForm1::DrawNamePlate(std::string_view name) {
  const uint32_t colour = ctl.screenMode == smPageBack ? kPageBackSpeakerColour : SpeakerColourOf(config, name);
  vars.S(kVarTextColour) = static_cast<int32_t>(colour);
  // The plate belongs to the window; the full-screen page and a hidden window show none.
  if (vars.S(kVarDisplayMode) != 0 || !text.windowShown) return;
  TextWindow& w = textWindow;
  if (w.plate.Empty()) return;
  if (config.NP_TYPE == 0) {
    w.plate.pixels = w.cleanPlate.pixels;
    DrawString(name, kPlainPlateTextX, w.plate, 0, kPlateTextY);
  } else if (config.NP_TYPE == 1) {
    w.plate.pixels = w.cleanPlate.pixels;
    DrawStacked(w.plate, 0, w.namePicture, 0);
    DrawString(name, kPicturePlateTextX, w.plate, 0, kPlateTextY);
  }
  Rect area = CopyRegion(w.plate, 0, 0, layers.screen, w.x + config.NP_OFS_X, w.y + config.NP_OFS_Y, w.plate.width,
                         w.plate.height);
  if (!area.Empty()) host.Present(layers.screen, area);
  DrawNamePlateOnAnimationFrames(name);
}

}  // namespace torvel
