// Slot plate templates and labels from arbitrary bytes: the lines stay few, and a filled line
// stays within its limit whatever the label inserts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "screens/slot_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t cut = size > 0 ? data[0] % (size + 1) : 0;
  const std::string_view tmpl = bytes.substr(0, cut);
  const std::string_view label = bytes.substr(cut);
  const std::vector<torvel::SlotTextLine> lines = torvel::SplitSlotTemplate(tmpl);
  if (lines.empty() || lines.size() > torvel::kSlotTextLinesMax) __builtin_trap();
  for (const torvel::SlotTextLine& line : lines) {
    if (line.offset < 0 || line.offset > 99 * 4) __builtin_trap();
    const std::string used = torvel::FillUsedSlotLine(line.text, static_cast<int>(size % 99) + 1, label);
    if (used.size() > torvel::kSlotTextLineMax) __builtin_trap();
    if (torvel::FillEmptySlotLine(line.text, 99).size() > torvel::kSlotTextLineMax) __builtin_trap();
  }
  return 0;
}
