// The row loops with 256-bit AVX2 registers: thirty-two bytes (four groups) a step, products in
// 16-bit lanes as the formulas ask. Unpacking and packing both work inside each 128-bit half, so
// bytes come back in their order without a cross-lane shuffle. Built with a per-function target
// so that nothing else in the program is compiled for AVX2.
#include "graphics/kernel_rows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <algorithm>
#include <cstring>

#define TORVEL_AVX2 __attribute__((target("avx2")))

namespace torvel {

namespace {

constexpr size_t kStep = 32;
constexpr size_t kHalfStep = 16;
constexpr size_t kCacheLine = 64;
constexpr size_t kPrefetchedRowBytes = 512;
constexpr size_t kPrefetchRowsAhead = 2;
constexpr int kAllLanes = -1;

// What is left after the 32-byte steps goes to the 16-byte loops (short rows such as the 240
// bytes of a transition tile would otherwise spend half their time in the portable loop).
inline const RowKernels& Rest() {
  static const RowKernels* rest = Sse2RowKernels() ? Sse2RowKernels() : ScalarRowKernels();
  return *rest;
}

TORVEL_AVX2 inline __m256i Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
TORVEL_AVX2 inline void Store(uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
TORVEL_AVX2 inline __m128i Load16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
TORVEL_AVX2 inline void Store16(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// (a × (255 − m) >> 8) + (b × m >> 8). Placing a byte in the high half of a lane makes the
// high half of the 32-bit product exactly the product shifted right by 8. The four products are
// the limit here (the processor has one vector multiplier), so everything around them is kept to
// the fewest operations: the complement is an exclusive or in the 16-bit lanes.
TORVEL_AVX2 inline __m256i MaskedSplit32(__m256i a, __m256i b, __m256i m) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lowByte = _mm256_set1_epi16(255);
  __m256i ml = _mm256_unpacklo_epi8(m, zero), mh = _mm256_unpackhi_epi8(m, zero);
  __m256i pl = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, a), _mm256_xor_si256(ml, lowByte));
  __m256i ph = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, a), _mm256_xor_si256(mh, lowByte));
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

// Without the shortcut a clear byte gives a × 255 >> 8, which is a − 1 saturated at 0, and an
// opaque one b − 1. Testing every step for that costs a tenth of the graded speed, and graded
// bytes come in long stretches (the soft edge of a wipe), so a graded step is followed by a
// block of steps computed without the test; the bytes are the same either way.
TORVEL_AVX2 void MaskedSplit(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
  constexpr size_t kUntestedSteps = 8;
  const __m256i ones = _mm256_set1_epi8(-1);
  const __m256i one = _mm256_set1_epi8(1);
  const size_t steps = n - n % kStep;
  size_t i = 0;
  while (i < steps) {
    __m256i mv = Load(m + i);
    if (!_mm256_testnzc_si256(mv, ones)) {  // all clear or all opaque
      Store(d + i, _mm256_subs_epu8(Load(_mm256_testz_si256(mv, mv) ? a + i : b + i), one));
      i += kStep;
      continue;
    }
    const size_t end = std::min(steps, i + kUntestedSteps * kStep);
    for (; i < end; i += kStep) Store(d + i, MaskedSplit32(Load(a + i), Load(b + i), Load(m + i)));
  }
  Rest().maskedSplit(a + i, b + i, m + i, d + i, n - i);
}

// For an even weight 2u (u = 1..127): (a × 2u + b × (256 − 2u)) >> 8 = (a × u + b × (128 − u)) >> 7,
// where both weights fit a signed byte, so one multiply-add of byte pairs does a lane. Fades step
// their opacity in multiples of eight, so this is the common case.
TORVEL_AVX2 inline __m256i WeightedEven32(__m256i av, __m256i bv, __m256i pairWeights) {
  __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(av, bv), pairWeights);
  __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(av, bv), pairWeights);
  return _mm256_packus_epi16(_mm256_srli_epi16(lo, 7), _mm256_srli_epi16(hi, 7));
}

