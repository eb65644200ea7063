// The definition lists of composite pictures, from arbitrary bytes, and entry look-ups in them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/picture_definitions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  torvel::PictureDefinitions list = torvel::ParseDefinitions(std::span<const uint8_t>(data, size));
  std::vector<torvel::DefinitionPart> parts;
  for (const std::string& line : list.lines) {
    if (!line.empty() && line[0] == ':') torvel::FindDefinition(list, std::string_view(line).substr(1), parts);
  }
  for (const std::string& name : list.exportNames) torvel::FindDefinition(list, name, parts);
  return 0;
}
