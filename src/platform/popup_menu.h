#pragma once
// A pop-up menu as the engine hands it to the host: entries in order, each with an id the engine
// knows it by, its caption (Shift-JIS) and whether it can be chosen. An entry without an id is a
// separator.
#include <string>
#include <vector>

namespace torvel {

struct PopupMenuEntry {
  std::string id;
  std::string caption;
  bool enabled = true;
  bool Separator() const { return id.empty(); }
};

struct PopupMenuModel {
  std::string name;  // "popup": the right-click menu
  std::vector<PopupMenuEntry> entries;
};

}  // namespace torvel
