#include "graphics/argument_fields.h"

#include <climits>

#include "graphics/picture_arguments.h"
#include "resources/sjis.h"

namespace torvel {

ArgumentFields SplitArguments(std::string_view text) {
  ArgumentFields out;
  if (text.empty()) return out;
  size_t start = 0;
  for (int index = 0;; ++index) {
    size_t end = text.find_first_of(",:", start);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    if (out.count < INT_MAX) ++out.count;
    if (index < kArgumentFieldCount) {
      std::string_view field = text.substr(start, end - start);
      while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
      ArgumentField& f = out.field[static_cast<size_t>(index)];
      f.text = std::string(SjisCut(field, kArgumentFieldBytes));
      const int value = ReadNumber(f.text);
      f.value = value == 0 && (f.text.empty() || f.text[0] != '0') ? kNotANumber : value;
    }
    if (last) break;
    start = end + 1;
  }
  return out;
}

}  // namespace torvel
