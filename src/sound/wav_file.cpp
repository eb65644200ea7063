#include "sound/wav_file.h"

#include <cstring>

#include "sound/le_bytes.h"

namespace torvel {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kWavHeaderSize = 44;

bool Tag(std::span<const uint8_t> b, size_t at, const char* tag) {
  return at + 4 <= b.size() && std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

bool ParseWav(std::span<const uint8_t> b, WavSound& sound) {
  sound = WavSound{};
  if (!Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE")) return false;
  bool haveFormat = false;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const uint32_t size = ReadLe32(b, at + 4);
    const size_t body = at + 8;
    const size_t available = b.size() - body;
    if (Tag(b, at, "fmt ")) {
      if (size < 16 || available < 16) return false;
      const uint16_t tag = ReadLe16(b, body);
      const uint16_t bits = ReadLe16(b, body + 14);
      if ((tag != kFormatPcm && tag != kFormatExtensible) || bits != 16) return false;
      sound.channels = ReadLe16(b, body + 2);
      sound.rate = ReadLe32(b, body + 4);
      if (sound.channels == 0 || sound.rate == 0) return false;
      haveFormat = true;
    } else if (Tag(b, at, "data")) {
      if (!haveFormat) return false;
      const size_t n = (size < available ? size : available) / 2;
      sound.samples.resize(n - n % sound.channels);
      for (size_t i = 0; i < sound.samples.size(); ++i) {
        sound.samples[i] = static_cast<int16_t>(ReadLe16(b, body + 2 * i));
      }
      return true;
    }
    if (size > available) break;
    at = body + size + (size & 1);  // chunks are padded to even sizes
  }
  return false;
}

std::vector<uint8_t> BuildWav(uint16_t channels, uint32_t rate, std::span<const uint8_t> pcm) {
  std::vector<uint8_t> out(kWavHeaderSize + pcm.size() + (pcm.size() & 1));
  std::span<uint8_t> b(out);
  std::memcpy(b.data(), "RIFF", 4);
  WriteLe32(b, 4, static_cast<uint32_t>(out.size() - 8));
  std::memcpy(b.data() + 8, "WAVEfmt ", 8);
  WriteLe32(b, 16, 16);
  WriteLe16(b, 20, kFormatPcm);
  WriteLe16(b, 22, channels);
  WriteLe32(b, 24, rate);
  WriteLe32(b, 28, rate * 2u * channels);
  WriteLe16(b, 32, static_cast<uint16_t>(2 * channels));
  WriteLe16(b, 34, 16);
  std::memcpy(b.data() + 36, "data", 4);
  WriteLe32(b, 40, static_cast<uint32_t>(pcm.size()));
  if (!pcm.empty()) std::memcpy(b.data() + kWavHeaderSize, pcm.data(), pcm.size());
  return out;
}

}  // namespace torvel