// Any weight 1..255: the weights themselves are the unsigned bytes of the multiply-add and the
// operands, less 128, its signed ones. The lane is then a × wa + b × (256 − wa) − 32768, which
// fits 16 signed bits; its high byte, with the top bit turned back, is the result.
TORVEL_AVX2 inline __m256i WeightedBiased32(__m256i av, __m256i bv, __m256i pairWeights) {
  const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
  av = _mm256_xor_si256(av, bias);
  bv = _mm256_xor_si256(bv, bias);
  __m256i lo = _mm256_maddubs_epi16(pairWeights, _mm256_unpacklo_epi8(av, bv));
  __m256i hi = _mm256_maddubs_epi16(pairWeights, _mm256_unpackhi_epi8(av, bv));
  return _mm256_xor_si256(_mm256_packs_epi16(_mm256_srai_epi16(lo, 8), _mm256_srai_epi16(hi, 8)), bias);
}

// The same two forms on sixteen bytes, for what is left of a row after the 32-byte steps.
TORVEL_AVX2 inline __m128i WeightedEven16(__m128i av, __m128i bv, __m128i pairWeights) {
  __m128i lo = _mm_maddubs_epi16(_mm_unpacklo_epi8(av, bv), pairWeights);
  __m128i hi = _mm_maddubs_epi16(_mm_unpackhi_epi8(av, bv), pairWeights);
  return _mm_packus_epi16(_mm_srli_epi16(lo, 7), _mm_srli_epi16(hi, 7));
}

TORVEL_AVX2 inline __m128i WeightedBiased16(__m128i av, __m128i bv, __m128i pairWeights) {
  const __m128i bias = _mm_set1_epi8(static_cast<char>(0x80));
  av = _mm_xor_si128(av, bias);
  bv = _mm_xor_si128(bv, bias);
  __m128i lo = _mm_maddubs_epi16(pairWeights, _mm_unpacklo_epi8(av, bv));
  __m128i hi = _mm_maddubs_epi16(pairWeights, _mm_unpackhi_epi8(av, bv));
  return _mm_xor_si128(_mm_packs_epi16(_mm_srai_epi16(lo, 8), _mm_srai_epi16(hi, 8)), bias);
}

template <bool kEven>
TORVEL_AVX2 inline void WeightedStep(const uint8_t* a, const uint8_t* b, __m256i pairWeights, uint8_t* d) {
  __m256i av = Load(a), bv = Load(b);
  Store(d, kEven ? WeightedEven32(av, bv, pairWeights) : WeightedBiased32(av, bv, pairWeights));
}

// One row with the form chosen for wa; everything inline so that a short row costs no calls. A
// row of fewer than eight steps (an 80-pixel transition tile is 240 bytes) takes them through one
// jump that goes the same way on every row of a rectangle, not a loop whose end is mispredicted.
template <bool kEven>
TORVEL_AVX2 inline void WeightedLine(const uint8_t* a, const uint8_t* b, unsigned wa, __m256i pairWeights, uint8_t* d,
                                     size_t n) {
  constexpr size_t kShortRowSteps = 8;
  size_t i = n / kStep * kStep;
  if (n < kShortRowSteps * kStep) {
    switch (n / kStep) {
      case 7: WeightedStep<kEven>(a + 6 * kStep, b + 6 * kStep, pairWeights, d + 6 * kStep); [[fallthrough]];
      case 6: WeightedStep<kEven>(a + 5 * kStep, b + 5 * kStep, pairWeights, d + 5 * kStep); [[fallthrough]];
      case 5: WeightedStep<kEven>(a + 4 * kStep, b + 4 * kStep, pairWeights, d + 4 * kStep); [[fallthrough]];
      case 4: WeightedStep<kEven>(a + 3 * kStep, b + 3 * kStep, pairWeights, d + 3 * kStep); [[fallthrough]];
      case 3: WeightedStep<kEven>(a + 2 * kStep, b + 2 * kStep, pairWeights, d + 2 * kStep); [[fallthrough]];
      case 2: WeightedStep<kEven>(a + kStep, b + kStep, pairWeights, d + kStep); [[fallthrough]];
      case 1: WeightedStep<kEven>(a, b, pairWeights, d); [[fallthrough]];
      default: break;
    }
  } else {
    for (size_t k = 0; k < i; k += kStep) WeightedStep<kEven>(a + k, b + k, pairWeights, d + k);
  }
  if (i + kHalfStep <= n) {
    __m128i av = Load16(a + i), bv = Load16(b + i), w = _mm256_castsi256_si128(pairWeights);
    Store16(d + i, kEven ? WeightedEven16(av, bv, w) : WeightedBiased16(av, bv, w));
    i += kHalfStep;
  }
  scalar::Weighted(a + i, b + i, wa, d + i, n - i);
}

