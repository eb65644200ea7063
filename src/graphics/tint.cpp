// The tints of the scene.
#include "graphics/tint.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace torvel {

namespace {

void Darken(Bitmap& p, int level) {
  // A script may store any level; the product must stay a byte.
  const unsigned l = static_cast<unsigned>(std::clamp(level, 0, 16));
  std::array<uint8_t, 256> table;
  for (unsigned v = 0; v < 256; ++v) table[v] = static_cast<uint8_t>((v * l) >> 4);
  for (int y = 0; y < p.height; ++y) {
    uint8_t* row = p.Row(y);
    for (int i = 0; i < p.width * 3; ++i) row[i] = table[row[i]];
  }
}

void Sepia(Bitmap& p, bool grey) {
  for (int y = 0; y < p.height; ++y) {
    uint8_t* px = p.Row(y);
    for (int x = 0; x < p.width; ++x, px += 3) {
      unsigned g = (px[0] + px[1] + px[2]) / 3u;
      if (grey) {
        px[0] = px[1] = px[2] = static_cast<uint8_t>(g);
      } else {
        px[0] = static_cast<uint8_t>(g >> 2);
        px[1] = static_cast<uint8_t>((3 * g) >> 2);
        px[2] = static_cast<uint8_t>(g);
      }
    }
  }
}

void ReverseRow(uint8_t* row, int width) {
  for (int l = 0, r = width - 1; l < r; ++l, --r) std::swap_ranges(row + l * 3, row + l * 3 + 3, row + r * 3);
}

void Turn(Bitmap& p) {
  for (int top = 0, bottom = p.height - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(p.Row(top), p.Row(top) + p.width * 3, p.Row(bottom));
    ReverseRow(p.Row(top), p.width);
    ReverseRow(p.Row(bottom), p.width);
  }
  if (p.height % 2 == 1) ReverseRow(p.Row(p.height / 2), p.width);
}

}  // namespace

void ApplyTint(Bitmap& picture, int mode, int darkenLevel) {
  switch (mode) {
    case kTintDarken: Darken(picture, darkenLevel); break;
    case kTintSepia: Sepia(picture, false); break;
    case kTintGrey: Sepia(picture, true); break;
    case kTintTurned: Turn(picture); break;
    default: break;
  }
}

}  // namespace torvel
