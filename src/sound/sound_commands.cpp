// Sound commands: music, voices, sound effects and movies. Empty until the sound channels land.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdMusic(std::string_view) { return 0; }

int TForm1::CmdCv(std::string_view) { return 0; }

int TForm1::CmdSe(std::string_view) { return 0; }

int TForm1::CmdSeloop(std::string_view) { return 0; }

int TForm1::CmdSeoff(std::string_view) { return 0; }

int TForm1::CmdWaitVEnd(std::string_view) { return 1; }

int TForm1::CmdMovie(std::string_view) { return 0; }

}  // namespace torvel
