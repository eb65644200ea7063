#include "sound/wady_decoder.h"

#include <algorithm>
#include <cstring>

#include "sound/le_bytes.h"

namespace torvel {

namespace {

constexpr std::array<int16_t, 128> MakeDeltaTableA() {
  constexpr int16_t kPositive[64] = {0,   2,   4,   6,   8,   10,  12,  15,  18,  21,  24,  28,  32,  36,  40,  44,
                                     49,  54,  59,  64,  70,  76,  82,  88,  95,  102, 109, 116, 124, 132, 140, 148,
                                     160, 170, 180, 190, 200, 210, 220, 230, 240, 255, 270, 285, 300, 320, 340, 360,
                                     380, 400, 425, 450, 475, 500, 525, 550, 580, 610, 650, 700, 750, 800, 900, 1000};
  std::array<int16_t, 128> t{};
  for (int k = 0; k < 64; ++k) {
    t[k] = kPositive[k];
    t[64 + k] = static_cast<int16_t>(-kPositive[k]);
  }
  return t;
}

constexpr std::array<int16_t, 64> MakeDeltaTableB() {
  constexpr int16_t kPositive[32] = {0,    4,    8,    12,   19,   24,   30,   38,   47,   59,  74,
                                     92,   115,  144,  180,  225,  281,  352,  440,  550,  687, 859,
                                     1073, 1342, 1678, 2097, 2621, 3277, 4096, 5120, 6400, 8000};
  std::array<int16_t, 64> t{};
  for (int k = 0; k < 32; ++k) {
    t[k] = kPositive[k];
    t[32 + k] = static_cast<int16_t>(-kPositive[k]);
  }
  return t;
}

// The last this many tokens of a type B channel decode from a running value of zero.
constexpr uint32_t kTypeBZeroedTail = 300;
constexpr size_t kTypeBBlockHeader = 10;
// Every input byte of a type B block yields at most this many samples (a 256-sample run per
// two-byte token).
constexpr uint64_t kTypeBMaxSamplesPerByte = 128;

inline void PutSample(std::span<uint8_t> out, size_t sample, int16_t v) {
  out[2 * sample] = static_cast<uint8_t>(v);
  out[2 * sample + 1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

inline int16_t Wrap16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

}  // namespace

const std::array<int16_t, 128> kDeltaTableA = MakeDeltaTableA();
const std::array<int16_t, 64> kDeltaTableB = MakeDeltaTableB();
const std::array<uint16_t, 8> kRunLengths = {3, 4, 5, 6, 8, 16, 32, 256};

bool IsWady(std::span<const uint8_t> entry) { return entry.size() >= 4 && std::memcmp(entry.data(), "WADY", 4) == 0; }

bool ReadWadyHeader(std::span<const uint8_t> entry, WadyHeader& h) {
  if (entry.size() < kWadyHeaderSize || !IsWady(entry)) return false;
  h.scale = entry[0x05];
  h.channels = ReadLe16(entry, 0x06);
  h.sampleRate = ReadLe32(entry, 0x08);
  h.dataLength = ReadLe32(entry, 0x0C);
  h.frames = ReadLe32(entry, 0x10);
  h.decodedLength = ReadLe32(entry, 0x14);
  h.loopStart = ReadLe32(entry, 0x18);
  h.loopLeft = static_cast<int16_t>(ReadLe16(entry, 0x1C));
  h.loopRight = static_cast<int16_t>(ReadLe16(entry, 0x1E));
  h.format = ReadWaveFormat(entry.subspan(0x20, kWaveFormatSize));
  return true;
}

void WriteWadyHeader(const WadyHeader& h, std::span<uint8_t> b) {
  if (b.size() < kWadyHeaderSize) return;
  std::fill(b.begin(), b.begin() + kWadyHeaderSize, uint8_t{0});
  std::memcpy(b.data(), "WADY", 4);
  b[0x05] = h.scale;
  WriteLe16(b, 0x06, h.channels);
  WriteLe32(b, 0x08, h.sampleRate);
  WriteLe32(b, 0x0C, h.dataLength);
  WriteLe32(b, 0x10, h.frames);
  WriteLe32(b, 0x14, h.decodedLength);
  WriteLe32(b, 0x18, h.loopStart);
  WriteLe16(b, 0x1C, static_cast<uint16_t>(h.loopLeft));
  WriteLe16(b, 0x1E, static_cast<uint16_t>(h.loopRight));
  WriteWaveFormat(h.format, b.subspan(0x20, kWaveFormatSize));
}

size_t DecodeTypeA(std::span<const uint8_t> input, std::span<uint8_t> output, uint8_t scale, int16_t& left,
                   int16_t& right, unsigned channels, size_t frames, bool silenced) {
  if (channels != 1 && channels != 2) return 0;
  frames = std::min({frames, input.size() / channels, output.size() / (2 * channels)});
  // Every code as "keep these bits of the running value, then add": an absolute code keeps
  // nothing and adds its value, a delta keeps all and adds scale × A[code]. The loop then has
  // no branch per sample.
  uint16_t keep[256];
  uint16_t add[256];
  for (int c = 0; c < 256; ++c) {
    keep[c] = (c & 0x80) ? 0 : 0xFFFF;
    add[c] = static_cast<uint16_t>((c & 0x80) ? (c << 9) : scale * kDeltaTableA[c]);
  }
  // A track past its end still advances its running values; only its output is zero.
  const uint16_t shown = silenced ? 0 : 0xFFFF;
  const uint8_t* in = input.data();
  uint8_t* out = output.data();
  const size_t samples = frames * channels;
  uint16_t v[2] = {static_cast<uint16_t>(left), static_cast<uint16_t>(right)};
  if (channels == 1) {
    uint16_t x = v[0];
    for (size_t i = 0; i < samples; ++i) {
      x = static_cast<uint16_t>((x & keep[in[i]]) + add[in[i]]);
      const uint16_t o = x & shown;
      out[2 * i] = static_cast<uint8_t>(o);
      out[2 * i + 1] = static_cast<uint8_t>(o >> 8);
    }
    v[0] = x;
  } else {
    uint16_t l = v[0];
    uint16_t r = v[1];
    for (size_t i = 0; i < samples; i += 2) {
      l = static_cast<uint16_t>((l & keep[in[i]]) + add[in[i]]);
      r = static_cast<uint16_t>((r & keep[in[i + 1]]) + add[in[i + 1]]);
      const uint16_t ol = l & shown;
      const uint16_t orr = r & shown;
      out[2 * i] = static_cast<uint8_t>(ol);
      out[2 * i + 1] = static_cast<uint8_t>(ol >> 8);
      out[2 * i + 2] = static_cast<uint8_t>(orr);
      out[2 * i + 3] = static_cast<uint8_t>(orr >> 8);
    }
    v[0] = l;
    v[1] = r;
  }
  left = static_cast<int16_t>(v[0]);
  if (channels == 2) right = static_cast<int16_t>(v[1]);
  return frames;
}

std::vector<uint8_t> DecodeTypeAEntry(std::span<const uint8_t> entry, bool silenced) {
  WadyHeader h;
  if (!ReadWadyHeader(entry, h)) return {};
  std::span<const uint8_t> data = entry.subspan(kWadyHeaderSize);
  // One input byte makes one sample, so the data bounds what a decoded length can mean.
  uint64_t length = std::min<uint64_t>(h.decodedLength, 2 * static_cast<uint64_t>(data.size()));
  std::vector<uint8_t> pcm(static_cast<size_t>(length));
  int16_t left = 0;
  int16_t right = 0;
  DecodeTypeA(data, pcm, h.scale, left, right, h.channels, h.frames, silenced);
  return pcm;
}

size_t DecodeTypeBChannel(std::span<const uint8_t> block, std::span<uint8_t> output, size_t stride) {
  if (block.size() < kTypeBBlockHeader || stride == 0) return 0;
  const size_t capacity = output.size() / 2;
  const uint32_t count = ReadLe32(block, 4);
  int16_t value = static_cast<int16_t>(ReadLe16(block, 8));
  size_t written = 0;
  size_t at = 0;  // sample position in the output
  auto emit = [&](int16_t v) {
    if (at < capacity) {
      PutSample(output, at, v);
      ++written;
    }
    at += stride;
  };
  emit(value);
  size_t pos = kTypeBBlockHeader;
  const uint32_t zeroAt = count - kTypeBZeroedTail;  // wraps when count < 300: never reached
  for (uint32_t i = 0; i < count; ++i) {
    if (i == zeroAt && count >= kTypeBZeroedTail) value = 0;
    if (pos >= block.size() || at >= capacity) break;
    const uint8_t first = block[pos];
    if (first & 1) {
      ++pos;
      const uint8_t k = static_cast<uint8_t>(first >> 1);
      if (k & 0x40) {
        value = Wrap16((k & 0x3F) << 10);
      } else {
        value = Wrap16(value + kDeltaTableB[k]);
      }
      emit(value);
    } else {
      if (pos + 1 >= block.size()) break;
      const uint16_t w = static_cast<uint16_t>(first | (block[pos + 1] << 8));
      pos += 2;
      const int n = kRunLengths[(w >> 1) & 7];
      const int16_t target = static_cast<int16_t>(w & 0xFFF0);
      // The step is divided in extended precision and rounded once to single precision; every
      // addition then rounds to single precision and the sample truncates toward zero.
      const float step = static_cast<float>(static_cast<long double>(int32_t{target} - int32_t{value}) / n);
      float x = static_cast<float>(value);
      for (int j = 0; j < n && at < capacity; ++j) {
        x = x + step;
        emit(Wrap16(static_cast<int32_t>(x)));
      }
      value = target;
    }
  }
  return written;
}

std::vector<uint8_t> DecodeTypeB(std::span<const uint8_t> entry) {
  WadyHeader h;
  if (!ReadWadyHeader(entry, h)) return {};
  const bool stereo = h.format.channels == 2;
  const uint64_t channels = stereo ? 2 : 1;
  const uint64_t bound = 2 * channels * (1 + kTypeBMaxSamplesPerByte * entry.size());
  std::vector<uint8_t> pcm(static_cast<size_t>(std::min<uint64_t>(h.decodedLength, bound)));
  std::span<uint8_t> out(pcm);
  if (!stereo) {
    DecodeTypeBChannel(entry.subspan(kWadyHeaderSize), out, 1);
    return pcm;
  }
  constexpr size_t kLeftBlock = 0x34;
  constexpr uint64_t kRightBlockBase = 0x38;
  if (entry.size() < kLeftBlock) return pcm;
  const uint64_t distance = ReadLe32(entry, 0x30);
  DecodeTypeBChannel(entry.subspan(kLeftBlock), out, 2);
  const uint64_t right = kRightBlockBase + distance;
  if (right < entry.size() && out.size() >= 2) {
    DecodeTypeBChannel(entry.subspan(static_cast<size_t>(right)), out.subspan(2), 2);
  }
  return pcm;
}

}  // namespace torvel
