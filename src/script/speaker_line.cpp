// Speaker lines: the name (or a player name from a name slot) goes to the backlog, row 0 of the
// page and the name plate. The full-screen page shows the line as text instead.
#include "resources/sjis.h"
#include "script/text_codes.h"
#include "shell/engine.h"

namespace torvel {

bool TForm1::ShowSpeakerLine() {
  const std::string_view line = script.lineBuffer;
  const bool full = vars.S(kVarDisplayMode) == 1;
  if (!text.windowShown && !full) NewPage();
  if (full) {
    script.linePos = 1;
    script.needLine = false;
    text.nameLineMode = true;
    return ShowTextLine();
  }
  std::string_view name = line.substr(std::min<size_t>(1, line.size()));
  if (line.size() > 4 && GlyphCode(line.substr(1)) == kNameMark) {
    const int slot = NameSlotOfLetter(line[4]);
    if (slot >= 0) name = text.nameSlots[static_cast<size_t>(slot)];
  }
  SetSpeaker(name);
  return false;
}

void TForm1::SetSpeaker(std::string_view name) {
  const std::string copy(name);  // `name` may be a name slot or the page row itself
  text.speakerName = copy;
  AppendBacklogText(copy);
  CloseBacklogLine();
  textWindow.page.SetRow(0, SjisCut(copy, kPageColumns - 1));
  textWindow.page.empty = false;  // the plate is drawn again with the page
  DrawNamePlate(copy);
}

}  // namespace torvel
