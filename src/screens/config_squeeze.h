#pragma once
// The configuration screen's opening and closing frame: the screen's picture squeezed into the
// top v rows and the game's picture into the rest, each by sampling whole rows.
#include "graphics/bitmap.h"

namespace torvel {

// Writes the frame for v (1 … 599) into `out`. `top`, `bottom` and `out` are 800 × 600 pictures;
// another size leaves `out` unchanged.
void SqueezeRows(const Bitmap& top, const Bitmap& bottom, int v, Bitmap& out);

}  // namespace torvel
