// Picture commands: backgrounds, sprites, the overlay, the parts sheet, fades and pans. Until
// the layers and the compositor land they take their argument and change nothing.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdGra(std::string_view) { return AnswerInterruptAfterPictureChange(); }

int TForm1::CmdGrb(std::string_view) { return 0; }

int TForm1::CmdBg(std::string_view) { return 0; }

int TForm1::CmdSpr(std::string_view) { return 0; }

int TForm1::CmdChar(std::string_view) { return 0; }

int TForm1::CmdClrb(std::string_view) { return 0; }

int TForm1::CmdOvr(std::string_view) { return 1; }

int TForm1::CmdPtset(std::string_view) { return 0; }

int TForm1::CmdPartsload(std::string_view) { return 0; }

int TForm1::CmdDirect(std::string_view) { return 0; }

int TForm1::CmdMode(std::string_view) { return 1; }

int TForm1::CmdScroll(std::string_view) { return 1; }

int TForm1::CmdFadein(std::string_view) { return 0; }

int TForm1::CmdFadeout(std::string_view) { return 0; }

}  // namespace torvel