// Short rows far apart (transition tiles) get no help from the processor's stream prefetcher, so
// each row asks for the lines of the operands' row two below while it works.
TORVEL_AVX2 inline void PrefetchRow(const uint8_t* p, size_t n) {
  for (size_t off = 0; off < n; off += kCacheLine) _mm_prefetch(reinterpret_cast<const char*>(p + off), _MM_HINT_T0);
  _mm_prefetch(reinterpret_cast<const char*>(p + n - 1), _MM_HINT_T0);
}

template <bool kEven>
TORVEL_AVX2 inline void WeightedRect(const uint8_t* a, ptrdiff_t aStride, const uint8_t* b, ptrdiff_t bStride,
                                     unsigned wa, __m256i pairWeights, uint8_t* d, ptrdiff_t dStride, size_t n,
                                     size_t rows) {
  const bool prefetch = n > 0 && n <= kPrefetchedRowBytes;
  for (size_t r = 0; r < rows; ++r, a += aStride, b += bStride, d += dStride) {
    if (prefetch && r + kPrefetchRowsAhead < rows) {
      PrefetchRow(a + static_cast<ptrdiff_t>(kPrefetchRowsAhead) * aStride, n);
      PrefetchRow(b + static_cast<ptrdiff_t>(kPrefetchRowsAhead) * bStride, n);
    }
    WeightedLine<kEven>(a, b, wa, pairWeights, d, n);
  }
}

TORVEL_AVX2 void WeightedRows(const uint8_t* a, ptrdiff_t aStride, const uint8_t* b, ptrdiff_t bStride, unsigned wa,
                              uint8_t* d, ptrdiff_t dStride, size_t n, size_t rows) {
  if (wa == 0 || wa >= 256) {
    // All of one operand; memmove because d may be that operand.
    const uint8_t* from = wa == 0 ? b : a;
    const ptrdiff_t fromStride = wa == 0 ? bStride : aStride;
    for (size_t r = 0; r < rows; ++r, from += fromStride, d += dStride) std::memmove(d, from, n);
    return;
  }
  if (wa % 2 == 0) {
    const unsigned u = wa / 2;
    const __m256i pairWeights = _mm256_set1_epi16(static_cast<short>(u | (128 - u) << 8));
    WeightedRect<true>(a, aStride, b, bStride, wa, pairWeights, d, dStride, n, rows);
  } else {
    const __m256i pairWeights = _mm256_set1_epi16(static_cast<short>(wa | (256 - wa) << 8));
    WeightedRect<false>(a, aStride, b, bStride, wa, pairWeights, d, dStride, n, rows);
  }
}

TORVEL_AVX2 void Weighted(const uint8_t* a, const uint8_t* b, unsigned wa, uint8_t* d, size_t n) {
  WeightedRows(a, 0, b, 0, wa, d, 0, n, 1);
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

TORVEL_AVX2 void WeightedSplit(const uint8_t* a, const uint8_t* b, unsigned wb, uint8_t* d, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i wa = _mm256_set1_epi16(static_cast<short>(256 - wb));
  const __m256i wbv = _mm256_set1_epi16(static_cast<short>(wb));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) {
    __m256i av = Load(a + i), bv = Load(b + i);
    __m256i lo = _mm256_add_epi16(_mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, av), wa),
                                  _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, bv), wbv));
    __m256i hi = _mm256_add_epi16(_mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, av), wa),
                                  _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, bv), wbv));
    Store(d + i, _mm256_packus_epi16(lo, hi));
  }
  Rest().weightedSplit(a + i, b + i, wb, d + i, n - i);
}

}  // namespace

const RowKernels* Avx2RowKernels() {
  static constexpr RowKernels kTable{MaskedGroups, MaskedSplit, Weighted,         WeightedRows, Scale,
                                     AddSaturated, AddConstant, SubtractConstant, WeightedSplit};
  return &kTable;
}

}  // namespace torvel

#else

namespace torvel {
const RowKernels* Avx2RowKernels() { return nullptr; }
}  // namespace torvel

#endif
