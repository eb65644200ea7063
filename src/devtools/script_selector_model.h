#pragma once
// The script selector's rules, apart from any window: the list of the data archive's scripts,
// the mask that filters it a moment after the last key, and the choice.
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

class TForm1;

// The mask filters the list on the seventh 100 ms tick after its last change.
inline constexpr int kSelectorFilterTicks = 7;

struct ScriptSelectorModel {
  std::vector<std::string> fullList;  // upper-case, sorted
  std::vector<std::string> shownList;
  std::string mask;
  int countdown = 0;
  bool filterPending = false;
  std::string chosen;  // empty: nothing chosen

  // Fills both lists from the archive's names; a mask still in the box filters at the next tick.
  void Show(std::vector<std::string> names);
  // A new mask shows the full list until the filter runs; an emptied mask keeps the list.
  void MaskChanged(std::string_view text);
  // One tick of the 100 ms timer.
  void Tick();
  // Chooses the shown entry `index`; false (nothing chosen) when there is none.
  bool Choose(int index);
  // The close button: nothing is started.
  void Close() { chosen.clear(); }
};

// Starts the story afresh from `name`: the call stack and waits are reset only once the script
// has loaded, so a name that does not load leaves the running story as it was.
bool StartChosenScript(TForm1& engine, std::string_view name);

}  // namespace torvel
