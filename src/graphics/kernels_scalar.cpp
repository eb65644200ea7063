// The portable form of the row loops: the reference the SIMD forms are tested against.
#include "graphics/kernel_rows.h"

namespace torvel {

const RowKernels* ScalarRowKernels() {
  static constexpr RowKernels kTable{
      scalar::MaskedGroups, scalar::MaskedSplit, scalar::Weighted,         scalar::WeightedRows, scalar::Scale,
      scalar::AddSaturated, scalar::AddConstant, scalar::SubtractConstant, scalar::WeightedSplit};
  return &kTable;
}

}  // namespace torvel
