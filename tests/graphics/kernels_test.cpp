// The blend kernels against bytes worked out by hand and against a per-byte model of their rules.
#include "graphics/kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

// The rules, one byte at a time.
uint8_t SplitBlend(unsigned a, unsigned b, unsigned m) {
  return static_cast<uint8_t>(a * (255 - m) / 256 + b * m / 256);
}
uint8_t ExactBlend(unsigned a, unsigned b, unsigned m) { return static_cast<uint8_t>((a * (255 - m) + b * m) / 256); }
uint8_t Weigh(unsigned a, unsigned b, unsigned wa) { return static_cast<uint8_t>((a * wa + b * (256 - wa)) / 256); }

// The masked row rule over `bytes` bytes: whole groups of eight with the all-zero shortcut, the
// rest (when `exactTail`) blended exactly.
void ModelMaskedRow(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t groups, size_t tail) {
  for (size_t g = 0; g < groups; ++g) {
    bool clear = true;
    for (size_t k = 0; k < 8; ++k) clear = clear && m[g * 8 + k] == 0;
    for (size_t k = 0; k < 8; ++k) {
      size_t i = g * 8 + k;
      d[i] = clear ? a[i] : SplitBlend(a[i], b[i], m[i]);
    }
  }
  for (size_t i = groups * 8; i < groups * 8 + tail; ++i) d[i] = ExactBlend(a[i], b[i], m[i]);
}

Bitmap RandomPicture(int w, int h, std::mt19937& rng) {
  Bitmap p(w, h);
  for (uint8_t& v : p.pixels) v = static_cast<uint8_t>(rng());
  return p;
}

// A mask with clear groups, opaque groups and mixed ones, as sprites have.
Bitmap RandomMask(int w, int h, std::mt19937& rng) {
  Bitmap p(w, h);
  for (size_t i = 0; i < p.pixels.size(); i += 8) {
    unsigned kind = rng() % 4;
    for (size_t k = i; k < std::min(i + 8, p.pixels.size()); ++k) {
      p.pixels[k] = kind == 0 ? 0 : kind == 1 ? 255 : kind == 2 ? static_cast<uint8_t>(rng()) : (rng() % 2 ? 0 : 77);
    }
  }
  return p;
}

TEST(KernelsTest, MaskedBlendBytesByHand) {
  struct Case {
    std::string name;
    uint8_t a, b, m, expected;
  };
  // In groups whose other mask bytes are not zero.
  const Case cases[] = {
      {"opaque 255 becomes 254", 10, 255, 255, 254},
      {"opaque 1 becomes 0", 10, 1, 255, 0},
      {"opaque 0 stays 0", 10, 0, 255, 0},
      {"clear byte in a mixed group: a - 1", 200, 50, 0, 199},
      {"clear byte 0 stays 0", 0, 50, 0, 0},
      // 100 x 127 >> 8 = 49, 200 x 128 >> 8 = 100.
      {"half", 100, 200, 128, 149},
      // 255 x 127 >> 8 = 126, 255 x 128 >> 8 = 127: the carry of the low bytes is dropped.
      {"halves of white", 255, 255, 128, 253},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes a(8, c.a), b(8, c.b), m(8, c.m), d(8, 0);
    m[7] = c.m ? c.m : 1;  // keep the group from being all zero
    BlendRowsMasked(a.data(), b.data(), 1, m.data(), d.data());
    for (int k = 0; k < 7; ++k) EXPECT_EQ(d[k], c.expected) << "byte " << k;
  }
}

TEST(KernelsTest, PureWhiteMaskGivesTheSpriteOneLevelDarker) {
  Bytes a(256 * 3, 77), b(256 * 3), m(256 * 3, 255), d(256 * 3);
  for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i / 3);
  BlendRowsMasked(a.data(), b.data(), 96, m.data(), d.data());
  for (size_t i = 0; i < d.size(); ++i) ASSERT_EQ(d[i], b[i] == 0 ? 0 : b[i] - 1) << i;
}

