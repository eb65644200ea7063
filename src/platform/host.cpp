#include "platform/host.h"

#include "platform/silent_sound_device.h"

namespace torvel {

Host::~Host() = default;

SoundDevice& Host::Sound() {
  if (!silentSound_) silentSound_ = std::make_unique<SilentSoundDevice>([this] { return TickCount(); });
  return *silentSound_;
}

}  // namespace torvel
