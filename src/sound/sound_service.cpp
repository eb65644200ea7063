// Sound output as the frame loop and the timer see it: start-up, servicing and the voice state.
#include "platform/sound_device.h"
#include "shell/engine.h"

namespace torvel {

void TForm1::InitSoundOutput() { StartSoundDevice(); }

void TForm1::ServiceSound() { MusicTick(); }

bool TForm1::IsVoiceOrEffectPlaying() const {
  if (!sound.available) return false;
  SoundDevice& device = host.Sound();
  return device.Status(kVoiceSlot).playing || device.Status(kEffectSlot).playing;
}

// What `wait_v_end` and auto mode wait for: the voice and the one-shot effect.
bool TForm1::VoicePlaying() const { return IsVoiceOrEffectPlaying(); }

void TForm1::StopVoice() {
  if (!sound.available) return;
  FreeSlot(kVoiceSlot);
}

void TForm1::PlayVoiceLine(std::string_view name) {
  if (ctl.skipActive) return;
  PlaySoundByName(name, 0);
}

}  // namespace torvel