TEST(KernelsTest, AllZeroMaskGroupKeepsTheDestinationExactly) {
  Bytes a{0, 1, 2, 127, 128, 200, 254, 255, 9, 9, 9, 9, 9, 9, 9, 9};
  Bytes b(16, 255), m(16, 0), d = a;
  m[15] = 1;  // the second group is mixed
  BlendRowsMasked(d.data(), b.data(), 2, m.data(), d.data());
  EXPECT_EQ(Bytes(d.begin(), d.begin() + 8), Bytes(a.begin(), a.begin() + 8));
  EXPECT_EQ(Bytes(d.begin() + 8, d.begin() + 15), Bytes(7, 8));  // 9 - 1
  EXPECT_EQ(d[15], SplitBlend(9, 255, 1));
}

TEST(KernelsTest, MaskedPixelsAreGroupsThenAnExactTail) {
  // 13 pixels: one group of eight pixels (three groups of bytes) and five pixels (15 bytes) blended
  // exactly. With a = b = 255 and m = 128 the two rules differ: 253 in groups, 254 exactly.
  Bytes a(39 + 9, 255), b(48, 255), m(48, 128), d(48, 1);
  BlendRowsMaskedPixels(a.data(), b.data(), 13, m.data(), d.data());
  EXPECT_EQ(Bytes(d.begin(), d.begin() + 24), Bytes(24, 253));
  EXPECT_EQ(Bytes(d.begin() + 24, d.begin() + 39), Bytes(15, 254));
  EXPECT_EQ(Bytes(d.begin() + 39, d.end()), Bytes(9, 1)) << "wrote past 13 pixels";
  // The tail has no shortcut: a clear mask there still darkens by one.
  Bytes clear(48, 0), d2(48, 0);
  BlendRowsMaskedPixels(a.data(), b.data(), 13, clear.data(), d2.data());
  EXPECT_EQ(Bytes(d2.begin(), d2.begin() + 24), Bytes(24, 255));
  EXPECT_EQ(Bytes(d2.begin() + 24, d2.begin() + 39), Bytes(15, 254));
}

TEST(KernelsTest, OpacityKernelsAndTheSharedOpacity) {
  Bytes a(16, 200), b(16, 40), d(16, 0);
  // BlendRowsAlpha weights the second operand with the opacity.
  SetBlendAlpha(64);
  BlendRowsAlpha(a.data(), b.data(), 2, d.data());
  EXPECT_EQ(d, Bytes(16, (40 * 64 + 200 * 192) / 256));
  // A kernel with its own opacity leaves it behind for the next BlendRowsAlpha.
  BlendRowsConstant(a.data(), b.data(), 2, 256, d.data());
  EXPECT_EQ(d, b);
  EXPECT_EQ(BlendAlpha(), 256);
  BlendRowsAlpha(a.data(), b.data(), 2, d.data());
  EXPECT_EQ(d, b);
  BlendRowsConstant(a.data(), b.data(), 2, 0, d.data());
  EXPECT_EQ(d, a);
  // Out-of-range opacities are clamped to 0..256.
  SetBlendAlpha(1000);
  EXPECT_EQ(BlendAlpha(), 256);
  SetBlendAlpha(-5);
  EXPECT_EQ(BlendAlpha(), 0);

  Bitmap pa(8, 1), pb(8, 1), pd(8, 1);
  pa.Fill(200, 200, 200);
  pb.Fill(40, 40, 40);
  Crossfade(pa, pb, 96, pd);
  EXPECT_EQ(BlendAlpha(), 96);
  // Crossfade weights the first operand; the tile leaves the shared opacity alone.
  EXPECT_EQ(pd.pixels, Bytes(24, (200 * 96 + 40 * 160) / 256));
  CrossfadeTile(pa, pb, pd, 0, 0, 10);
  EXPECT_EQ(BlendAlpha(), 96);
}

