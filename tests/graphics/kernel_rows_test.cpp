// The SIMD forms of the row loops give the same bytes as the portable form, on every short length
// and on whole screens.
#include "graphics/kernel_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "graphics/kernels.h"

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kGuard = 40;  // bytes past the length that must stay untouched

class KernelRowsTest : public ::testing::TestWithParam<KernelLevel> {
 protected:
  void SetUp() override {
    if (GetParam() > BestKernelLevel()) GTEST_SKIP() << "this processor lacks the form";
  }
  void TearDown() override { UseKernelLevel(BestKernelLevel()); }
  const RowKernels& Simd() const { return RowKernelsFor(GetParam()); }
  const RowKernels& Scalar() const { return RowKernelsFor(KernelLevel::Scalar); }
};

std::string LevelName(const ::testing::TestParamInfo<KernelLevel>& info) {
  return info.param == KernelLevel::Sse2 ? "Sse2" : "Avx2";
}

// Random operands. Masks get the shapes real ones have: stretches of 8 to 64 clear or opaque
// bytes (so that whole SIMD steps are uniform), stretches of 0 and 255 mixed, and graded bytes.
Bytes RandomBytes(size_t n, std::mt19937& rng, bool maskLike) {
  Bytes v(n);
  for (size_t i = 0; i < n;) {
    if (!maskLike) {
      v[i++] = static_cast<uint8_t>(rng());
      continue;
    }
    size_t run = 8 * (1 + rng() % 8);
    unsigned kind = rng() % 4;
    for (size_t k = i; k < std::min(n, i + run); ++k) {
      v[k] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(kind == 2 ? rng() : (rng() % 2) * 255);
    }
    i += run;
  }
  return v;
}

// Runs one loop of both forms on the same operands and compares every byte, the guard bytes
// included; also with the destination being the first operand.
using Loop =
    std::function<void(const RowKernels&, const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n)>;

void CompareOnEveryLength(const RowKernels& scalar, const RowKernels& simd, const Loop& loop, bool groupsOnly) {
  std::mt19937 rng(42);
  for (size_t n = 0; n <= 64; ++n) {
    if (groupsOnly && n % 8) continue;
    for (int trial = 0; trial < 20; ++trial) {
      SCOPED_TRACE("length " + std::to_string(n) + " trial " + std::to_string(trial));
      Bytes a = RandomBytes(n + kGuard, rng, false), b = RandomBytes(n + kGuard, rng, false);
      Bytes m = RandomBytes(n + kGuard, rng, true);
      Bytes d1 = RandomBytes(n + kGuard, rng, false), d2 = d1;
      loop(scalar, a.data(), b.data(), m.data(), d1.data(), n);
      loop(simd, a.data(), b.data(), m.data(), d2.data(), n);
      ASSERT_TRUE(d1 == d2);
      Bytes inPlace1 = a, inPlace2 = a;
      loop(scalar, inPlace1.data(), b.data(), m.data(), inPlace1.data(), n);
      loop(simd, inPlace2.data(), b.data(), m.data(), inPlace2.data(), n);
      ASSERT_TRUE(inPlace1 == inPlace2);
      // Past the length the in-place buffers still hold a, the others their own guard bytes.
      ASSERT_TRUE(std::equal(inPlace1.begin(), inPlace1.begin() + static_cast<long>(n), d1.begin()));
    }
  }
}

