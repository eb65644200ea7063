// The sound part of the state report: what each slot holds and plays, the music number and the
// looping effect.
#include <string>

#include "platform/sound_device.h"
#include "shell/engine.h"
#include "shell/json_text.h"

namespace torvel {

void TForm1::AppendSoundState(std::string& out) const {
  SoundDevice& device = host.Sound();
  out += "{\"slots\":[";
  for (int slot = 0; slot < kSoundSlotCount; ++slot) {
    if (slot) out += ',';
    const bool filled = sound.available && device.Filled(slot);
    const SlotStatus status = filled ? device.Status(slot) : SlotStatus{};
    out += "{\"name\":";
    if (filled) {
      AppendJsonSjis(out, sound.slotNames[static_cast<size_t>(slot)]);
    } else {
      out += "null";
    }
    out += ",\"playing\":";
    out += status.playing ? "true" : "false";
    out += ",\"looping\":";
    out += status.looping ? "true" : "false";
    out += ",\"volume\":" + std::to_string(filled ? device.Volume(slot) : 0) + "}";
  }
  out += "],\"music\":" + std::to_string(vars.S(5));
  out += ",\"loopEffect\":";
  AppendJsonSjis(out, sound.loopEffectName);
  out += ",\"muted\":";
  out += sound.muted ? "true" : "false";
  out += ",\"master\":" + std::to_string(sound.masterVolume);
  out += '}';
}

}  // namespace torvel