TEST(KernelsTest, AlphaPixelsCoverOnlyWholeGroups) {
  // 13 pixels are 39 bytes: (13 x 3) / 8 = 4 groups, 32 bytes; the last 7 stay.
  Bytes a(40, 100), b(40, 0), d(40, 9);
  BlendRowsAlphaPixels(a.data(), b.data(), 13, 128, d.data());
  EXPECT_EQ(Bytes(d.begin(), d.begin() + 32), Bytes(32, 50));
  EXPECT_EQ(Bytes(d.begin() + 32, d.end()), Bytes(8, 9));
  EXPECT_EQ(BlendAlpha(), 128);
}

TEST(KernelsTest, CrossfadeEndsGiveEachOperandExactly) {
  std::mt19937 rng(1);
  Bitmap a = RandomPicture(800, 600, rng), b = RandomPicture(800, 600, rng), d(800, 600);
  Crossfade(a, b, 256, d);
  EXPECT_EQ(d.pixels, a.pixels);
  Crossfade(a, b, 0, d);
  EXPECT_EQ(d.pixels, b.pixels);
}

TEST(KernelsTest, PictureKernelsFollowTheirRules) {
  std::mt19937 rng(2);
  Bitmap a = RandomPicture(800, 600, rng), b = RandomPicture(800, 600, rng), m = RandomMask(800, 600, rng);
  Bitmap d(800, 600);
  struct Case {
    std::string name;
    std::function<void()> run;
    std::function<uint8_t(size_t)> expected;
  };
  const std::vector<Case> cases = {
      {"MaskBlendScreen has no shortcut", [&] { MaskBlendScreen(a, b, m, d); },
       [&](size_t i) { return SplitBlend(a.pixels[i], b.pixels[i], m.pixels[i]); }},
      {"Crossfade 100", [&] { Crossfade(a, b, 100, d); },
       [&](size_t i) { return Weigh(a.pixels[i], b.pixels[i], 100); }},
      {"Darken 256 keeps", [&] { Darken(a, d, 256); }, [&](size_t i) { return a.pixels[i]; }},
      {"Darken 0 blackens", [&] { Darken(a, d, 0); }, [&](size_t) { return uint8_t{0}; }},
      {"Darken 77", [&] { Darken(a, d, 77); }, [&](size_t i) { return static_cast<uint8_t>(a.pixels[i] * 77 / 256); }},
      {"AddImages saturates", [&] { AddImages(a, b, d); },
       [&](size_t i) { return static_cast<uint8_t>(std::min(255, a.pixels[i] + b.pixels[i])); }},
      {"Brighten 255 gives white", [&] { Brighten(a, d, 255); }, [&](size_t) { return uint8_t{255}; }},
      {"Brighten 30", [&] { Brighten(a, d, 30); },
       [&](size_t i) { return static_cast<uint8_t>(std::min(255, a.pixels[i] + 30)); }},
      {"Dim 255 gives black", [&] { Dim(a, d, 255); }, [&](size_t) { return uint8_t{0}; }},
      {"Dim 30", [&] { Dim(a, d, 30); }, [&](size_t i) { return static_cast<uint8_t>(std::max(0, a.pixels[i] - 30)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    d.Fill(1, 2, 3);
    c.run();
    size_t wrong = 0;
    for (size_t i = 0; i < d.pixels.size(); ++i) wrong += d.pixels[i] != c.expected(i);
    EXPECT_EQ(wrong, 0u);
  }
}

// Pictures whose rows are not back to back (a stride wider than the row) are worked row by row:
// the same bytes as the rule on every row, the gap after each row untouched. Pictures of a
// width whose rows are not whole groups leave the last bytes of each row alone likewise.
TEST(KernelsTest, PictureKernelsKeepOffRowGaps) {
  std::mt19937 rng(12);
  struct Layout {
    int width, height, gap;
  };
  for (Layout l : {Layout{40, 6, 8}, Layout{40, 6, 0}, Layout{13, 4, 0}, Layout{13, 4, 5}}) {
    auto padded = [&](bool mask) {
      Bitmap p;
      p.width = l.width;
      p.height = l.height;
      p.stride = l.width * 3 + l.gap;
      p.pixels.resize(static_cast<size_t>(p.stride) * static_cast<size_t>(l.height));
      Bitmap r = mask ? RandomMask(p.stride / 3 + 1, l.height, rng) : RandomPicture(p.stride / 3 + 1, l.height, rng);
      std::copy_n(r.pixels.begin(), p.pixels.size(), p.pixels.begin());
      return p;
    };
    const Bitmap a = padded(false), b = padded(false), m = padded(true);
    const size_t rowBytes = static_cast<size_t>(l.width) * 3 / 8 * 8;
    struct Case {
      std::string name;
      std::function<void(Bitmap&)> run;
      std::function<uint8_t(size_t)> rule;
    };
    const std::vector<Case> cases = {
        {"MaskBlendScreen", [&](Bitmap& d) { MaskBlendScreen(a, b, m, d); },
         [&](size_t i) { return SplitBlend(a.pixels[i], b.pixels[i], m.pixels[i]); }},
        {"Crossfade 101", [&](Bitmap& d) { Crossfade(a, b, 101, d); },
         [&](size_t i) { return Weigh(a.pixels[i], b.pixels[i], 101); }},
        {"Crossfade 64", [&](Bitmap& d) { Crossfade(a, b, 64, d); },
         [&](size_t i) { return Weigh(a.pixels[i], b.pixels[i], 64); }},
        {"Darken 99", [&](Bitmap& d) { Darken(a, d, 99); },
         [&](size_t i) { return static_cast<uint8_t>(a.pixels[i] * 99 / 256); }},
        {"AddImages", [&](Bitmap& d) { AddImages(a, b, d); },
         [&](size_t i) { return static_cast<uint8_t>(std::min(255, a.pixels[i] + b.pixels[i])); }},
        {"Dim 40", [&](Bitmap& d) { Dim(a, d, 40); },
         [&](size_t i) { return static_cast<uint8_t>(std::max(0, a.pixels[i] - 40)); }},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name + " width " + std::to_string(l.width) + " gap " + std::to_string(l.gap));
      Bitmap d = padded(false);
      const Bytes before = d.pixels;
      c.run(d);
      size_t wrong = 0;
      for (size_t i = 0; i < d.pixels.size(); ++i) {
        bool inside = i % static_cast<size_t>(d.stride) < rowBytes;
        wrong += d.pixels[i] != (inside ? c.rule(i) : before[i]);
      }
      EXPECT_EQ(wrong, 0u);
    }
  }
}

// Every opacity, on a picture that is one long row and on one worked row by row.
TEST(KernelsTest, CrossfadeFollowsItsRuleOnEveryOpacity) {
  std::mt19937 rng(13);
  for (int width : {40, 13}) {
    const Bitmap a = RandomPicture(width, 5, rng), b = RandomPicture(width, 5, rng);
    const size_t rowBytes = static_cast<size_t>(width) * 3 / 8 * 8;
    for (int opacity = 0; opacity <= 256; ++opacity) {
      SCOPED_TRACE("width " + std::to_string(width) + " opacity " + std::to_string(opacity));
      Bitmap d = RandomPicture(width, 5, rng);
      const Bytes before = d.pixels;
      Crossfade(a, b, opacity, d);
      size_t wrong = 0;
      for (size_t i = 0; i < d.pixels.size(); ++i) {
        bool inside = i % static_cast<size_t>(d.stride) < rowBytes;
        wrong += d.pixels[i] != (inside ? Weigh(a.pixels[i], b.pixels[i], static_cast<unsigned>(opacity)) : before[i]);
      }
      ASSERT_EQ(wrong, 0u);
      EXPECT_EQ(BlendAlpha(), opacity);
    }
  }
}

TEST(KernelsTest, PictureKernelsKeepToTheSmallestOperand) {
  std::mt19937 rng(3);
  Bitmap big = RandomPicture(800, 600, rng);
  // A destination larger than the operand is written only where the operand is.
  Bitmap small = RandomPicture(400, 300, rng);
  Bitmap d(800, 600);
  d.Fill(7, 7, 7);
  Brighten(small, d, 10);
  EXPECT_EQ(d.At(399, 299)[2], std::min(255, small.At(399, 299)[2] + 10));
  EXPECT_EQ(d.At(400, 0)[0], 7);
  EXPECT_EQ(d.At(0, 300)[0], 7);
  // A smaller destination is never written past.
  Bitmap tiny(10, 5);
  AddImages(big, big, tiny);
  MaskBlendScreen(big, big, big, tiny);
  Crossfade(big, big, 10, tiny);
  Darken(big, tiny, 10);
  Dim(big, tiny, 10);
  EXPECT_EQ(tiny.pixels.size(), 150u);
  // Rows cover (width x 3) / 8 whole groups: a 13-pixel row is 32 of its 39 bytes.
  Bitmap odd(13, 2), oddOut(13, 2);
  odd.Fill(100, 100, 100);
  oddOut.Fill(5, 5, 5);
  Brighten(odd, oddOut, 1);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(Bytes(oddOut.Row(y), oddOut.Row(y) + 32), Bytes(32, 101));
    EXPECT_EQ(Bytes(oddOut.Row(y) + 32, oddOut.Row(y) + 39), Bytes(7, 5));
  }
}

TEST(KernelsTest, CrossfadeTileCoversEightyBySixtyClipped) {
  std::mt19937 rng(4);
  Bitmap prev = RandomPicture(800, 600, rng), screen = RandomPicture(800, 600, rng);
  struct Case {
    int x, y;
  };
  for (Case c : {Case{0, 0}, Case{80, 60}, Case{760, 570}, Case{-40, -30}, Case{790, 0}, Case{800, 0}, Case{0, 600}}) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    Bitmap work(800, 600);
    work.Fill(1, 1, 1);
    CrossfadeTile(prev, screen, work, c.x, c.y, 70);
    size_t wrong = 0;
    for (int y = 0; y < 600; ++y) {
      for (int i = 0; i < 2400; ++i) {
        bool inside = y >= c.y && y < c.y + 60 && i >= c.x * 3 && i < c.x * 3 + 240;
        uint8_t want = inside ? Weigh(prev.Row(y)[i], screen.Row(y)[i], 70) : 1;
        wrong += work.Row(y)[i] != want;
      }
    }
    EXPECT_EQ(wrong, 0u);
  }
}

