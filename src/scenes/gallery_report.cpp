// The gallery's members of the state report: the seen flags, the viewer, recollection and the
// replay menu entries.
#include <string>

#include "resources/sjis.h"
#include "shell/engine.h"
#include "shell/json_text.h"

namespace torvel {

namespace {

template <typename T>
void AppendList(std::string& out, const T& values, size_t count) {
  out += '[';
  for (size_t i = 0; i < count; ++i) {
    if (i) out += ',';
    out += std::to_string(values[i]);
  }
  out += ']';
}

void AppendInt(std::string& out, const char* key, int value) {
  out += ",\"";
  out += key;
  out += "\":" + std::to_string(value);
}

}  // namespace

void TForm1::AppendGalleryState(std::string& out) const {
  out += ",\"D\":";
  AppendSetBits(out, vars.D);
  out += ",\"C\":";
  AppendSetBits(out, vars.C);

  const CgViewer& v = viewer;
  out += ",\"viewer\":{\"page\":";
  AppendJsonString(out, SjisToUtf8(v.pageName));
  out += ",\"viewing\":";
  out += v.viewing ? "true" : "false";
  out += ",\"cells\":[";
  const bool hasSet = v.set >= 0 && static_cast<size_t>(v.set) < v.cells.size();
  for (int k = 1; k <= kViewCells; ++k) {
    if (k > 1) out += ',';
    out += std::to_string(hasSet ? v.cells[static_cast<size_t>(v.set)][static_cast<size_t>(k)].state : 0);
  }
  out += ']';
  AppendInt(out, "type", v.page.type);
  AppendInt(out, "set", v.set);
  AppendInt(out, "sets", static_cast<int>(v.page.sets.size()));
  AppendInt(out, "hover", v.hover);
  AppendInt(out, "picture", v.viewing ? v.picture : -1);
  AppendInt(out, "musicCell", v.musicCell);
  AppendInt(out, "seen", v.seen);
  AppendInt(out, "total", v.total);
  out += '}';

  const RecollectionScreen& r = recollectionScreen;
  out += ",\"recollection\":{\"open\":";
  out += r.open ? "true" : "false";
  out += ",\"pages\":";
  AppendList(out, r.pages, r.pages.size());
  out += ",\"cells\":";
  AppendList(out, r.cells, r.cells.size());
  size_t queued = 0;
  while (queued < r.queue.size() && r.queue[queued] != 0) ++queued;
  out += ",\"queue\":";
  AppendList(out, r.queue, queued);
  out += ",\"slots\":[";
  for (int s = 0; s < kRecordSlots; ++s) {
    if (s) out += ',';
    out += "{\"name\":";
    AppendJsonString(out, SjisToUtf8(recollection.Name(s)));
    const auto& list = recollection.playLists[static_cast<size_t>(s)];
    size_t used = 0;
    while (used < kRecordUsedEntries && list[used] != 0) ++used;
    out += ",\"list\":";
    AppendList(out, list, used);
    out += '}';
  }
  out += ']';
  AppendInt(out, "tab", r.tab);
  AppendInt(out, "slot", r.slot);
  AppendInt(out, "highlight", r.highlight);
  AppendInt(out, "preview", r.preview);
  AppendInt(out, "position", r.position);
  out += '}';

  out += ",\"replayEntries\":{\"nextScene\":";
  out += replayMenu.nextScene ? "true" : "false";
  out += ",\"endReplay\":";
  out += replayMenu.endReplay ? "true" : "false";
  out += '}';
}

}  // namespace torvel
