#include "devtools/script_selector_model.h"

#include <algorithm>

#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

void ScriptSelectorModel::Show(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  fullList = std::move(names);
  shownList = fullList;
  chosen.clear();
  if (!mask.empty()) {
    filterPending = true;
    countdown = kSelectorFilterTicks - 1;
  }
}

void ScriptSelectorModel::MaskChanged(std::string_view text) {
  mask = std::string(text);
  if (mask.empty()) return;
  shownList = fullList;
  countdown = 0;
  filterPending = true;
}

void ScriptSelectorModel::Tick() {
  if (!filterPending) return;
  if (++countdown < kSelectorFilterTicks) return;
  filterPending = false;
  const std::string upper = SjisUpper(mask);
  shownList.clear();
  for (const std::string& name : fullList)
    if (name.find(upper) != std::string::npos) shownList.push_back(name);
}

bool ScriptSelectorModel::Choose(int index) {
  if (index < 0 || static_cast<size_t>(index) >= shownList.size()) return false;
  chosen = shownList[static_cast<size_t>(index)];
  return true;
}

bool StartChosenScript(TForm1& engine, std::string_view name) {
  if (name.empty() || !engine.LoadScript(name, 1)) return false;
  engine.script.callDepth = 0;
  engine.WaitReset();
  engine.ctl.scriptRunning = true;
  return true;
}

}  // namespace torvel
