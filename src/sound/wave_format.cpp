#include "sound/wave_format.h"

#include "sound/le_bytes.h"

namespace torvel {

WaveFormat ReadWaveFormat(std::span<const uint8_t> bytes) {
  WaveFormat f{};
  f.formatTag = 0;
  f.bitsPerSample = 0;
  if (bytes.size() < kWaveFormatSize) return f;
  f.formatTag = ReadLe16(bytes, 0);
  f.channels = ReadLe16(bytes, 2);
  f.samplesPerSec = ReadLe32(bytes, 4);
  f.avgBytesPerSec = ReadLe32(bytes, 8);
  f.blockAlign = ReadLe16(bytes, 12);
  f.bitsPerSample = ReadLe16(bytes, 14);
  return f;
}

void WriteWaveFormat(const WaveFormat& format, std::span<uint8_t> bytes) {
  if (bytes.size() < kWaveFormatSize) return;
  WriteLe16(bytes, 0, format.formatTag);
  WriteLe16(bytes, 2, format.channels);
  WriteLe32(bytes, 4, format.samplesPerSec);
  WriteLe32(bytes, 8, format.avgBytesPerSec);
  WriteLe16(bytes, 12, format.blockAlign);
  WriteLe16(bytes, 14, format.bitsPerSample);
}

}  // namespace torvel
