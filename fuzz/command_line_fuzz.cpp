// Arbitrary bytes as command lines: matching, argument positions and integer arguments.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/command_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const int number = MatchCommand(line);
  const std::string_view argument = CommandArgument(number, line);
  if (!argument.empty() &&
      (argument.data() < line.data() || argument.data() + argument.size() > line.data() + line.size())) {
    __builtin_trap();
  }
  ReadInteger(argument);
  ReadInteger(line);
  return 0;
}
