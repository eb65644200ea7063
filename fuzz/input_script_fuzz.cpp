// Any bytes as the input file of a headless run: every line is read as an event or refused with
// its line number, and the events come in time order.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/headless/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  torvel::InputScript script = torvel::ParseInputScript(text);
  if (!script.error.empty()) {
    if (script.error.rfind("line ", 0) != 0) __builtin_trap();
    return 0;
  }
  for (size_t i = 1; i < script.events.size(); ++i) {
    if (script.events[i].time < script.events[i - 1].time) __builtin_trap();
  }
  torvel::KeyCodeByName(text);
  return 0;
}
