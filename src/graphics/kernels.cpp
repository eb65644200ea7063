#include "graphics/kernels.h"

#include <algorithm>
#include <cstddef>

#include "graphics/kernel_rows.h"

namespace torvel {

namespace {

constexpr int kTileWidth = 80;
constexpr int kTileHeight = 60;
constexpr int kGroupPixels = 8;  // eight pixels are three groups
constexpr int kGroupsPerEightPixels = 3;

const RowKernels* activeKernels = nullptr;
KernelLevel activeLevel = KernelLevel::Scalar;
int blendOpacity = 0;

int ClampOpacity(int opacity) { return std::clamp(opacity, 0, kFullOpacity); }

// d = (a × (255 − m) + b × m) >> 8: the exact blend of the bytes after the last whole group.
void BlendTail(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>((a[i] * (255u - m[i]) + b[i] * m[i]) >> 8);
}

// The rows and row bytes a picture kernel covers: whole groups of the narrowest operand, rows of
// the lowest.
struct Area {
  int rows = 0;
  size_t bytes = 0;
};

// When every operand's rows follow each other with no gap and the area spans whole rows, the
// area is one long row: the loops then run once per picture instead of once per row.
template <typename... Pictures>
Area CommonArea(const Pictures&... pictures) {
  int width = std::min({pictures.width...});
  int height = std::min({pictures.height...});
  if (width <= 0 || height <= 0) return {};
  Area area{height, static_cast<size_t>(width) * 3 / kGroupBytes * kGroupBytes};
  if (((static_cast<size_t>(pictures.stride) == area.bytes) && ...)) {
    area.bytes *= static_cast<size_t>(area.rows);
    area.rows = 1;
  }
  return area;
}

// The shared clipping of DrawMasked and DrawSideBySide. The colour part of a source row starts at
// colourX, its mask at maskX (pixels); w × h is the colour part's size.
void DrawThroughMask(Bitmap& dst, const Bitmap& colour, int colourX, const Bitmap& mask, int maskX, int w, int h, int x,
                     int y) {
  const long long W = dst.width, H = dst.height;
  long long top = y, height = h;
  long long sy = 0;
  if (top < 0) {
    sy = -top;
    height += top;
    top = 0;
  }
  long long dx = std::max<long long>(x, 0);
  if (dx >= W || top > H || height < 1) return;
  long long cw = x < 0 ? static_cast<long long>(w) + x : w;
  if (cw < 1) return;
  if (static_cast<long long>(x) + w > W) cw = W - dx;
  if (top + height > H) height = H - top;
  long long sx = x < 0 ? -static_cast<long long>(x) : 0;

  const RowKernels& k = ActiveRowKernels();
  const size_t groups = static_cast<size_t>(cw >> 3) * kGroupsPerEightPixels;
  const size_t tail = static_cast<size_t>(cw & 7) * 3;
  const size_t headBytes = groups * kGroupBytes;
  for (long long i = 0; i < height; ++i) {
    uint8_t* d = dst.Row(static_cast<int>(top + i)) + dx * 3;
    const uint8_t* s = colour.Row(static_cast<int>(sy + i)) + (colourX + sx) * 3;
    const uint8_t* m = mask.Row(static_cast<int>(sy + i)) + (maskX + sx) * 3;
    if (groups) k.maskedGroups(d, s, m, d, groups);
    if (tail) BlendTail(d + headBytes, s + headBytes, m + headBytes, d + headBytes, tail);
  }
}

}  // namespace

KernelLevel BestKernelLevel() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (Avx2RowKernels() && __builtin_cpu_supports("avx2")) return KernelLevel::Avx2;
  if (Sse2RowKernels() && __builtin_cpu_supports("sse2")) return KernelLevel::Sse2;
#endif
  return KernelLevel::Scalar;
}

const RowKernels& RowKernelsFor(KernelLevel level) {
  KernelLevel best = BestKernelLevel();
  if (level > best) level = best;
  const RowKernels* table = nullptr;
  if (level == KernelLevel::Avx2) table = Avx2RowKernels();
  if (level == KernelLevel::Sse2) table = Sse2RowKernels();
  return table ? *table : *ScalarRowKernels();
}

void UseKernelLevel(KernelLevel level) {
  activeLevel = std::min(level, BestKernelLevel());
  activeKernels = &RowKernelsFor(activeLevel);
}

const RowKernels& ActiveRowKernels() {
  if (!activeKernels) UseKernelLevel(BestKernelLevel());
  return *activeKernels;
}

KernelLevel ActiveKernelLevel() {
  ActiveRowKernels();
  return activeLevel;
}

void BlendRowsMasked(const uint8_t* a, const uint8_t* b, int groups, const uint8_t* m, uint8_t* d) {
  if (groups <= 0) return;
  ActiveRowKernels().maskedGroups(a, b, m, d, static_cast<size_t>(groups));
}

void BlendRowsMaskedPixels(const uint8_t* a, const uint8_t* b, int pixels, const uint8_t* m, uint8_t* d) {
  if (pixels <= 0) return;
  size_t groups = static_cast<size_t>(pixels / kGroupPixels) * kGroupsPerEightPixels;
  size_t head = groups * kGroupBytes;
  if (groups) ActiveRowKernels().maskedGroups(a, b, m, d, groups);
  BlendTail(a + head, b + head, m + head, d + head, static_cast<size_t>(pixels % kGroupPixels) * 3);
}

void SetBlendAlpha(int opacity) { blendOpacity = ClampOpacity(opacity); }
int BlendAlpha() { return blendOpacity; }

void BlendRowsAlpha(const uint8_t* a, const uint8_t* b, int groups, uint8_t* d) {
  if (groups <= 0) return;
  ActiveRowKernels().weighted(a, b, static_cast<unsigned>(kFullOpacity - blendOpacity), d,
                              static_cast<size_t>(groups) * kGroupBytes);
}

