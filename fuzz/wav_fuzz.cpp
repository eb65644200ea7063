// Any bytes as a WAVE file for the compressed-wave encoder's reader: whatever it accepts is
// whole frames of a format it names, and writes back as a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "sound/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  torvel::WavSound sound;
  if (!torvel::ParseWav(std::span<const uint8_t>(data, size), sound)) return 0;
  if (sound.channels == 0 || sound.rate == 0 || sound.samples.size() % sound.channels != 0) __builtin_trap();
  std::vector<uint8_t> pcm(sound.samples.size() * 2);
  for (size_t i = 0; i < sound.samples.size(); ++i) {
    pcm[2 * i] = static_cast<uint8_t>(sound.samples[i]);
    pcm[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(sound.samples[i]) >> 8);
  }
  torvel::WavSound again;
  if (!torvel::ParseWav(torvel::BuildWav(sound.channels, sound.rate, pcm), again) || again.samples != sound.samples ||
      again.channels != sound.channels || again.rate != sound.rate) {
    __builtin_trap();
  }
  return 0;
}
