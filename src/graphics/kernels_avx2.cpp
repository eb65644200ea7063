// The row loops with 256-bit AVX2 registers: thirty-two bytes (four groups) a step, products in
// 16-bit lanes as the formulas ask. Unpacking and packing both work inside each 128-bit half, so
// bytes come back in their order without a cross-lane shuffle. Built with a per-function target
// so that nothing else in the program is compiled for AVX2.
#include "graphics/kernel_rows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define TORVEL_AVX2 __attribute__((target("avx2")))

namespace torvel {

namespace {

constexpr size_t kStep = 32;
constexpr int kAllLanes = -1;

// What is left after the 32-byte steps goes to the 16-byte loops (short rows such as the 240
// bytes of a transition tile would otherwise spend half their time in the portable loop).
inline const RowKernels& Rest() {
  static const RowKernels* rest = Sse2RowKernels() ? Sse2RowKernels() : ScalarRowKernels();
  return *rest;
}

TORVEL_AVX2 inline __m256i Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
TORVEL_AVX2 inline void Store(uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// (a × (255 − m) >> 8) + (b × m >> 8). Placing a byte in the high half of a lane makes the
// high half of the 32-bit product exactly the product shifted right by 8.
TORVEL_AVX2 inline __m256i MaskedSplit32(__m256i a, __m256i b, __m256i m) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi16(255);
  // The complement is taken in the 16-bit lanes: a subtraction is cheaper than two more unpacks.
  __m256i ml = _mm256_unpacklo_epi8(m, zero), mh = _mm256_unpackhi_epi8(m, zero);
  __m256i pl = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, a), _mm256_sub_epi16(full, ml));
  __m256i ph = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, a), _mm256_sub_epi16(full, mh));
  __m256i ql = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, b), ml);
  __m256i qh = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, b), mh);
  return _mm256_packus_epi16(_mm256_add_epi16(pl, ql), _mm256_add_epi16(ph, qh));
}

// Masks are mostly clear or opaque (sprites, glyph cells, wipe patterns): whole steps of either
// need no products. An opaque byte gives b × 255 >> 8, which is b − 1 saturated at 0.
TORVEL_AVX2 void MaskedGroups(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t groups) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i ones = _mm256_set1_epi8(-1);
  const __m256i one = _mm256_set1_epi8(1);
  size_t i = 0;
  const size_t n = groups * kGroupBytes;
  for (; i + kStep <= n; i += kStep) {
    __m256i mv = Load(m + i);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(mv, zero)) == kAllLanes) {
      Store(d + i, Load(a + i));
      continue;
    }
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(mv, ones)) == kAllLanes) {
      Store(d + i, _mm256_subs_epu8(Load(b + i), one));
      continue;
    }
    __m256i av = Load(a + i);
    __m256i r = MaskedSplit32(av, Load(b + i), mv);
    // All ones in the eight bytes of a group whose mask bytes are all zero.
    __m256i z = _mm256_cmpeq_epi32(mv, zero);
    z = _mm256_and_si256(z, _mm256_shuffle_epi32(z, _MM_SHUFFLE(2, 3, 0, 1)));
    Store(d + i, _mm256_or_si256(_mm256_and_si256(z, av), _mm256_andnot_si256(z, r)));
  }
  Rest().maskedGroups(a + i, b + i, m + i, d + i, (n - i) / kGroupBytes);
}

// Without the shortcut a clear byte gives a × 255 >> 8, which is a − 1 saturated at 0.
TORVEL_AVX2 void MaskedSplit(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i ones = _mm256_set1_epi8(-1);
  const __m256i one = _mm256_set1_epi8(1);
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) {
    __m256i mv = Load(m + i);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(mv, zero)) == kAllLanes) {
      Store(d + i, _mm256_subs_epu8(Load(a + i), one));
    } else if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(mv, ones)) == kAllLanes) {
      Store(d + i, _mm256_subs_epu8(Load(b + i), one));
    } else {
      Store(d + i, MaskedSplit32(Load(a + i), Load(b + i), mv));
    }
  }
  Rest().maskedSplit(a + i, b + i, m + i, d + i, n - i);
}

