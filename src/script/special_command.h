#pragma once
// The pieces of `special` that work on plain data.
#include "graphics/bitmap.h"
#include "script/variables.h"

namespace torvel {

// Turns every pixel to sepia: g = (B + G + R) / 3, then B = g / 4, G = 3g / 4, R = g.
void ToSepia(Bitmap& picture);

// The share of the story's scenes seen, in percent (integer): the E flags set among the 228
// numbers of the scene ranges.
int CompletionPercent(const FlagSet& sceneFlags);

}  // namespace torvel
