#include "graphics/effect_support.h"

namespace torvel {

std::vector<std::string_view> SplitEffectFields(std::string_view text) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find_first_of(",:", start);
    std::string_view field = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
    fields.push_back(field);
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

}  // namespace torvel
