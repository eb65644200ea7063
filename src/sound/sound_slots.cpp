// The device's eight slots as the engine uses them: start-up, emptying, and one-shot buffers.
#include "platform/sound_device.h"
#include "shell/engine.h"

namespace torvel {

bool TForm1::StartSoundDevice() {
  SoundDevice& device = host.Sound();
  if (!device.Start()) {
    ShutdownSlots();
    return false;
  }
  sound.masterVolume = device.MasterVolume();
  sound.available = true;
  sound.music.source = kNoMusic;
  return true;
}

void TForm1::ShutdownSlots() {
  for (int slot = 0; slot < kSoundSlotCount; ++slot) FreeSlot(slot);
  host.Sound().Shutdown();
  sound.available = false;
}

void TForm1::StopAllSlots() {
  if (!sound.available) return;
  for (int slot = 0; slot < kSoundSlotCount; ++slot) FreeSlot(slot);
}

void TForm1::FreeSlot(int slot) {
  if (slot < 0 || slot >= kSoundSlotCount) return;
  SoundDevice& device = host.Sound();
  sound.slotNames[static_cast<size_t>(slot)].clear();
  if (!device.Filled(slot)) return;
  if (device.Status(slot).playing) device.Stop(slot);
  device.Release(slot);
}

bool TForm1::PlayPcmInSlot(int slot, std::string_view name, int channels, int rate, std::span<const uint8_t> pcm,
                           int volume, bool looping) {
  FreeSlot(slot);
  SoundBufferDesc desc;
  desc.format.channels = channels;
  desc.format.rate = rate;
  desc.format.bits = 16;
  if (!desc.format.Valid() || pcm.empty() || pcm.size() > SoundBufferDesc::kMaxSize) return false;
  desc.size = static_cast<uint32_t>(pcm.size());
  desc.name = std::string(name);
  SoundDevice& device = host.Sound();
  if (!device.Create(slot, desc)) return false;
  sound.slotNames[static_cast<size_t>(slot)] = desc.name;
  if (!device.Write(slot, 0, pcm)) return false;
  device.SetPlayPosition(slot, 0);
  device.SetVolume(slot, volume);
  return device.Play(slot, looping);
}

}  // namespace torvel
