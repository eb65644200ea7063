#pragma once
// The blend kernels: all per-pixel work of the engine (sprite masks, the text window, glyphs,
// fades, additive and subtractive effects). Every colour byte is treated on its own with the same
// formula, so masks and opacities are per channel; results are exact to the byte, and the row
// loops pick the processor's widest form at run time (kernel_rows.h).
//
// Row kernels take row pointers that must hold the bytes named by their count; the destination
// may be the first operand. Picture kernels work on the area all their operands share and never
// touch bytes outside any of them.
#include <cstdint>

#include "graphics/bitmap.h"

namespace torvel {

constexpr int kFullOpacity = 256;

// Masked blend over groups × 8 bytes: d = (a × (255 − m) >> 8) + (b × m >> 8), except that a
// group whose eight mask bytes are all 0 copies a unchanged. So an opaque byte gives b − 1 and a
// clear byte inside a mixed group gives a − 1; both are what the pictures were made for.
void BlendRowsMasked(const uint8_t* a, const uint8_t* b, int groups, const uint8_t* m, uint8_t* d);
// As BlendRowsMasked over (pixels / 8) × 3 groups, then the last (pixels % 8) × 3 bytes blended
// exactly: d = (a × (255 − m) + b × m) >> 8.
void BlendRowsMaskedPixels(const uint8_t* a, const uint8_t* b, int pixels, const uint8_t* m, uint8_t* d);

// The shared opacity (0..256) read by BlendRowsAlpha and set by the kernels that take one.
// Values outside 0..256 are clamped.
void SetBlendAlpha(int opacity);
int BlendAlpha();
// d = (b × opacity + a × (256 − opacity)) >> 8 with the shared opacity, over groups × 8 bytes.
void BlendRowsAlpha(const uint8_t* a, const uint8_t* b, int groups, uint8_t* d);
// The same with its own opacity, which it also makes the shared one.
void BlendRowsConstant(const uint8_t* a, const uint8_t* b, int groups, int opacity, uint8_t* d);
// The same over (pixels × 3) / 8 groups (the bytes after the last whole group are left alone).
void BlendRowsAlphaPixels(const uint8_t* a, const uint8_t* b, int pixels, int opacity, uint8_t* d);

// Picture kernels. Each row covers (width × 3) / 8 groups of the narrowest operand, over the rows
// of the lowest; an 800 × 600 picture is 600 rows of 300 groups.
//
// d = (a × (255 − m) >> 8) + (b × m >> 8) on every byte, without the all-zero shortcut.
void MaskBlendScreen(const Bitmap& a, const Bitmap& b, const Bitmap& mask, Bitmap& d);
// d = (a × opacity + b × (256 − opacity)) >> 8; makes opacity the shared one.
void Crossfade(const Bitmap& a, const Bitmap& b, int opacity, Bitmap& d);
// d = (a × (256 − weight) >> 8) + (b × weight >> 8), weight 0..256: each product truncated on its
// own, as the slide fades of the staff rolls mix their two pictures. Leaves the shared opacity alone.
void CrossfadeTruncated(const Bitmap& a, const Bitmap& b, int weight, Bitmap& d);
// Crossfade of one 80 × 60 tile at pixel (x, y): work = (previous × opacity + screen ×
// (256 − opacity)) >> 8 for rows y .. y + 59 and the 240 bytes from byte 3x, clipped to the
// pictures. Leaves the shared opacity alone.
void CrossfadeTile(const Bitmap& previous, const Bitmap& screen, Bitmap& work, int x, int y, int opacity);
// d = (a × level) >> 8, level 0..256.
void Darken(const Bitmap& a, Bitmap& d, int level);
// d = min(255, a + b).
void AddImages(const Bitmap& a, const Bitmap& b, Bitmap& d);
// d = min(255, a + v), v 0..255.
void Brighten(const Bitmap& a, Bitmap& d, int v);
// d = max(0, a − v), v 0..255.
void Dim(const Bitmap& a, Bitmap& d, int v);

// Sprites. DrawMasked blends `src` onto `dst` at (x, y) through `mask` (a picture of src's size;
// a smaller one limits the area), clipped to dst. DrawSideBySide takes the colour from the left
// half of src and the mask from its right half, clipped the same way. DrawStacked takes the colour
// from the upper half and the mask from the lower half and draws nothing unless the whole upper
// half fits inside dst; its rows cover (width × 3) / 8 groups with no exact tail.
void DrawMasked(Bitmap& dst, const Bitmap& src, int x, int y, const Bitmap& mask);
void DrawSideBySide(Bitmap& dst, int x, const Bitmap& src, int y);
void DrawStacked(Bitmap& dst, int x, const Bitmap& src, int y);

}  // namespace torvel
