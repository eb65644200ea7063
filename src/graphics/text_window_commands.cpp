// Text window commands and drawing. Empty until the text window and the glyphs land.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdWinOpen(std::string_view) { return 0; }

int TForm1::CmdWinClose(std::string_view) { return 0; }

// Draws the text window over the screen buffer again.
void TForm1::RedrawTextWindow() {}

// Draws `text` straight onto the window in the message font, white, without background, ending
// at x = `right`.
void TForm1::DrawStringOnWindow(std::string_view, int, int, int) {}

}  // namespace torvel