// The sprite drawers against the rule: the visible part of the colour rectangle is the
// intersection with the destination; each of its rows is blended as whole eight-pixel steps from
// its first visible column, then an exact tail.
void ModelDraw(Bitmap& dst, const Bitmap& colour, int colourX, const Bitmap& mask, int maskX, int w, int h, int x,
               int y) {
  int left = std::max(x, 0), right = std::min(x + w, dst.width);
  int top = std::max(y, 0), bottom = std::min(y + h, dst.height);
  if (left >= right || top >= bottom) return;
  int cw = right - left;
  for (int row = top; row < bottom; ++row) {
    int sy = row - y, sx = left - x;
    uint8_t* d = dst.At(left, row);
    ModelMaskedRow(d, colour.At(colourX + sx, sy), mask.At(maskX + sx, sy), d, static_cast<size_t>(cw / 8) * 3,
                   static_cast<size_t>(cw % 8) * 3);
  }
}

struct DrawCase {
  std::string name;
  int x, y;
};

const DrawCase kDrawCases[] = {
    {"inside", 100, 50},
    {"left edge cut", -5, 10},
    {"top edge cut", 20, -7},
    {"right edge cut", 190, 30},
    {"bottom edge cut", 30, 110},
    {"corner cut", -11, -13},
    {"wider than the destination", -3, 5},
    {"just outside right", 200, 0},
    {"just outside bottom", 0, 120},
    {"just outside left", -13, 0},
    {"just outside top", 0, -40},
    {"far away", 100000, -100000},
};

