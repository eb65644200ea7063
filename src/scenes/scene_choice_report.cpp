// The special scenes' part of the state report: the pointer shape, the click map, the selection
// tree and the object slots.
#include <string>

#include "shell/engine.h"
#include "shell/json_text.h"

namespace torvel {

void TForm1::AppendSceneState(std::string& out) const {
  out += ",\"pointerShape\":" + std::to_string(clickMap.pointerShape);

  const ClickMapState& m = clickMap;
  out += ",\"clickMap\":{\"map\":";
  AppendJsonSjis(out, m.active ? m.map.name : std::string());
  out += ",\"regions\":" + std::to_string(m.active ? m.map.regionCount : 0);
  out += ",\"selected\":" + std::to_string(m.active ? m.selected : 0);
  out += ",\"timeout\":" + std::to_string(m.active && m.timeoutOption != 0 ? m.timeoutTicks : 0) + "}";

  const SelectionTreeState& t = selectionTree;
  out += ",\"selectionTree\":{\"tree\":" + std::to_string(t.tree);
  out += ",\"hover\":" + std::to_string(t.hover);
  out += ",\"target\":";
  AppendJsonSjis(out, t.target);
  out += ",\"first\":" + std::to_string(t.firstRows.size());
  out += ",\"second\":" + std::to_string(t.secondRows.size()) + "}";

  out += ",\"objects\":{\"slots\":[";
  for (size_t i = 0; i < objects.slot.size(); ++i) {
    if (i) out += ',';
    if (objects.slot[i].inUse) {
      AppendJsonSjis(out, objects.slot[i].name);
    } else {
      out += "null";
    }
  }
  out += "],\"buffer\":";
  out += objects.bufferExists ? "true" : "false";
  out += "}";
}

}  // namespace torvel
