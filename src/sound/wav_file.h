#pragma once
// RIFF WAVE files of 16-bit PCM, the authoring tool's way in and out of the compressed wave
// format.
#include <cstdint>
#include <span>
#include <vector>

namespace torvel {

struct WavSound {
  uint16_t channels = 0;
  uint32_t rate = 0;
  std::vector<int16_t> samples;  // interleaved
};

// Reads a 16-bit PCM WAVE file (format tag 1, or the extensible tag with 16-bit samples). False
// for anything else or a truncated file; a data chunk shorter than it says is read as far as it
// goes.
bool ParseWav(std::span<const uint8_t> bytes, WavSound& sound);

// A 44-byte-header WAVE file around little-endian 16-bit PCM bytes.
std::vector<uint8_t> BuildWav(uint16_t channels, uint32_t rate, std::span<const uint8_t> pcm);

}  // namespace torvel