TEST(KernelsTest, DrawMaskedClipsToTheDestination) {
  std::mt19937 rng(5);
  Bitmap src = RandomPicture(13, 40, rng), mask = RandomMask(13, 40, rng);
  Bitmap wide = RandomPicture(210, 40, rng), wideMask = RandomMask(210, 40, rng);
  for (const DrawCase& c : kDrawCases) {
    SCOPED_TRACE(c.name);
    const Bitmap& s = c.name == "wider than the destination" ? wide : src;
    const Bitmap& m = c.name == "wider than the destination" ? wideMask : mask;
    Bitmap dst = RandomPicture(200, 120, rng), expected = dst;
    ModelDraw(expected, s, 0, m, 0, s.width, s.height, c.x, c.y);
    DrawMasked(dst, s, c.x, c.y, m);
    EXPECT_EQ(dst.pixels, expected.pixels);
  }
}

TEST(KernelsTest, DrawMaskedWithASmallerMaskDrawsOnlyWhereTheMaskIs) {
  std::mt19937 rng(6);
  Bitmap src = RandomPicture(20, 20, rng), mask = RandomMask(10, 8, rng);
  Bitmap dst = RandomPicture(50, 50, rng), expected = dst;
  ModelDraw(expected, src, 0, mask, 0, 10, 8, 3, 4);
  DrawMasked(dst, src, 3, 4, mask);
  EXPECT_EQ(dst.pixels, expected.pixels);
}

