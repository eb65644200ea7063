// What the gallery and recollection learn when a script is loaded. Until those scenes land the
// loader's calls change nothing.
#include "shell/engine.h"

namespace torvel {

void TForm1::MarkViewerSceneSeen(std::string_view) {}

void TForm1::NoteRecollectionScript(std::string_view) {}

}  // namespace torvel
