// Any bytes as the input file of a headless run: every line is read as an event or refused with
// its line number, and the events come in time order. The names a dialog line gives go through
// the name rule as the name entry window would take them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/headless/input_script.h"
#include "resources/sjis.h"
#include "screens/name_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  torvel::InputScript script = torvel::ParseInputScript(text);
  if (!script.error.empty()) {
    if (script.error.rfind("line ", 0) != 0) __builtin_trap();
    return 0;
  }
  for (size_t i = 1; i < script.events.size(); ++i) {
    if (script.events[i].time < script.events[i - 1].time) __builtin_trap();
  }
  torvel::KeyCodeByName(text);
  for (const torvel::InputEvent& e : script.events) {
    if (e.kind != torvel::InputEvent::Kind::Dialog) continue;
    const torvel::DialogAnswer& answer = e.dialog;
    if (answer.window == torvel::DialogAnswer::Window::Name) {
      if (answer.name.fields.size() > static_cast<size_t>(torvel::NameEntryModel::kFieldCount)) __builtin_trap();
      for (const auto& field : answer.name.fields) {
        std::string sjis;
        if (field && torvel::Utf8ToSjisExact(*field, sjis)) torvel::IsValidPlayerName(sjis);
      }
    } else if (answer.window == torvel::DialogAnswer::Window::List) {
      using A = torvel::ListAnswer::Action;
      const bool slotted = answer.list.action != A::Sort && answer.list.action != A::Close;
      if (slotted && (answer.list.number < 1 || answer.list.number > 99)) __builtin_trap();
    }
  }
  return 0;
}
