#pragma once
// Pictures for the graphics benchmarks, made in code: a painted-style background and a
// character sprite with its mask.
#include <cmath>
#include <cstdint>
#include <random>

#include "graphics/bitmap.h"

namespace torvel::bench {

inline uint8_t ClampByte(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// 800 × 600: a sky gradient with soft clouds, flat-shaded buildings with window grids, and a
// ground with fine painted texture, the mix a scenery background has.
inline Bitmap SampleBackground() {
  Bitmap b(800, 600);
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> grain(-3, 3);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      double r, g, bl;
      if (y < 330) {
        double t = y / 330.0;
        double cloud = std::max(0.0, std::sin(x * 0.013 + std::sin(y * 0.031) * 2) * std::cos(y * 0.021) - 0.35);
        r = 90 + 90 * t + cloud * 180;
        g = 150 + 60 * t + cloud * 120;
        bl = 235 - 20 * t + cloud * 20;
      } else {
        double t = (y - 330) / 270.0;
        r = 110 - 30 * t + grain(rng) * 2 + 10 * std::sin(x * 0.2 + y * 0.1);
        g = 120 - 20 * t + grain(rng) * 2;
        bl = 90 - 20 * t + grain(rng);
      }
      // Buildings: flat walls with a slight shade and a grid of windows.
      int building = x / 160;
      int roof = 200 + (building * 53) % 110;
      if (y >= roof && y < 420 && x % 160 > 10 && x % 160 < 150) {
        double shade = (y - roof) * 0.08;
        r = 200 - building * 15 - shade;
        g = 190 - building * 10 - shade;
        bl = 170 + building * 5 - shade;
        if ((x % 160) % 28 > 12 && (y - roof) % 34 > 14 && (y - roof) % 34 < 30) {
          r = 60;
          g = 80;
          bl = 120 + (x % 7);
        }
      }
      uint8_t* p = b.At(x, y);
      p[0] = ClampByte(bl);
      p[1] = ClampByte(g);
      p[2] = ClampByte(r);
    }
  }
  return b;
}

// A character sprite of `w` × `h`: shaded body, hair stripes and face inside an outline, black
// outside; the mask is 255 inside, 0 outside and graded over a two-pixel edge.
inline void SampleSprite(int w, int h, Bitmap& colour, Bitmap& mask) {
  colour.Resize(w, h);
  mask.Resize(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double head = std::hypot((x - w / 2.0) / (w * 0.22), (y - h * 0.18) / (h * 0.14));
      double body = std::hypot((x - w / 2.0) / (w * (0.25 + 0.2 * y / h)), (y - h * 0.62) / (h * 0.4));
      double inside = std::min(head, body);
      double edge = (1 - inside) * 40;
      uint8_t m = ClampByte(edge * 127.5);
      uint8_t* c = colour.At(x, y);
      uint8_t* k = mask.At(x, y);
      k[0] = k[1] = k[2] = m;
      if (m == 0) continue;
      if (head < body) {
        bool hair = y < h * 0.16 || std::abs(x - w / 2.0) > w * 0.15;
        c[0] = hair ? ClampByte(60 + (x / 5 % 3) * 20) : 200;
        c[1] = hair ? 50 : 215;
        c[2] = hair ? 40 : 250;
      } else {
        double shade = 30 * std::sin(x * 0.05) + y * 0.05;
        c[0] = ClampByte(150 - shade);
        c[1] = ClampByte(90 - shade / 2);
        c[2] = ClampByte(70 + shade);
      }
    }
  }
}

}  // namespace torvel::bench
