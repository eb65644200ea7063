#pragma once
// The byte loops under the blend kernels, in a portable form and in SIMD forms that give the
// same bytes. kernels.h chooses one set at run time; tests and benchmarks may pick one.
//
// Every loop reads whole operands before it writes, so the destination may be the first operand
// (the same row) but must not overlap the operands otherwise.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace torvel {

constexpr size_t kGroupBytes = 8;  // the kernels' unit of work: eight colour bytes

enum class KernelLevel { Scalar, Sse2, Avx2 };

struct RowKernels {
  // d = (a × (255 − m) >> 8) + (b × m >> 8), except that a group of eight zero mask bytes copies a.
  void (*maskedGroups)(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t groups);
  // The same formula on every byte, without the all-zero shortcut.
  void (*maskedSplit)(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n);
  // d = (a × wa + b × (256 − wa)) >> 8, wa 0..256.
  void (*weighted)(const uint8_t* a, const uint8_t* b, unsigned wa, uint8_t* d, size_t n);
  // The same over `rows` rows of n bytes, each operand's rows its own stride apart: a rectangle
  // in one call, so that short rows (transition tiles) pay no call per row.
  void (*weightedRows)(const uint8_t* a, ptrdiff_t aStride, const uint8_t* b, ptrdiff_t bStride, unsigned wa,
                       uint8_t* d, ptrdiff_t dStride, size_t n, size_t rows);
  // d = (a × level) >> 8, level 0..256.
  void (*scale)(const uint8_t* a, unsigned level, uint8_t* d, size_t n);
  // d = min(255, a + b).
  void (*addSaturated)(const uint8_t* a, const uint8_t* b, uint8_t* d, size_t n);
  // d = min(255, a + v).
  void (*addConstant)(const uint8_t* a, uint8_t v, uint8_t* d, size_t n);
  // d = max(0, a − v).
  void (*subtractConstant)(const uint8_t* a, uint8_t v, uint8_t* d, size_t n);
  // d = (a × (256 − wb) >> 8) + (b × wb >> 8), wb 0..256: each product truncated on its own.
  void (*weightedSplit)(const uint8_t* a, const uint8_t* b, unsigned wb, uint8_t* d, size_t n);
};

// The set for a level; a level this build or processor lacks gives the best one below it.
const RowKernels& RowKernelsFor(KernelLevel level);
KernelLevel BestKernelLevel();
// The set the kernels of kernels.h use (BestKernelLevel unless changed).
const RowKernels& ActiveRowKernels();
KernelLevel ActiveKernelLevel();
void UseKernelLevel(KernelLevel level);

// The tables of each form; the SIMD ones are null where the build has no such form.
const RowKernels* ScalarRowKernels();
const RowKernels* Sse2RowKernels();
const RowKernels* Avx2RowKernels();

// The portable loops, also used by the SIMD forms for what is left after their wide steps.
namespace scalar {

inline uint8_t MaskedSplitByte(unsigned a, unsigned b, unsigned m) {
  return static_cast<uint8_t>((a * (255 - m) >> 8) + (b * m >> 8));
}

inline void MaskedGroups(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t groups) {
  for (size_t g = 0; g < groups; ++g, a += kGroupBytes, b += kGroupBytes, m += kGroupBytes, d += kGroupBytes) {
    uint64_t mask;
    std::memcpy(&mask, m, kGroupBytes);
    if (mask == 0) {
      if (d != a) std::memcpy(d, a, kGroupBytes);
      continue;
    }
    for (size_t k = 0; k < kGroupBytes; ++k) d[k] = MaskedSplitByte(a[k], b[k], m[k]);
  }
}

inline void MaskedSplit(const uint8_t* a, const uint8_t* b, const uint8_t* m, uint8_t* d, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = MaskedSplitByte(a[i], b[i], m[i]);
}

inline void Weighted(const uint8_t* a, const uint8_t* b, unsigned wa, uint8_t* d, size_t n) {
  const unsigned wb = 256 - wa;
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>((a[i] * wa + b[i] * wb) >> 8);
}

inline void WeightedRows(const uint8_t* a, ptrdiff_t aStride, const uint8_t* b, ptrdiff_t bStride, unsigned wa,
                         uint8_t* d, ptrdiff_t dStride, size_t n, size_t rows) {
  for (size_t r = 0; r < rows; ++r, a += aStride, b += bStride, d += dStride) Weighted(a, b, wa, d, n);
}

inline void Scale(const uint8_t* a, unsigned level, uint8_t* d, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>((a[i] * level) >> 8);
}

inline void AddSaturated(const uint8_t* a, const uint8_t* b, uint8_t* d, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    unsigned s = a[i] + b[i];
    d[i] = static_cast<uint8_t>(s > 255 ? 255 : s);
  }
}

inline void AddConstant(const uint8_t* a, uint8_t v, uint8_t* d, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    unsigned s = a[i] + v;
    d[i] = static_cast<uint8_t>(s > 255 ? 255 : s);
  }
}

inline void SubtractConstant(const uint8_t* a, uint8_t v, uint8_t* d, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>(a[i] > v ? a[i] - v : 0);
}

inline void WeightedSplit(const uint8_t* a, const uint8_t* b, unsigned wb, uint8_t* d, size_t n) {
  const unsigned wa = 256 - wb;
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>((a[i] * wa >> 8) + (b[i] * wb >> 8));
}

}  // namespace scalar

}  // namespace torvel
