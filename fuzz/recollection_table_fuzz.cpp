// Arbitrary `sys_flashbak` tables: the tab rows and the parallel title and script lists, and the
// unlock search for names taken from the table itself.
#include <cstddef>
#include <cstdint>
#include <span>

#include "scenes/recollection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  const RecollectionTable t = ParseRecollectionTable(std::span<const uint8_t>(data, size));
  if (t.titles.size() != t.scripts.size()) __builtin_trap();
  if (t.tabCount < 0 || t.tabCount > kRecollectionTabRows) __builtin_trap();
  for (int count : t.pageCounts) {
    if (count < 0 || count > kRecollectionTabPages) __builtin_trap();
  }
  for (size_t i = 0; i < t.scripts.size() && i < 64; ++i) {
    const RecollectionUnlock u = FindRecollectionUnlock(t, t.scripts[i]);
    if (!t.scripts[i].empty() && (u.line < 0 || u.line > static_cast<int>(i))) __builtin_trap();
    if (u.header >= u.line && u.header >= 0) __builtin_trap();
  }
  return 0;
}
