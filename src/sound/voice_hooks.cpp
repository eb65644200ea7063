// The voice names the text leaves behind: the page's voice list and the last voice.
#include "shell/engine.h"
#include "sound/text_fields.h"

namespace torvel {

void TForm1::NoteVoiceName(std::string_view name) {
  std::string list = sound.pageVoices + std::string(name) + " ";
  // The page history keeps the list in a fixed field: a name that no longer fits is left out.
  if (list.size() <= kPageVoiceListField) sound.pageVoices = std::move(list);
  sound.lastVoice = CutToField(name, kLastVoiceField);
}

}  // namespace torvel
