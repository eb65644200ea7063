#pragma once
// The PCM format record handed to the sound device with every buffer: the 16-byte wave format
// stored in compressed-wave headers and built from an Ogg stream's information.
#include <cstddef>
#include <cstdint>
#include <span>

namespace torvel {

struct WaveFormat {
  uint16_t formatTag = 1;  // 1 = PCM
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 16;
};

constexpr size_t kWaveFormatSize = 16;

// The record of 16-bit PCM with the given channels and rate.
constexpr WaveFormat MakeWaveFormat(uint16_t channels, uint32_t rate) {
  WaveFormat f;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.blockAlign = static_cast<uint16_t>(channels * 2);
  f.avgBytesPerSec = static_cast<uint32_t>(channels) * rate * 2;
  return f;
}

// Reads the little-endian record; fewer than 16 bytes read as an all-zero record.
WaveFormat ReadWaveFormat(std::span<const uint8_t> bytes);
// Writes the record into the first 16 bytes (nothing when fewer are given).
void WriteWaveFormat(const WaveFormat& format, std::span<uint8_t> bytes);

}  // namespace torvel
