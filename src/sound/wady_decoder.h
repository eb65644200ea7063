#pragma once
// The engine's compressed wave format ("WADY"). Type A (one delta or absolute code per sample)
// carries music and animation sound and is decoded whole or a second at a time while streaming;
// type B (a token stream per channel with interpolated runs) carries effects and is decoded whole.
// Both decode to signed 16-bit little-endian PCM.
//
// The decoders never read past the bytes they are given and never write past the output they
// are given: a header or token count that promises more than is there decodes what is there.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sound/wave_format.h"

namespace torvel {

constexpr size_t kWadyHeaderSize = 48;

struct WadyHeader {
  uint8_t scale = 0;           // type A: multiplier of the delta table
  uint16_t channels = 0;       // type A
  uint32_t sampleRate = 0;     // type A
  uint32_t dataLength = 0;     // type A: compressed bytes after the header
  uint32_t frames = 0;         // type A: samples per channel
  uint32_t decodedLength = 0;  // both: bytes of 16-bit PCM
  uint32_t loopStart = 0;      // type A: loop point, from the start of the data
  int16_t loopLeft = 0;        // type A: running values at the loop point
  int16_t loopRight = 0;
  WaveFormat format;  // both: the decoded sound's format
};

// True when the bytes begin with "WADY".
bool IsWady(std::span<const uint8_t> entry);
// Reads the 48-byte header; false when the bytes are shorter or do not begin with "WADY".
bool ReadWadyHeader(std::span<const uint8_t> entry, WadyHeader& header);
// Writes the header into the first 48 bytes.
void WriteWadyHeader(const WadyHeader& header, std::span<uint8_t> bytes);

extern const std::array<int16_t, 128> kDeltaTableA;
extern const std::array<int16_t, 64> kDeltaTableB;
extern const std::array<uint16_t, 8> kRunLengths;

// Decodes up to `frames` frames of type A codes into interleaved PCM, channel by channel in
// order, carrying the caller's running values across calls. With `silenced` (a play-once track
// past its end) every sample is written as 0 while the running values still follow the codes.
// Only whole frames are decoded, and only as many as both the input and the output hold; a
// channel count other than 1 or 2 decodes nothing. Returns the frames decoded.
size_t DecodeTypeA(std::span<const uint8_t> input, std::span<uint8_t> output, uint8_t scale, int16_t& left,
                   int16_t& right, unsigned channels, size_t frames, bool silenced);

// A whole type A entry: the header's frame count from both running values at 0, into a buffer
// of the header's decoded length. Empty when the entry is not a compressed wave. A decoded
// length beyond what the data could ever fill is cut to what it can fill.
std::vector<uint8_t> DecodeTypeAEntry(std::span<const uint8_t> entry, bool silenced);

// Decodes one type B channel block into every `stride`-th sample of `output` (stride 1 mono, 2
// stereo; the output starts at the channel's first sample). Returns the samples written.
size_t DecodeTypeBChannel(std::span<const uint8_t> block, std::span<uint8_t> output, size_t stride);

// A whole type B entry into a buffer of the header's decoded length: one channel block, or for
// stereo the left block into even and the right block into odd sample positions. Empty when the
// entry is not a compressed wave. A decoded length beyond what the tokens could ever fill is cut
// to what they can fill.
std::vector<uint8_t> DecodeTypeB(std::span<const uint8_t> entry);

}  // namespace torvel
