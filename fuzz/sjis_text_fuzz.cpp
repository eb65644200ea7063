// Any bytes through the Shift-JIS helpers and the conversions at the engine's edges: to UTF-8
// and back (also the strict forms of the authoring tools), upper-casing, cutting, and script
// text made into a stored body.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "resources/archive_writer.h"
#include "resources/sjis.h"

namespace {

bool ValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const uint8_t b = static_cast<uint8_t>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

// A stored body has no line breaks left, and each of its lines ends with a NUL.
void CheckBody(const std::vector<uint8_t>& body) {
  for (uint8_t b : body) {
    if (b == '\r' || b == '\n') __builtin_trap();
  }
  if (!body.empty() && body.back() != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::string utf8 = SjisToUtf8(text);
  if (!ValidUtf8(utf8)) __builtin_trap();
  const std::string sjis = Utf8ToSjis(text);
  // Text that came from Shift-JIS whole (nothing replaced) converts back to the same UTF-8.
  if (utf8.find("\xEF\xBF\xBD") == std::string::npos && SjisToUtf8(Utf8ToSjis(utf8)) != utf8) __builtin_trap();

  // The strict forms of the authoring tools: text they accept converts whole and back.
  if (IsUtf8(text) && !ValidUtf8(text)) __builtin_trap();
  if (!IsUtf8(utf8)) __builtin_trap();
  std::string exact;
  if (Utf8ToSjisExact(text, exact)) {
    if (!IsUtf8(text) || SjisToUtf8(exact).find("\xEF\xBF\xBD") != std::string::npos) __builtin_trap();
  }

  const std::string upper = SjisUpper(text);
  if (upper.size() != text.size() || !SjisEqualNoCase(text, upper)) __builtin_trap();
  const size_t limit = size > 0 ? data[0] % 64 : 0;
  const std::string_view cut = SjisCut(text, limit);
  if (cut.size() > limit || text.substr(0, cut.size()) != cut) __builtin_trap();
  if (text.size() > limit && cut.size() + 1 < limit) __builtin_trap();

  CheckBody(ScriptTextToBody(text));
  CheckBody(SjisTextToBody(text));
  CheckBody(SjisTextToBody(sjis));
  return 0;
}
