// Row sampling with eight fraction bits: row (a >> 8) for a = 0, s, 2s, … below 600 × 256.
#include "screens/config_squeeze.h"

#include <algorithm>
#include <cstring>

#include "graphics/layers.h"

namespace torvel {

namespace {

constexpr int kSpan = kScreenHeight * 256;

bool ScreenSized(const Bitmap& b) { return b.width == kScreenWidth && b.height == kScreenHeight; }

// Appends rows of `from` squeezed into `rows` output rows, from output row `i`, stopping at the
// picture's foot. Sampling with a truncated step may give a row more than asked for: the foot
// keeps it out.
void SampleRows(const Bitmap& from, int rows, Bitmap& out, int& i) {
  const int step = kSpan / rows;
  const size_t bytes = static_cast<size_t>(kScreenWidth) * 3;
  for (int a = 0; a < kSpan && i < kScreenHeight; a += step, ++i) std::memcpy(out.Row(i), from.Row(a >> 8), bytes);
}

}  // namespace

void SqueezeRows(const Bitmap& top, const Bitmap& bottom, int v, Bitmap& out) {
  if (!ScreenSized(top) || !ScreenSized(bottom) || !ScreenSized(out)) return;
  v = std::clamp(v, 1, kScreenHeight - 1);
  int i = 0;
  SampleRows(top, v, out, i);
  SampleRows(bottom, kScreenHeight - v, out, i);
}

}  // namespace torvel
