// The "backlog" and "pageHistory" members of the state report.
#include <algorithm>

#include "resources/sjis.h"
#include "shell/engine.h"
#include "shell/json_text.h"

namespace torvel {

void TForm1::AppendBacklogState(std::string& out) const {
  const BacklogScreen& b = backlogViews.screen;
  const int count = text.backlog.Lines();
  out += ",\"backlog\":{\"open\":";
  out += ctl.backlogOpen ? "true" : "false";
  out += ",\"lines\":" + std::to_string(count);
  out += ",\"scroll\":" + std::to_string(b.scroll);
  out += ",\"rows\":" + std::to_string(b.rows);
  // The visible rows while the backlog is open: the records and the voice each row gives.
  const int first = std::max(0, count - b.rows - b.scroll);
  const int shownRows = ctl.backlogOpen ? std::clamp(count - first, 0, static_cast<int>(b.voices.size())) : 0;
  out += ",\"shown\":[";
  for (int i = 0; i < shownRows; ++i) {
    if (i) out += ',';
    AppendJsonString(out, SjisToUtf8(text.backlog.Line(first + i)));
  }
  out += "],\"voices\":[";
  for (int i = 0; i < shownRows; ++i) {
    if (i) out += ',';
    AppendJsonString(out, SjisToUtf8(b.voices[static_cast<size_t>(i)]));
  }
  out += "]},\"pageHistory\":{\"count\":" + std::to_string(pageHistory.count);
  const bool shown = ctl.screenMode == smPageBack;
  out += ",\"position\":" + std::to_string(shown ? backlogViews.pages.position : 0);
  out += ",\"slot\":" + std::to_string(shown ? backlogViews.pages.slot : -1) + "}";
}

}  // namespace torvel