TEST_P(KernelRowsTest, EveryLoopMatchesThePortableFormOnLengthsUpTo64) {
  struct Case {
    std::string name;
    Loop loop;
    bool groupsOnly;
  };
  const std::vector<Case> cases = {
      {"masked groups",
       [](const RowKernels& k, const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
         k.maskedGroups(a, b, m, d, n / 8);
       },
       true},
      {"masked split",
       [](const RowKernels& k, const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
         k.maskedSplit(a, b, m, d, n);
       },
       false},
      {"weighted",
       [](const RowKernels& k, const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
         k.weighted(a, b, m[0] == 0 ? 256u : m[0], d, n);
       },
       false},
      {"weighted 0",
       [](const RowKernels& k, const uint8_t* a, const uint8_t* b, const uint8_t*, uint8_t* d, size_t n) {
         k.weighted(a, b, 0, d, n);
       },
       false},
      {"scale",
       [](const RowKernels& k, const uint8_t* a, const uint8_t*, const uint8_t* m, uint8_t* d, size_t n) {
         k.scale(a, m[1] == 0 ? 256u : m[1], d, n);
       },
       false},
      {"add saturated",
       [](const RowKernels& k, const uint8_t* a, const uint8_t* b, const uint8_t*, uint8_t* d, size_t n) {
         k.addSaturated(a, b, d, n);
       },
       false},
      {"add constant",
       [](const RowKernels& k, const uint8_t* a, const uint8_t* b, const uint8_t*, uint8_t* d, size_t n) {
         k.addConstant(a, b[0], d, n);
       },
       false},
      {"subtract constant",
       [](const RowKernels& k, const uint8_t* a, const uint8_t* b, const uint8_t*, uint8_t* d, size_t n) {
         k.subtractConstant(a, b[0], d, n);
       },
       false},
      {"weighted split",
       [](const RowKernels& k, const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
         k.weightedSplit(a, b, m[2] == 0 ? 256u : m[2], d, n);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompareOnEveryLength(Scalar(), Simd(), c.loop, c.groupsOnly);
  }
}

// The weighted loop against its rule on every opacity, each form, lengths where the wide steps,
// the 16-byte step and the byte tail all take part, in place too.
TEST(KernelRowsRuleTest, WeightedFollowsItsRuleOnEveryOpacity) {
  std::mt19937 rng(5);
  for (KernelLevel level : {KernelLevel::Scalar, KernelLevel::Sse2, KernelLevel::Avx2}) {
    if (level > BestKernelLevel()) continue;
    const RowKernels& k = RowKernelsFor(level);
    for (unsigned wa = 0; wa <= 256; ++wa) {
      // Rows of up to eight steps take another path than longer ones: lengths around each step.
      for (size_t n :
           {0, 1, 15, 16, 17, 31, 32, 33, 47, 48, 49, 64, 96, 127, 160, 192, 224, 239, 240, 255, 256, 257, 300}) {
        SCOPED_TRACE("level " + std::to_string(static_cast<int>(level)) + " opacity " + std::to_string(wa) +
                     " length " + std::to_string(n));
        Bytes a = RandomBytes(n + kGuard, rng, false), b = RandomBytes(n + kGuard, rng, false);
        Bytes want = RandomBytes(n + kGuard, rng, false), got = want;
        for (size_t i = 0; i < n; ++i) want[i] = static_cast<uint8_t>((a[i] * wa + b[i] * (256 - wa)) >> 8);
        k.weighted(a.data(), b.data(), wa, got.data(), n);
        ASSERT_TRUE(got == want);
        Bytes inPlace = a;
        k.weighted(inPlace.data(), b.data(), wa, inPlace.data(), n);
        ASSERT_TRUE(std::equal(inPlace.begin(), inPlace.begin() + static_cast<long>(n), want.begin()));
        ASSERT_TRUE(
            std::equal(inPlace.begin() + static_cast<long>(n), inPlace.end(), a.begin() + static_cast<long>(n)));
      }
    }
  }
}

// The split form truncates each product on its own: (a × (256 − wb) >> 8) + (b × wb >> 8), which
// differs from the weighted loop's single shift (255 and 255 at weight 1 give 253, not 255).
TEST(KernelRowsRuleTest, WeightedSplitFollowsItsRuleOnEveryWeight) {
  std::mt19937 rng(7);
  for (KernelLevel level : {KernelLevel::Scalar, KernelLevel::Sse2, KernelLevel::Avx2}) {
    if (level > BestKernelLevel()) continue;
    const RowKernels& k = RowKernelsFor(level);
    for (unsigned wb = 0; wb <= 256; ++wb) {
      for (size_t n : {0, 1, 15, 16, 17, 31, 32, 33, 63, 64, 65, 240, 300}) {
        SCOPED_TRACE("level " + std::to_string(static_cast<int>(level)) + " weight " + std::to_string(wb) + " length " +
                     std::to_string(n));
        Bytes a = RandomBytes(n + kGuard, rng, false), b = RandomBytes(n + kGuard, rng, false);
        if (n > 0) a[0] = b[0] = 255;
        Bytes want = RandomBytes(n + kGuard, rng, false), got = want;
        for (size_t i = 0; i < n; ++i) want[i] = static_cast<uint8_t>((a[i] * (256 - wb) >> 8) + (b[i] * wb >> 8));
        k.weightedSplit(a.data(), b.data(), wb, got.data(), n);
        ASSERT_TRUE(got == want);
        Bytes inPlace = a;
        k.weightedSplit(inPlace.data(), b.data(), wb, inPlace.data(), n);
        ASSERT_TRUE(std::equal(inPlace.begin(), inPlace.begin() + static_cast<long>(n), want.begin()));
      }
    }
  }
  // Both operands white at weight 1: 255 × 255 >> 8 = 254, 255 × 1 >> 8 = 0.
  const Bytes white(1, 255);
  Bytes out(1, 0);
  ScalarRowKernels()->weightedSplit(white.data(), white.data(), 1, out.data(), 1);
  EXPECT_EQ(out[0], 254);
}

// The rectangle form: each row by the rule, each operand with its own stride, and nothing written
// between the rows or after the last one.
TEST(KernelRowsRuleTest, WeightedRowsCoverTheirRectangleOnly) {
  std::mt19937 rng(6);
  struct Shape {
    size_t n, rows;
    ptrdiff_t aStride, bStride, dStride;
  };
  const Shape shapes[] = {
      {240, 60, 2400, 2400, 2400}, {240, 3, 250, 300, 260}, {17, 5, 17, 40, 33}, {1, 4, 3, 5, 2},
      {64, 2, 64, 64, 64},         {33, 1, 0, 0, 0},        {0, 3, 10, 10, 10},  {100, 0, 100, 100, 100},
  };
  for (KernelLevel level : {KernelLevel::Scalar, KernelLevel::Sse2, KernelLevel::Avx2}) {
    if (level > BestKernelLevel()) continue;
    const RowKernels& k = RowKernelsFor(level);
    for (const Shape& s : shapes) {
      for (unsigned wa : {0u, 1u, 2u, 97u, 128u, 200u, 255u, 256u}) {
        SCOPED_TRACE("level " + std::to_string(static_cast<int>(level)) + " opacity " + std::to_string(wa) + " shape " +
                     std::to_string(s.n) + "x" + std::to_string(s.rows));
        auto size = [&](ptrdiff_t stride) { return static_cast<size_t>(stride) * s.rows + s.n + kGuard; };
        Bytes a = RandomBytes(size(s.aStride), rng, false), b = RandomBytes(size(s.bStride), rng, false);
        Bytes want = RandomBytes(size(s.dStride), rng, false), got = want;
        for (size_t r = 0; r < s.rows; ++r) {
          for (size_t i = 0; i < s.n; ++i) {
            unsigned av = a[r * static_cast<size_t>(s.aStride) + i], bv = b[r * static_cast<size_t>(s.bStride) + i];
            want[r * static_cast<size_t>(s.dStride) + i] = static_cast<uint8_t>((av * wa + bv * (256 - wa)) >> 8);
          }
        }
        k.weightedRows(a.data(), s.aStride, b.data(), s.bStride, wa, got.data(), s.dStride, s.n, s.rows);
        ASSERT_TRUE(got == want);
      }
    }
  }
}

Bitmap RandomPicture(int w, int h, std::mt19937& rng, bool maskLike) {
  Bitmap p(w, h);
  p.pixels = RandomBytes(p.pixels.size(), rng, maskLike);
  return p;
}

TEST_P(KernelRowsTest, WholeScreensMatchThePortableForm) {
  std::mt19937 rng(9);
  const Bitmap a = RandomPicture(800, 600, rng, false), b = RandomPicture(800, 600, rng, false);
  const Bitmap m = RandomPicture(800, 600, rng, true);
  const Bitmap sprite = RandomPicture(301, 400, rng, false), spriteMask = RandomPicture(301, 400, rng, true);
  Bitmap pair(602, 400), stacked(301, 800);
  for (int y = 0; y < 400; ++y) {
    std::copy(sprite.Row(y), sprite.Row(y) + 903, pair.Row(y));
    std::copy(spriteMask.Row(y), spriteMask.Row(y) + 903, pair.At(301, y));
    std::copy(sprite.Row(y), sprite.Row(y) + 903, stacked.Row(y));
    std::copy(spriteMask.Row(y), spriteMask.Row(y) + 903, stacked.Row(400 + y));
  }
  struct Case {
    std::string name;
    std::function<void(Bitmap&)> run;
  };
  const std::vector<Case> cases = {
      {"MaskBlendScreen", [&](Bitmap& d) { MaskBlendScreen(a, b, m, d); }},
      {"Crossfade odd", [&](Bitmap& d) { Crossfade(a, b, 173, d); }},
      {"Crossfade even", [&](Bitmap& d) { Crossfade(a, b, 96, d); }},
      {"Crossfade 2", [&](Bitmap& d) { Crossfade(a, b, 2, d); }},
      {"Crossfade 254", [&](Bitmap& d) { Crossfade(a, b, 254, d); }},
      {"CrossfadeTile", [&](Bitmap& d) { CrossfadeTile(a, b, d, 333, 222, 99); }},
      {"CrossfadeTile even", [&](Bitmap& d) { CrossfadeTile(a, b, d, 320, 180, 112); }},
      {"Darken", [&](Bitmap& d) { Darken(a, d, 201); }},
      {"CrossfadeTruncated", [&](Bitmap& d) { CrossfadeTruncated(a, b, 131, d); }},
      {"AddImages", [&](Bitmap& d) { AddImages(a, b, d); }},
      {"Brighten", [&](Bitmap& d) { Brighten(a, d, 77); }},
      {"Dim", [&](Bitmap& d) { Dim(a, d, 77); }},
      {"DrawMasked", [&](Bitmap& d) { DrawMasked(d, sprite, 517, -13, spriteMask); }},
      {"DrawSideBySide", [&](Bitmap& d) { DrawSideBySide(d, -31, pair, 250); }},
      {"DrawStacked", [&](Bitmap& d) { DrawStacked(d, 250, stacked, 100); }},
      {"BlendRowsMaskedPixels",
       [&](Bitmap& d) {
         for (int y = 0; y < 600; ++y) BlendRowsMaskedPixels(d.Row(y), b.Row(y), 799, m.Row(y), d.Row(y));
       }},
      {"BlendRowsAlphaPixels",
       [&](Bitmap& d) {
         for (int y = 0; y < 600; ++y) BlendRowsAlphaPixels(d.Row(y), b.Row(y), 797, 31, d.Row(y));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap portable = a, simd = a;
    portable.Fill(9, 8, 7);
    UseKernelLevel(KernelLevel::Scalar);
    c.run(portable);
    simd = a;
    simd.Fill(9, 8, 7);
    UseKernelLevel(GetParam());
    ASSERT_EQ(ActiveKernelLevel(), GetParam());
    c.run(simd);
    EXPECT_TRUE(portable.pixels == simd.pixels);
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, KernelRowsTest, ::testing::Values(KernelLevel::Sse2, KernelLevel::Avx2), LevelName);

}  // namespace
}  // namespace torvel
