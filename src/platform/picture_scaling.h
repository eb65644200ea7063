#pragma once
// The arithmetic of showing the 800×600 picture on a screen of device pixels: where the picture
// lies, how a device position maps back to a picture pixel, and how large a window of a whole
// scale is. Kept apart from the window toolkit so that it can be checked on its own.
#include <cstdint>

#include "graphics/bitmap.h"

namespace torvel {

struct DeviceRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const DeviceRect&) const = default;
};

inline constexpr int kPictureWidth = 800;
inline constexpr int kPictureHeight = 600;

// Where the picture lies in an area of `width` × `height` device pixels, centred. Whole factors
// only: k = max(1, ⌊min(W/800, H/600)⌋), which may overhang an area smaller than the picture.
// Otherwise the largest 4:3 rectangle that fits.
DeviceRect PictureRectInDevice(int width, int height, bool integerScaling);

// Whether the picture drawn into `shown` is a whole-number enlargement (drawn nearest-neighbour).
int WholeScaleFactor(const DeviceRect& shown);

// The picture pixel under a device position (floor); may lie outside 0..799 × 0..599.
Point DeviceToPicture(double deviceX, double deviceY, const DeviceRect& shown);

// The device position of the centre of a picture pixel.
void PictureToDevice(Point p, const DeviceRect& shown, double& deviceX, double& deviceY);

// The enlargement of a window at `scale` (1 or 2) times the picture on a screen of the given
// device pixel ratio: scale × max(1, round(ratio)), so that a HiDPI screen still shows whole pixels.
int WindowScaleFactor(int scale, double devicePixelRatio);

// Enlarges a 32-bit picture `factor` times by repeating each pixel into a factor × factor block.
// `out` holds (width × factor) × (height × factor) pixels with `outStride` pixels to a row.
void ScaleWhole(const uint32_t* in, int width, int height, int inStride, int factor, uint32_t* out, int outStride);

}  // namespace torvel
