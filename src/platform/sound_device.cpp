#include "platform/sound_device.h"

#include <algorithm>
#include <cmath>

namespace torvel {

int SoundDevice::ClampVolume(int volume) { return std::clamp(volume, kSilentVolume, kFullVolume); }

double SoundDevice::Gain(int volume) {
  volume = ClampVolume(volume);
  if (volume <= kSilentVolume) return 0.0;
  return std::pow(10.0, volume / 2000.0);
}

}  // namespace torvel
