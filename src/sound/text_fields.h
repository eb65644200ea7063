#pragma once
// Names kept in fixed-size fields (save files, the page history) are cut to the field, never
// through the middle of a two-byte character.
#include <string>
#include <string_view>

#include "resources/sjis.h"

namespace torvel {

inline std::string CutToField(std::string_view text, size_t field) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = end + SjisCharLength(text, end);
    if (next > field) break;
    end = next;
  }
  return std::string(text.substr(0, end));
}

}  // namespace torvel
