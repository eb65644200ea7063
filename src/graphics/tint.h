#pragma once
// The tints of the scene (S011): darkening by sixteenths, sepia, grey, and turning the picture
// upside down.
#include "graphics/bitmap.h"

namespace torvel {

enum TintMode : int {
  kTintNone = 0,
  kTintDarken = 1,  // every byte × level / 16
  kTintSepia = 2,
  kTintGrey = 3,
  kTintTurned = 4,  // rotated by 180 degrees
};

// Applies `mode` to the whole picture; `darkenLevel` is used by kTintDarken only. Other modes
// change nothing.
void ApplyTint(Bitmap& picture, int mode, int darkenLevel);

}  // namespace torvel
