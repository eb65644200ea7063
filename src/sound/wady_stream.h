#pragma once
// Streaming a type A compressed wave one second at a time, as the music ring buffer is refilled:
// the caller keeps a TypeAStream per playing track, and each refill decodes the next second,
// wrapping at the end of the data to the loop point with the running values stored for it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "sound/wady_decoder.h"

namespace torvel {

// Reads up to `into.size()` bytes at an absolute position of the source (an archive file or
// the animation file stream); returns the bytes read.
using WadyStreamReader = std::function<size_t(uint64_t position, std::span<uint8_t> into)>;

// The play-once state of a music stream (S057): 0 loops forever, 1 plays once, 2 has passed
// its end and plays silence from then on.
enum PlayOnceState : int { kLoopForever = 0, kPlayOnce = 1, kPlayOncePassedEnd = 2 };

struct TypeAStream {
  WadyHeader header;
  uint64_t dataEnd = 0;       // absolute position just past the compressed data
  uint64_t loopStart = 0;     // absolute position of the loop point
  uint64_t readPosition = 0;  // absolute position of the next compressed byte
  int16_t left = 0;           // running values
  int16_t right = 0;
  std::vector<uint8_t> compressed;  // one second of compressed input, allocated at the start
};

// Starts a stream for the 48-byte header of an entry at `offset`; false when the bytes are not
// a compressed wave or describe a sound no device could play (channels not 1 or 2, no rate, or
// a rate above the highest one accepted). Both running values start at 0.
bool StartTypeAStream(std::span<const uint8_t> header, uint64_t offset, TypeAStream& stream);

// Bytes of decoded sound per second: rate × 2 × channels.
uint32_t TypeABytesPerSecond(const TypeAStream& stream);

// Decodes the next second (`rate` frames) into `out`, which holds one second of decoded sound
// (TypeABytesPerSecond bytes; a shorter span takes what fits). When the data ends inside the
// second, the running values become the header's loop-point values, a play-once stream passes
// its end (`playOnce` 1 becomes 2, and everything decoded from then on is silent), and decoding
// goes on from the loop point. Input the reader cannot deliver is silence.
void DecodeTypeASecond(TypeAStream& stream, const WadyStreamReader& read, std::span<uint8_t> out, int& playOnce);

}  // namespace torvel
