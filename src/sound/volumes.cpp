// Volumes: the player's sliders (−3000 … 0) times 2.5 in hundredths of a decibel, the master
// volume and the mute of the panic screen.
#include "platform/sound_device.h"
#include "shell/engine.h"

namespace torvel {

namespace {
// The primary buffer's volume while muted.
constexpr int kMutedVolume = -9999;

// Slider × 2.5, truncated toward zero like the integer arithmetic it comes from.
int SliderToVolume(int slider) { return static_cast<int>(static_cast<int64_t>(slider) * 5 / 2); }
}  // namespace

int TForm1::VoiceVolume() const { return SliderToVolume(settings.Vol1); }
int TForm1::EffectVolume() const { return SliderToVolume(settings.Vol2); }
int TForm1::MusicVolume() const { return SliderToVolume(settings.Vol3); }
int TForm1::FourthVolume() const { return SliderToVolume(settings.Vol4); }

void TForm1::ApplyVolumes() {
  if (!sound.available) return;
  SoundDevice& device = host.Sound();
  device.SetMasterVolume(sound.muted ? kMutedVolume : sound.masterVolume);
  for (int slot = 0; slot < kSoundSlotCount; ++slot) {
    if (!device.Filled(slot)) continue;
    int volume = FourthVolume();
    if (slot == kVoiceSlot) {
      volume = VoiceVolume();
    } else if (slot == kEffectSlot || slot == kLoopEffectSlot) {
      volume = EffectVolume();
    } else if (slot <= kAnimationSlot) {
      volume = MusicVolume();
    }
    device.SetVolume(slot, volume);
  }
}

void TForm1::SetMute(bool on) {
  sound.muted = on;
  ApplyVolumes();
}

}  // namespace torvel
