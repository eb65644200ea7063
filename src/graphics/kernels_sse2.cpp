// The row loops with 128-bit SSE2 registers: sixteen bytes (two groups) a step, products in
// 16-bit lanes as the formulas ask.
#include "graphics/kernel_rows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>

#define TORVEL_SSE2 __attribute__((target("sse2")))

namespace torvel {

namespace {

constexpr size_t kStep = 16;
constexpr int kAllLanes = 0xFFFF;

TORVEL_SSE2 inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
TORVEL_SSE2 inline void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// (a × (255 − m) >> 8) + (b × m >> 8). Placing a byte in the high half of a lane makes the
// high half of the 32-bit product exactly the product shifted right by 8.
TORVEL_SSE2 inline __m128i MaskedSplit16(__m128i a, __m128i b, __m128i m) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i inverse = _mm_xor_si128(m, _mm_set1_epi8(-1));
  __m128i pl = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, a), _mm_unpacklo_epi8(inverse, zero));
  __m128i ph = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, a), _mm_unpackhi_epi8(inverse, zero));
  __m128i ql = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, b), _mm_unpacklo_epi8(m, zero));
  __m128i qh = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, b), _mm_unpackhi_epi8(m, zero));
  return _mm_packus_epi16(_mm_add_epi16(pl, ql), _mm_add_epi16(ph, qh));
}

// Masks are mostly clear or opaque (sprites, glyph cells, wipe patterns): whole steps of either
// need no products. An opaque byte gives b × 255 >> 8, which is b − 1 saturated at 0.
TORVEL_SSE2 void MaskedGroups(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t groups) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i ones = _mm_set1_epi8(-1);
  const __m128i one = _mm_set1_epi8(1);
  size_t i = 0;
  const size_t n = groups * kGroupBytes;
  for (; i + kStep <= n; i += kStep) {
    __m128i mv = Load(m + i);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(mv, zero)) == kAllLanes) {
      Store(d + i, Load(a + i));
      continue;
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(mv, ones)) == kAllLanes) {
      Store(d + i, _mm_subs_epu8(Load(b + i), one));
      continue;
    }
    __m128i av = Load(a + i);
    __m128i r = MaskedSplit16(av, Load(b + i), mv);
    // All ones in the eight bytes of a group whose mask bytes are all zero.
    __m128i z = _mm_cmpeq_epi32(mv, zero);
    z = _mm_and_si128(z, _mm_shuffle_epi32(z, _MM_SHUFFLE(2, 3, 0, 1)));
    Store(d + i, _mm_or_si128(_mm_and_si128(z, av), _mm_andnot_si128(z, r)));
  }
  scalar::MaskedGroups(a + i, b + i, m + i, d + i, (n - i) / kGroupBytes);
}

// Without the shortcut a clear byte gives a × 255 >> 8, which is a − 1 saturated at 0.
TORVEL_SSE2 void MaskedSplit(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i ones = _mm_set1_epi8(-1);
  const __m128i one = _mm_set1_epi8(1);
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) {
    __m128i mv = Load(m + i);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(mv, zero)) == kAllLanes) {
      Store(d + i, _mm_subs_epu8(Load(a + i), one));
    } else if (_mm_movemask_epi8(_mm_cmpeq_epi8(mv, ones)) == kAllLanes) {
      Store(d + i, _mm_subs_epu8(Load(b + i), one));
    } else {
      Store(d + i, MaskedSplit16(Load(a + i), Load(b + i), mv));
    }
  }
  scalar::MaskedSplit(a + i, b + i, m + i, d + i, n - i);
}

