#pragma once
// The installed faces offered for the message font: those fontconfig says support Japanese, by
// their Japanese family name where they have one.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

// One family name of a face and the language it is given in ("ja", "en", or empty).
struct FamilyName {
  std::string utf8;
  std::string language;
};

// The name a face is offered under, in Shift-JIS: its Japanese family name, else its first one.
// Nothing for a face without names, whose name has no Shift-JIS form or starts with "@" (the
// vertical-writing faces of Windows).
std::optional<std::string> OfferedFaceName(std::span<const FamilyName> names);

// The installed Japanese faces in Shift-JIS, each name once, in byte order.
std::vector<std::string> JapaneseFaceNames();

}  // namespace torvel
