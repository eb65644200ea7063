// The list window's reading of a slot file's label record from arbitrary bytes: each field stays
// within its own bytes and holds no NUL.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "screens/save_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view record(reinterpret_cast<const char*>(data), size);
  const torvel::SlotLabel label = torvel::ReadSlotLabel(record);
  if (label.date.size() > 19 || label.details.size() > 75 || label.comment.size() > 32) __builtin_trap();
  for (const std::string_view field :
       {std::string_view(label.date), std::string_view(label.details), std::string_view(label.comment)}) {
    if (field.find('\0') != std::string_view::npos) __builtin_trap();
  }
  return 0;
}