// (a × wa + b × (256 − wa)) >> 8 = b + ((a − b) × wa >> 8), with one signed product a lane:
// (a − b) × 128 fits 16 bits, and its product with 2 × wa has (a − b) × wa / 256 as its high half,
// rounded down as the shift rounds.
TORVEL_SSE2 void Weighted(const uint8_t* a, const uint8_t* b, unsigned wa, uint8_t* d, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_set1_epi16(static_cast<short>(2 * wa));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) {
    __m128i av = Load(a + i), bv = Load(b + i);
    __m128i bl = _mm_unpacklo_epi8(bv, zero), bh = _mm_unpackhi_epi8(bv, zero);
    __m128i dl = _mm_slli_epi16(_mm_sub_epi16(_mm_unpacklo_epi8(av, zero), bl), 7);
    __m128i dh = _mm_slli_epi16(_mm_sub_epi16(_mm_unpackhi_epi8(av, zero), bh), 7);
    __m128i lo = _mm_add_epi16(bl, _mm_mulhi_epi16(dl, w));
    __m128i hi = _mm_add_epi16(bh, _mm_mulhi_epi16(dh, w));
    Store(d + i, _mm_packus_epi16(lo, hi));
  }
  scalar::Weighted(a + i, b + i, wa, d + i, n - i);
}

TORVEL_SSE2 void WeightedRows(const uint8_t* a, ptrdiff_t aStride, const uint8_t* b, ptrdiff_t bStride, unsigned wa,
                              uint8_t* d, ptrdiff_t dStride, size_t n, size_t rows) {
  for (size_t r = 0; r < rows; ++r, a += aStride, b += bStride, d += dStride) Weighted(a, b, wa, d, n);
}

TORVEL_SSE2 void Scale(const uint8_t* a, unsigned level, uint8_t* d, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_set1_epi16(static_cast<short>(level));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) {
    __m128i av = Load(a + i);
    __m128i lo = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, av), w);
    __m128i hi = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, av), w);
    Store(d + i, _mm_packus_epi16(lo, hi));
  }
  scalar::Scale(a + i, level, d + i, n - i);
}

TORVEL_SSE2 void AddSaturated(const uint8_t* a, const uint8_t* b, uint8_t* d, size_t n) {
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm_adds_epu8(Load(a + i), Load(b + i)));
  scalar::AddSaturated(a + i, b + i, d + i, n - i);
}

TORVEL_SSE2 void AddConstant(const uint8_t* a, uint8_t v, uint8_t* d, size_t n) {
  const __m128i vv = _mm_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm_adds_epu8(Load(a + i), vv));
  scalar::AddConstant(a + i, v, d + i, n - i);
}

TORVEL_SSE2 void SubtractConstant(const uint8_t* a, uint8_t v, uint8_t* d, size_t n) {
  const __m128i vv = _mm_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm_subs_epu8(Load(a + i), vv));
  scalar::SubtractConstant(a + i, v, d + i, n - i);
}

// (a × (256 − wb) >> 8) + (b × wb >> 8): each byte in the high half of its lane, so the high
// half of the product with a weight is the product shifted right by 8, as in Scale.
TORVEL_SSE2 void WeightedSplit(const uint8_t* a, const uint8_t* b, unsigned wb, uint8_t* d, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i wa = _mm_set1_epi16(static_cast<short>(256 - wb));
  const __m128i wbv = _mm_set1_epi16(static_cast<short>(wb));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) {
    __m128i av = Load(a + i), bv = Load(b + i);
    __m128i lo = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpacklo_epi8(zero, av), wa),
                               _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, bv), wbv));
    __m128i hi = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpackhi_epi8(zero, av), wa),
                               _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, bv), wbv));
    Store(d + i, _mm_packus_epi16(lo, hi));
  }
  scalar::WeightedSplit(a + i, b + i, wb, d + i, n - i);
}

}  // namespace

const RowKernels* Sse2RowKernels() {
  static constexpr RowKernels kTable{MaskedGroups, MaskedSplit, Weighted,         WeightedRows, Scale,
                                     AddSaturated, AddConstant, SubtractConstant, WeightedSplit};
  return &kTable;
}

}  // namespace torvel

#else

namespace torvel {
const RowKernels* Sse2RowKernels() { return nullptr; }
}  // namespace torvel

#endif
