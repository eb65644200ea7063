#pragma once
// Pieces of the state report's JSON.
#include <cstdio>
#include <string>
#include <string_view>

#include "resources/sjis.h"
#include "script/variables.h"

namespace torvel {

// A JSON string of UTF-8 text, with quotes, backslashes and control characters escaped.
inline void AppendJsonString(std::string& out, std::string_view utf8) {
  out += '"';
  for (char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

// A JSON string of Shift-JIS text (names of scripts, pictures and sounds).
inline void AppendJsonSjis(std::string& out, std::string_view sjis) { AppendJsonString(out, SjisToUtf8(sjis)); }

// The numbers of the set flags, as a JSON array.
inline void AppendSetBits(std::string& out, const FlagSet& flags) {
  out += '[';
  bool first = true;
  for (int i = 0; i < flags.Size(); ++i) {
    if (!flags.Test(i)) continue;
    if (!first) out += ',';
    out += std::to_string(i);
    first = false;
  }
  out += ']';
}

}  // namespace torvel