void BlendRowsConstant(const uint8_t* a, const uint8_t* b, int groups, int opacity, uint8_t* d) {
  SetBlendAlpha(opacity);
  BlendRowsAlpha(a, b, groups, d);
}

void BlendRowsAlphaPixels(const uint8_t* a, const uint8_t* b, int pixels, int opacity, uint8_t* d) {
  SetBlendAlpha(opacity);
  if (pixels <= 0) return;
  BlendRowsAlpha(a, b, static_cast<int>(static_cast<long long>(pixels) * 3 / kGroupBytes), d);
}

void MaskBlendScreen(const Bitmap& a, const Bitmap& b, const Bitmap& mask, Bitmap& d) {
  Area area = CommonArea(a, b, mask, d);
  const RowKernels& k = ActiveRowKernels();
  for (int y = 0; y < area.rows; ++y) k.maskedSplit(a.Row(y), b.Row(y), mask.Row(y), d.Row(y), area.bytes);
}

void Crossfade(const Bitmap& a, const Bitmap& b, int opacity, Bitmap& d) {
  SetBlendAlpha(opacity);
  Area area = CommonArea(a, b, d);
  const RowKernels& k = ActiveRowKernels();
  for (int y = 0; y < area.rows; ++y) {
    k.weighted(a.Row(y), b.Row(y), static_cast<unsigned>(blendOpacity), d.Row(y), area.bytes);
  }
}

void CrossfadeTruncated(const Bitmap& a, const Bitmap& b, int weight, Bitmap& d) {
  const unsigned wb = static_cast<unsigned>(ClampOpacity(weight));
  Area area = CommonArea(a, b, d);
  const RowKernels& k = ActiveRowKernels();
  for (int y = 0; y < area.rows; ++y) k.weightedSplit(a.Row(y), b.Row(y), wb, d.Row(y), area.bytes);
}

void CrossfadeTile(const Bitmap& previous, const Bitmap& screen, Bitmap& work, int x, int y, int opacity) {
  const unsigned weight = static_cast<unsigned>(ClampOpacity(opacity));
  const long long rowBytes = static_cast<long long>(std::min({previous.width, screen.width, work.width})) * 3;
  const long long rows = std::min({previous.height, screen.height, work.height});
  const long long left = std::max(static_cast<long long>(x) * 3, 0LL);
  const long long right = std::min(static_cast<long long>(x) * 3 + kTileWidth * 3, rowBytes);
  const long long top = std::max<long long>(y, 0);
  const long long bottom = std::min(static_cast<long long>(y) + kTileHeight, rows);
  if (left >= right || top >= bottom) return;
  const int r = static_cast<int>(top);
  ActiveRowKernels().weightedRows(previous.Row(r) + left, previous.stride, screen.Row(r) + left, screen.stride, weight,
                                  work.Row(r) + left, work.stride, static_cast<size_t>(right - left),
                                  static_cast<size_t>(bottom - top));
}

void Darken(const Bitmap& a, Bitmap& d, int level) {
  const unsigned l = static_cast<unsigned>(ClampOpacity(level));
  Area area = CommonArea(a, d);
  const RowKernels& k = ActiveRowKernels();
  for (int y = 0; y < area.rows; ++y) k.scale(a.Row(y), l, d.Row(y), area.bytes);
}

void AddImages(const Bitmap& a, const Bitmap& b, Bitmap& d) {
  Area area = CommonArea(a, b, d);
  const RowKernels& k = ActiveRowKernels();
  for (int y = 0; y < area.rows; ++y) k.addSaturated(a.Row(y), b.Row(y), d.Row(y), area.bytes);
}

void Brighten(const Bitmap& a, Bitmap& d, int v) {
  const uint8_t amount = static_cast<uint8_t>(std::clamp(v, 0, 255));
  Area area = CommonArea(a, d);
  const RowKernels& k = ActiveRowKernels();
  for (int y = 0; y < area.rows; ++y) k.addConstant(a.Row(y), amount, d.Row(y), area.bytes);
}

void Dim(const Bitmap& a, Bitmap& d, int v) {
  const uint8_t amount = static_cast<uint8_t>(std::clamp(v, 0, 255));
  Area area = CommonArea(a, d);
  const RowKernels& k = ActiveRowKernels();
  for (int y = 0; y < area.rows; ++y) k.subtractConstant(a.Row(y), amount, d.Row(y), area.bytes);
}

void DrawMasked(Bitmap& dst, const Bitmap& src, int x, int y, const Bitmap& mask) {
  DrawThroughMask(dst, src, 0, mask, 0, std::min(src.width, mask.width), std::min(src.height, mask.height), x, y);
}

void DrawSideBySide(Bitmap& dst, int x, const Bitmap& src, int y) {
  const int w = src.width / 2;
  DrawThroughMask(dst, src, 0, src, w, w, src.height, x, y);
}

void DrawStacked(Bitmap& dst, int x, const Bitmap& src, int y) {
  const int h = src.height / 2;
  // Negative positions would reach before the destination's first row or column.
  if (x < 0 || y < 0 || h < 1) return;
  if (static_cast<long long>(x) + src.width > dst.width || static_cast<long long>(y) + h > dst.height) return;
  const size_t groups = static_cast<size_t>(src.width) * 3 / kGroupBytes;
  if (groups == 0) return;
  const RowKernels& k = ActiveRowKernels();
  for (int i = 0; i < h; ++i) {
    uint8_t* d = dst.At(x, y + i);
    k.maskedGroups(d, src.Row(i), src.Row(h + i), d, groups);
  }
}

}  // namespace torvel