TEST(KernelsTest, DrawSideBySideTakesTheMaskFromTheRightHalf) {
  std::mt19937 rng(7);
  for (int width : {26, 27}) {  // an odd width leaves its last column unused
    Bitmap src = RandomPicture(width, 40, rng);
    Bitmap mask = RandomMask(width, 40, rng);
    for (int y = 0; y < 40; ++y) std::copy(mask.Row(y), mask.Row(y) + 39, src.At(13, y));
    for (const DrawCase& c : kDrawCases) {
      if (c.name == "wider than the destination") continue;
      SCOPED_TRACE(c.name + " width " + std::to_string(width));
      Bitmap dst = RandomPicture(200, 120, rng), expected = dst;
      ModelDraw(expected, src, 0, src, 13, 13, 40, c.x, c.y);
      DrawSideBySide(dst, c.x, src, c.y);
      EXPECT_EQ(dst.pixels, expected.pixels);
    }
  }
}

TEST(KernelsTest, DrawStackedDrawsOnlyWhatFitsWhole) {
  std::mt19937 rng(8);
  Bitmap src = RandomPicture(13, 20, rng);  // colour rows 0..9, mask rows 10..19
  Bitmap mask = RandomMask(13, 10, rng);
  for (int y = 0; y < 10; ++y) std::copy(mask.Row(y), mask.Row(y) + 39, src.Row(10 + y));
  struct Case {
    std::string name;
    int x, y;
    bool draws;
  };
  const Case cases[] = {
      {"fits", 5, 3, true},
      {"touches the right and bottom edges", 17, 20, true},
      {"one pixel too wide", 18, 0, false},
      {"one row too low", 0, 21, false},
      {"negative x", -1, 0, false},
      {"negative y", 0, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap dst = RandomPicture(30, 30, rng), expected = dst;
    if (c.draws) {
      // (13 x 3) / 8 = 4 groups a row, no tail.
      for (int i = 0; i < 10; ++i) {
        uint8_t* d = expected.At(c.x, c.y + i);
        ModelMaskedRow(d, src.Row(i), src.Row(10 + i), d, 4, 0);
      }
    }
    DrawStacked(dst, c.x, src, c.y);
    EXPECT_EQ(dst.pixels, expected.pixels);
  }
}

}  // namespace
}  // namespace torvel
