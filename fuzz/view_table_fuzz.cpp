// Arbitrary `view` tables: every page read with the global page buttons, the picture and scene
// lists made from them, and the limits the reader keeps.
#include <cstddef>
#include <cstdint>
#include <span>

#include "scenes/view_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  const std::vector<std::string> lines = ViewTableLines(std::span<const uint8_t>(data, size));
  const std::array<ViewButton, kViewPageButtons> buttons = ReadGlobalPageButtons(lines);
  for (const char* name : {"VIEW_1", "VIEW_2", "2_VIEW_1", "VIEW_3"}) {
    const std::optional<ViewPageTable> page = ReadViewPage(lines, name, buttons);
    if (!page) continue;
    if (page->sets.size() > static_cast<size_t>(kViewMaxSets)) __builtin_trap();
    for (const ViewSet& set : page->sets) {
      if (set.cells.size() > static_cast<size_t>(kViewSetBlockLines)) __builtin_trap();
      for (const ViewCellLine& cell : set.cells) {
        if (cell.cell < 1 || cell.cell > kViewCells) __builtin_trap();
        if (page->type == 0 && cell.fields.size() > static_cast<size_t>(kViewCellNames)) __builtin_trap();
      }
    }
    (void)ViewPictureNames(*page);
    (void)ViewSceneList(*page);
  }
  return 0;
}
