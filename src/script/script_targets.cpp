// The script-and-label arguments, the then-part of `if` and the label search.
#include "script/script_targets.h"

#include <algorithm>
#include <cstring>

#include "resources/sjis.h"

namespace torvel {

void SplitScriptArgument(std::string_view arg, size_t limit, std::string& name, std::string& label) {
  arg = arg.substr(0, std::min(arg.size(), limit));
  arg = arg.substr(0, std::min(arg.find(' '), arg.size()));
  size_t colon = arg.find(':');
  name = std::string(arg.substr(0, colon));
  label = colon == std::string_view::npos ? std::string() : std::string(arg.substr(colon + 1));
}

bool IfThenPart(std::string_view arg, std::string_view& then) {
  size_t pos = 0;
  while (pos < arg.size() && pos < kIfScanMax && arg[pos] != ')') ++pos;
  if (pos < arg.size() && arg[pos] == ')') ++pos;
  while (pos < arg.size() && pos < kIfScanMax && arg[pos] == ' ') ++pos;
  if (pos >= kIfScanMax) return false;
  then = arg.substr(std::min(pos, arg.size()));
  return true;
}

int FindLabel(std::span<const uint8_t> buf, std::string_view label) {
  if (label.empty()) return -1;
  const size_t size = buf.size();
  const std::string wanted = SjisUpper(label);
  for (size_t pos = 0; pos < size; ++pos) {
    const void* hit = std::memchr(buf.data() + pos, ':', size - pos);
    if (!hit) break;
    pos = static_cast<size_t>(static_cast<const uint8_t*>(hit) - buf.data());
    const size_t start = pos + 1;
    if (start + wanted.size() > size) break;
    std::string_view candidate(reinterpret_cast<const char*>(buf.data() + start), wanted.size());
    const size_t after = start + wanted.size();
    if (SjisUpper(candidate) != wanted || (after < size && buf[after] != 0)) continue;
    return static_cast<int>(std::min(after + 1, size));
  }
  return -1;
}

}  // namespace torvel
