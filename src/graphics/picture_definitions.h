#pragma once
// The definition lists of composite pictures (`_sprset` for sprites, `_bgset` for
// backgrounds): entries of a header line ":NAME" and up to eight part lines, each a picture
// name alone or a name with an X and Y.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

constexpr size_t kMaxDefinitionParts = 8;

struct PictureDefinitions {
  std::vector<std::string> lines;  // upper-cased, in file order, through ":END"
  // Headers (without the ":") that came after a "$DEBUG_OUT" line, each once, in order.
  std::vector<std::string> exportNames;
};

struct DefinitionPart {
  std::string name;
  bool placed = false;  // a name with X and Y, drawn over the base
  int x = 0;
  int y = 0;
};

// Reads a definition file as stored in the data archive (lines ended by NUL bytes). Empty lines
// and lines starting with ";" are skipped; reading stops after ":END".
PictureDefinitions ParseDefinitions(std::span<const uint8_t> body);

// The parts of the entry `name` (without its ":"; compared after upper-casing). False when the
// list has no such entry.
bool FindDefinition(const PictureDefinitions& list, std::string_view name, std::vector<DefinitionPart>& parts);

}  // namespace torvel
