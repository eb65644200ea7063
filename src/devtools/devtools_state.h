#pragma once
// What the developer windows keep in the engine for the whole run.
#include "devtools/debug_script_set.h"

namespace torvel {

struct DevToolsState {
  DebugScriptSet scripts;
};

}  // namespace torvel
