// System sounds and the voice replay key. Empty until sound playback lands.
#include "shell/engine.h"

namespace torvel {

void TForm1::PlaySoundByName(std::string_view) {}

void TForm1::ReplayLastVoice() {}

}  // namespace torvel
