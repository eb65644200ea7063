#include "platform/picture_scaling.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace torvel {

DeviceRect PictureRectInDevice(int width, int height, bool integerScaling) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  int w = 0;
  int h = 0;
  if (integerScaling) {
    const int k = std::max(1, std::min(width / kPictureWidth, height / kPictureHeight));
    w = kPictureWidth * k;
    h = kPictureHeight * k;
  } else if (static_cast<int64_t>(width) * kPictureHeight > static_cast<int64_t>(height) * kPictureWidth) {
    h = height;
    w = static_cast<int>(static_cast<int64_t>(height) * kPictureWidth / kPictureHeight);
  } else {
    w = width;
    h = static_cast<int>(static_cast<int64_t>(width) * kPictureHeight / kPictureWidth);
  }
  // Halves rounded down, so that an odd remainder leaves the wider bar on the right and bottom.
  return DeviceRect{(width - w) / 2, (height - h) / 2, w, h};
}

int WholeScaleFactor(const DeviceRect& shown) {
  if (shown.width <= 0 || shown.width % kPictureWidth != 0) return 0;
  const int k = shown.width / kPictureWidth;
  return shown.height == kPictureHeight * k ? k : 0;
}

Point DeviceToPicture(double deviceX, double deviceY, const DeviceRect& shown) {
  if (shown.width <= 0 || shown.height <= 0) return Point{-1, -1};
  const double x = (deviceX - shown.left) * kPictureWidth / shown.width;
  const double y = (deviceY - shown.top) * kPictureHeight / shown.height;
  // Far-off positions are clamped before conversion; they are off the picture either way.
  auto toInt = [](double v) { return static_cast<int>(std::clamp(std::floor(v), -1e6, 1e6)); };
  return Point{toInt(x), toInt(y)};
}

void PictureToDevice(Point p, const DeviceRect& shown, double& deviceX, double& deviceY) {
  deviceX = shown.left + (p.x + 0.5) * shown.width / kPictureWidth;
  deviceY = shown.top + (p.y + 0.5) * shown.height / kPictureHeight;
}

int WindowScaleFactor(int scale, double devicePixelRatio) {
  const double rounded = std::isfinite(devicePixelRatio) ? std::round(devicePixelRatio) : 1.0;
  return std::max(scale, 1) * static_cast<int>(std::clamp(rounded, 1.0, 16.0));
}

void ScaleWhole(const uint32_t* in, int width, int height, int inStride, int factor, uint32_t* out, int outStride) {
  if (factor <= 0) return;
  const int outWidth = width * factor;
  for (int y = 0; y < height; ++y) {
    const uint32_t* src = in + static_cast<ptrdiff_t>(y) * inStride;
    uint32_t* first = out + static_cast<ptrdiff_t>(y) * factor * outStride;
    if (factor == 2) {
      for (int x = 0; x < width; ++x) first[2 * x] = first[2 * x + 1] = src[x];
    } else {
      uint32_t* d = first;
      for (int x = 0; x < width; ++x, d += factor) std::fill_n(d, factor, src[x]);
    }
    // The other rows of the block repeat the first.
    for (int r = 1; r < factor; ++r) {
      std::memcpy(first + static_cast<ptrdiff_t>(r) * outStride, first, static_cast<size_t>(outWidth) * 4);
    }
  }
}

}  // namespace torvel
