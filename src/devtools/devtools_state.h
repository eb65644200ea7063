#pragma once
// What the developer windows keep in the engine for the whole run.
#include <functional>
#include <string>
#include <vector>

#include "devtools/debug_script_set.h"
#include "devtools/variable_editor_model.h"
#include "devtools/watch_list.h"

namespace torvel {

// The developer controls' buttons.
enum class DevButton { ScriptEditor, FlagEditor, ScriptSelector };

struct DevButtonPress {
  DevButton button = DevButton::ScriptEditor;
  // ScriptSelector: the name chosen already (the headless host's lines); empty lets the window
  // ask.
  std::string argument;
};

struct DevToolsState {
  DebugScriptSet scripts;

  // Presses wait here until control is back in the frame loop.
  std::vector<DevButtonPress> pending;

  // The variable editor ("Flag Editor").
  bool flagEditorOpen = false;
  VariableEditorState flagEditor;
  // While true, global-data writes store memory as it is instead of merging the file's flags
  // into it: from the developer's OK while the editor is open, up to and including the first
  // write after it closed.
  bool globalDataReplace = false;
  bool replaceEndsAtNextWrite = false;

  // The windows of a front end that has them. Without one a press acts on the engine alone: the
  // script editor returns at once, the selector starts only a name given with the press.
  std::function<int(int tag)> showScriptEditor;  // modal; returns the position to run from
  std::function<void()> showFlagEditor;          // not modal; the engine state is already open
  std::function<std::string(const std::vector<std::string>& names)> showScriptSelector;  // modal
  // Called on every kWatchRefreshTicks-th tick of the main timer.
  std::function<void()> watchTick;
};

}  // namespace torvel
