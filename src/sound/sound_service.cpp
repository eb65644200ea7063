// Sound output as the frame loop and the timer see it: start-up, servicing, the voice state,
// movies and the deferred music start.
#include "shell/engine.h"

namespace torvel {

void TForm1::InitSoundOutput() {}

void TForm1::ServiceSound() {}

bool TForm1::VoicePlaying() const { return false; }

bool TForm1::IsVoiceOrEffectPlaying() const { return false; }

void TForm1::StopVoice() {}

void TForm1::PlayVoiceLine(std::string_view) {}

bool TForm1::MovieTick() { return false; }

void TForm1::DeferredMusicTick(bool) {}

void TForm1::StopMusic() {}

}  // namespace torvel
