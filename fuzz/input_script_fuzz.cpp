// Arbitrary bytes as a headless input file, the dialog answers included; the names it gives are
// put through the name rule as the name entry window would.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/headless/input_script.h"
#include "resources/sjis.h"
#include "screens/name_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  const InputScript script = ParseInputScript(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!script.error.empty() && !script.events.empty()) __builtin_trap();
  for (const InputEvent& e : script.events) {
    if (e.kind != InputEvent::Kind::Dialog) continue;
    const DialogAnswer& answer = e.dialog;
    if (answer.window == DialogAnswer::Window::Name) {
      if (answer.name.fields.size() > static_cast<size_t>(NameEntryModel::kFieldCount)) __builtin_trap();
      for (const auto& field : answer.name.fields) {
        std::string sjis;
        if (field && Utf8ToSjisExact(*field, sjis)) IsValidPlayerName(sjis);
      }
    } else if (answer.window == DialogAnswer::Window::List) {
      if (answer.list.action != ListAnswer::Action::Sort && answer.list.action != ListAnswer::Action::Close &&
          (answer.list.number < 1 || answer.list.number > 99)) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
