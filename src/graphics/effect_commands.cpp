// Screen effect commands: shakes, effects, comic-symbol marks, sprite moves, effect animations
// and the background animation. Empty until the screen effects land.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdBgAnim(std::string_view) { return 0; }

int TForm1::CmdShake(std::string_view) { return 1; }

int TForm1::CmdEffect(std::string_view) { return 1; }

int TForm1::CmdManpu(std::string_view) { return 0; }

int TForm1::CmdSprmv(std::string_view) { return 1; }

int TForm1::CmdEfxanim(std::string_view) { return 1; }

// The sprite layout positions S080–S099 back to their initial values (`sprmv` INIT).
void TForm1::ResetSpriteLayout() { SetInitialSpriteLayout(vars); }

}  // namespace torvel
