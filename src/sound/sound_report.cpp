// The sound part of the state report: what each slot holds and plays, the music number and the
// looping effect.
#include <string>

#include "platform/sound_device.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {
void AppendName(std::string& out, std::string_view sjis) {
  out += '"';
  for (char c : SjisToUtf8(sjis)) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
  out += '"';
}
}  // namespace

void TForm1::AppendSoundState(std::string& out) const {
  SoundDevice& device = host.Sound();
  out += "{\"slots\":[";
  for (int slot = 0; slot < kSoundSlotCount; ++slot) {
    if (slot) out += ',';
    const bool filled = sound.available && device.Filled(slot);
    const SlotStatus status = filled ? device.Status(slot) : SlotStatus{};
    out += "{\"name\":";
    if (filled) {
      AppendName(out, sound.slotNames[static_cast<size_t>(slot)]);
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
  AppendName(out, sound.loopEffectName);
  out += '}';
}

}  // namespace torvel
