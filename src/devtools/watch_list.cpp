#include "devtools/watch_list.h"

#include <cctype>
#include <cstdio>

namespace torvel {

std::optional<WatchEntry> ParseWatchEntry(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  if (text.size() != 4) return std::nullopt;
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (kind != 'V' && kind != 'S' && kind != 'E' && kind != 'F') return std::nullopt;
  int index = 0;
  for (char c : text.substr(1)) {
    if (c < '0' || c > '9') return std::nullopt;
    index = index * 10 + (c - '0');
  }
  return WatchEntry{kind, index};
}

std::string FormatWatch(const WatchEntry& entry, const VarStore& vars) {
  long value = 0;
  switch (entry.kind) {
    case 'V': value = vars.V(entry.index); break;
    case 'S': value = vars.S(entry.index); break;
    case 'E': value = vars.E.Test(entry.index) ? 1 : 0; break;
    default: value = vars.F.Test(entry.index) ? 1 : 0; break;
  }
  char out[32];
  std::snprintf(out, sizeof out, "%c%03d = %ld", entry.kind, entry.index, value);
  return out;
}

}  // namespace torvel
