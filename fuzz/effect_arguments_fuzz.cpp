// The screen effects' readers from arbitrary bytes: the definition file "effect" with an entry
// name taken from the input itself, and the argument fields of `manpu` and `sprmv`.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/argument_fields.h"
#include "graphics/effect_definitions.h"
#include "graphics/effect_support.h"

namespace {

void CheckSteps(const std::vector<torvel::EffectStep>& steps) {
  if (steps.size() > static_cast<size_t>(torvel::kMaxEffectSteps)) std::abort();
  for (const torvel::EffectStep& s : steps) {
    if (s.opacity < 0 || s.opacity > 255) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte gives the length of the entry name that follows it; the rest is the file.
  const size_t nameLength = std::min<size_t>(data[0] % 16, size - 1);
  const std::string_view name(reinterpret_cast<const char*>(data) + 1, nameLength);
  const std::span<const uint8_t> file(data + 1 + nameLength, size - 1 - nameLength);
  CheckSteps(torvel::ReadEffectEntry(file, name));
  // Every header of the file is looked up as well, so entries of every shape are read.
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  int headers = 0;
  for (size_t at = 0; at < text.size() && headers < 8; ++at) {
    if (text[at] != ':' || (at > 0 && text[at - 1] != '\0')) continue;
    const size_t end = text.find('\0', at);
    CheckSteps(torvel::ReadEffectEntry(file, text.substr(at + 1, end == text.npos ? text.npos : end - at - 1)));
    ++headers;
  }

  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const torvel::ArgumentFields fields = torvel::SplitArguments(all);
  if (fields.count < 1) std::abort();
  for (const torvel::ArgumentField& f : fields.field) {
    if (f.text.size() > torvel::kArgumentFieldBytes) std::abort();
  }
  if (torvel::SplitEffectFields(all).empty()) std::abort();
  return 0;
}
