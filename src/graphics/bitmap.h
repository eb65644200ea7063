#pragma once
// A 24-bit picture: rows of blue, green, red bytes, top row first. Every picture buffer of the
// engine (layers, screen buffers, masks, decoded entries) is one of these.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace torvel {

struct Bitmap {
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes from one row to the next; at least width * 3
  std::vector<uint8_t> pixels;

  Bitmap() = default;
  Bitmap(int w, int h) { Resize(w, h); }

  // Resizes to w × h with rows packed tightly, filled black.
  void Resize(int w, int h) {
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
    stride = width * 3;
    pixels.assign(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
  }
  bool Empty() const { return width == 0 || height == 0; }
  uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(stride); }
  const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(stride); }
  uint8_t* At(int x, int y) { return Row(y) + x * 3; }
  const uint8_t* At(int x, int y) const { return Row(y) + x * 3; }
  void Fill(uint8_t b, uint8_t g, uint8_t r) {
    for (int y = 0; y < height; ++y) {
      uint8_t* p = Row(y);
      for (int x = 0; x < width; ++x, p += 3) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
      }
    }
  }
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

struct Point {
  int x = 0;
  int y = 0;
};

}  // namespace torvel