// (a × wa + b × (256 − wa)) >> 8 = b + ((a − b) × wa >> 8), with one signed product a lane:
// (a − b) × 128 fits 16 bits, and its product with 2 × wa has (a − b) × wa / 256 as its high half,
// rounded down as the shift rounds.
TORVEL_AVX2 inline __m256i WeightedAny32(__m256i av, __m256i bv, __m256i w) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i bl = _mm256_unpacklo_epi8(bv, zero), bh = _mm256_unpackhi_epi8(bv, zero);
  __m256i dl = _mm256_slli_epi16(_mm256_sub_epi16(_mm256_unpacklo_epi8(av, zero), bl), 7);
  __m256i dh = _mm256_slli_epi16(_mm256_sub_epi16(_mm256_unpackhi_epi8(av, zero), bh), 7);
  return _mm256_packus_epi16(_mm256_add_epi16(bl, _mm256_mulhi_epi16(dl, w)),
                             _mm256_add_epi16(bh, _mm256_mulhi_epi16(dh, w)));
}

// For an even weight 2u (u = 1..127): (a × 2u + b × (256 − 2u)) >> 8 = (a × u + b × (128 − u)) >> 7,
// where both weights fit a signed byte, so one multiply-add of byte pairs does a lane. Fades step
// their opacity in multiples of eight, so this is the common case.
TORVEL_AVX2 inline __m256i WeightedEven32(__m256i av, __m256i bv, __m256i pairWeights) {
  __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(av, bv), pairWeights);
  __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(av, bv), pairWeights);
  return _mm256_packus_epi16(_mm256_srli_epi16(lo, 7), _mm256_srli_epi16(hi, 7));
}

TORVEL_AVX2 void Weighted(const uint8_t* a, const uint8_t* b, unsigned wa, uint8_t* d, size_t n) {
  size_t i = 0;
  if (wa % 2 == 0 && wa >= 2 && wa <= 254) {
    const unsigned u = wa / 2;
    const __m256i pairWeights = _mm256_set1_epi16(static_cast<short>(u | (128 - u) << 8));
    for (; i + kStep <= n; i += kStep) Store(d + i, WeightedEven32(Load(a + i), Load(b + i), pairWeights));
  } else {
    const __m256i w = _mm256_set1_epi16(static_cast<short>(2 * wa));
    for (; i + kStep <= n; i += kStep) Store(d + i, WeightedAny32(Load(a + i), Load(b + i), w));
  }
  Rest().weighted(a + i, b + i, wa, d + i, n - i);
}

TORVEL_AVX2 void Scale(const uint8_t* a, unsigned level, uint8_t* d, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i w = _mm256_set1_epi16(static_cast<short>(level));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) {
    __m256i av = Load(a + i);
    __m256i lo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, av), w);
    __m256i hi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, av), w);
    Store(d + i, _mm256_packus_epi16(lo, hi));
  }
  Rest().scale(a + i, level, d + i, n - i);
}

TORVEL_AVX2 void AddSaturated(const uint8_t* a, const uint8_t* b, uint8_t* d, size_t n) {
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm256_adds_epu8(Load(a + i), Load(b + i)));
  Rest().addSaturated(a + i, b + i, d + i, n - i);
}

TORVEL_AVX2 void AddConstant(const uint8_t* a, uint8_t v, uint8_t* d, size_t n) {
  const __m256i vv = _mm256_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm256_adds_epu8(Load(a + i), vv));
  Rest().addConstant(a + i, v, d + i, n - i);
}

TORVEL_AVX2 void SubtractConstant(const uint8_t* a, uint8_t v, uint8_t* d, size_t n) {
  const __m256i vv = _mm256_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm256_subs_epu8(Load(a + i), vv));
  Rest().subtractConstant(a + i, v, d + i, n - i);
}

}  // namespace

const RowKernels* Avx2RowKernels() {
  static constexpr RowKernels kTable{MaskedGroups, MaskedSplit, Weighted,        Scale,
                                     AddSaturated, AddConstant, SubtractConstant};
  return &kTable;
}

}  // namespace torvel

#else

namespace torvel {
const RowKernels* Avx2RowKernels() { return nullptr; }
}  // namespace torvel

#endif
