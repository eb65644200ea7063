#pragma once
// The screen buffers. The screen buffer is what the window shows; the scene buffer is the
// composed picture without the text window; the previous-screen buffer is the start of a
// transition.
#include "graphics/bitmap.h"

namespace torvel {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

struct Layers {
  Bitmap screen;
  Bitmap scene;
  Bitmap previous;
  Bitmap background;
};

}  // namespace torvel
