// Arbitrary bytes as a loose script source of either form, as a saved picture filter, as a watch
// list entry and as an edited history: decoded text must encode back to the same lines, the line table must ascend,
// and the history block must end the text.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "devtools/debug_script_set.h"
#include "devtools/edit_history.h"
#include "devtools/script_editor_model.h"
#include "devtools/watch_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  std::span<const uint8_t> bytes(data, size);
  for (ScriptSourceForm form : {ScriptSourceForm::ShiftJis, ScriptSourceForm::Utf8}) {
    std::optional<std::vector<std::string>> lines = DecodeScriptSource(bytes, form);
    if (!lines) continue;
    std::optional<std::string> text = EncodeScriptSource(*lines, form);
    if (!text) __builtin_trap();
    std::span<const uint8_t> again(reinterpret_cast<const uint8_t*>(text->data()), text->size());
    if (DecodeScriptSource(again, form) != lines) __builtin_trap();
    std::vector<int> table = BuildLineTable(*lines);
    for (size_t i = 1; i < table.size(); ++i)
      if (table[i] <= table[i - 1]) __builtin_trap();
    std::vector<std::string> history = StartHistory(*lines, "entry");
    if (history.empty() || history.size() > kHistoryLinesMax) __builtin_trap();
    std::vector<std::string> merged = MergeHistory(*lines, history);
    if (merged.size() < history.size() + 2) __builtin_trap();
    if (ClassifyEditedLine(lines->empty() ? std::string() : lines->front()) > kEditedOther) __builtin_trap();
  }
  std::string record(reinterpret_cast<const char*>(data), size);
  PictureFilter filter = ParseFilter(record);
  if (filter.trimStart < 0 || filter.trimStart > 300 || filter.trimSize < 100 || filter.trimSize > 600)
    __builtin_trap();
  if (std::optional<WatchEntry> watch = ParseWatchEntry(record)) {
    if (watch->index < 0 || watch->index > 999) __builtin_trap();
    VarStore vars;
    if (FormatWatch(*watch, vars).size() != 8) __builtin_trap();
  }
  return 0;
}
