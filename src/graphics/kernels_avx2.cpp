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

TORVEL_AVX2 inline __m256i Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
TORVEL_AVX2 inline void Store(uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// (a × (255 − m) >> 8) + (b × m >> 8). Placing a byte in the high half of a lane makes the
// high half of the 32-bit product exactly the product shifted right by 8.
TORVEL_AVX2 inline __m256i MaskedSplit32(__m256i a, __m256i b, __m256i m) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i inverse = _mm256_xor_si256(m, _mm256_set1_epi8(-1));
  __m256i pl = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, a), _mm256_unpacklo_epi8(inverse, zero));
  __m256i ph = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, a), _mm256_unpackhi_epi8(inverse, zero));
  __m256i ql = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, b), _mm256_unpacklo_epi8(m, zero));
  __m256i qh = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, b), _mm256_unpackhi_epi8(m, zero));
  return _mm256_packus_epi16(_mm256_add_epi16(pl, ql), _mm256_add_epi16(ph, qh));
}

TORVEL_AVX2 void MaskedGroups(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t groups) {
  const __m256i zero = _mm256_setzero_si256();
  size_t i = 0;
  const size_t n = groups * kGroupBytes;
  for (; i + kStep <= n; i += kStep) {
    __m256i av = Load(a + i), mv = Load(m + i);
    __m256i r = MaskedSplit32(av, Load(b + i), mv);
    // All ones in the eight bytes of a group whose mask bytes are all zero.
    __m256i z = _mm256_cmpeq_epi32(mv, zero);
    z = _mm256_and_si256(z, _mm256_shuffle_epi32(z, _MM_SHUFFLE(2, 3, 0, 1)));
    Store(d + i, _mm256_or_si256(_mm256_and_si256(z, av), _mm256_andnot_si256(z, r)));
  }
  scalar::MaskedGroups(a + i, b + i, m + i, d + i, (n - i) / kGroupBytes);
}

TORVEL_AVX2 void MaskedSplit(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, MaskedSplit32(Load(a + i), Load(b + i), Load(m + i)));
  scalar::MaskedSplit(a + i, b + i, m + i, d + i, n - i);
}

TORVEL_AVX2 void Weighted(const uint8_t* a, const uint8_t* b, unsigned wa, uint8_t* d, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i w1 = _mm256_set1_epi16(static_cast<short>(wa));
  const __m256i w2 = _mm256_set1_epi16(static_cast<short>(256 - wa));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) {
    __m256i av = Load(a + i), bv = Load(b + i);
    // The sum is at most 255 × 256, so it fits an unsigned 16-bit lane.
    __m256i lo = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(av, zero), w1),
                                  _mm256_mullo_epi16(_mm256_unpacklo_epi8(bv, zero), w2));
    __m256i hi = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(av, zero), w1),
                                  _mm256_mullo_epi16(_mm256_unpackhi_epi8(bv, zero), w2));
    Store(d + i, _mm256_packus_epi16(_mm256_srli_epi16(lo, 8), _mm256_srli_epi16(hi, 8)));
  }
  scalar::Weighted(a + i, b + i, wa, d + i, n - i);
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
  scalar::Scale(a + i, level, d + i, n - i);
}

TORVEL_AVX2 void AddSaturated(const uint8_t* a, const uint8_t* b, uint8_t* d, size_t n) {
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm256_adds_epu8(Load(a + i), Load(b + i)));
  scalar::AddSaturated(a + i, b + i, d + i, n - i);
}

TORVEL_AVX2 void AddConstant(const uint8_t* a, uint8_t v, uint8_t* d, size_t n) {
  const __m256i vv = _mm256_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm256_adds_epu8(Load(a + i), vv));
  scalar::AddConstant(a + i, v, d + i, n - i);
}

TORVEL_AVX2 void SubtractConstant(const uint8_t* a, uint8_t v, uint8_t* d, size_t n) {
  const __m256i vv = _mm256_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + kStep <= n; i += kStep) Store(d + i, _mm256_subs_epu8(Load(a + i), vv));
  scalar::SubtractConstant(a + i, v, d + i, n - i);
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
