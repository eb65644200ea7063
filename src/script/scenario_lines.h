#pragma once
// Walking the lines of the loaded scenario (NUL-terminated lines in one buffer) for the block
// constructs.
#include <cstdint>

#include "script/script_state.h"

namespace torvel {

// The start of the next line at or after `pos` whose first byte is `first`, or -1.
inline int NextLineStarting(const ScriptState& s, int pos, uint8_t first) {
  while (pos < s.scenarioSize) {
    if (s.scenario[static_cast<size_t>(pos)] == first) return pos;
    while (pos < s.scenarioSize && s.scenario[static_cast<size_t>(pos)] != 0) ++pos;
    ++pos;
  }
  return -1;
}

// The start of the line after the one that holds `pos`.
inline int LineAfter(const ScriptState& s, int pos) {
  while (pos < s.scenarioSize && s.scenario[static_cast<size_t>(pos)] != 0) ++pos;
  return pos + 1 < s.scenarioSize ? pos + 1 : s.scenarioSize;
}

}  // namespace torvel
