#pragma once
// Animation entries of "tq_anim.tvx" and "tq_anim2.tvx": a header of six 32-bit words, five
// per-frame arrays (kinds, x, y, data offsets, data lengths), then the frames' JPEG data and an
// optional sound block. Every offset is relative to the entry's first byte and all integers are
// little-endian. Entries come from disk and may be damaged: nothing read here is trusted to fit.
#include <cstdint>
#include <span>
#include <vector>

namespace torvel {

constexpr size_t kAnimationHeaderSize = 24;
// Bytes of the five arrays per frame: kind, x, y (16 bits each), offset, length (32 bits each).
constexpr size_t kAnimationFrameArrays = 14;
// More frames than this (over four hours at 60 frames a second) are taken as a broken header.
constexpr uint32_t kMaxAnimationFrames = 1u << 20;
// A sound block above this many bytes is streamed from the archive instead of read whole.
constexpr uint32_t kLargestWholeAnimationSound = 3999999;

enum AnimationFrameKind : int16_t { kKeyFrame = 0, kPatchFrame = 1, kHoldFrame = 2 };

struct AnimationHeader {
  uint32_t frameCount = 0;
  uint32_t interval = 0;  // milliseconds per frame
  uint32_t width = 0;     // the enlarging player's frame size
  uint32_t height = 0;
  uint32_t soundLength = 0;  // 0: no sound
  uint32_t soundOffset = 0;
};

struct AnimationFrame {
  int16_t kind = kKeyFrame;
  int16_t x = 0;  // a patch frame's place inside the animation picture
  int16_t y = 0;
  uint32_t offset = 0;  // of its JPEG data
  uint32_t length = 0;
};

// The six header words from the first 24 bytes; false when there are fewer.
bool ReadAnimationHeader(std::span<const uint8_t> bytes, AnimationHeader& header);

// Bytes from the entry's start to the end of the arrays for `frameCount` frames.
uint64_t AnimationTableEnd(uint32_t frameCount);

// Whether an entry of `entrySize` bytes can be played at all: at least one frame, no more than
// kMaxAnimationFrames, and the header and arrays inside the entry.
bool AnimationTableFits(const AnimationHeader& header, uint64_t entrySize);

// The five arrays read from the bytes that follow the header. False when they do not hold
// `frameCount` frames.
bool ReadAnimationFrames(std::span<const uint8_t> arrays, uint32_t frameCount, std::vector<AnimationFrame>& frames);

// Whether a block of data lies inside an entry of `entrySize` bytes (a frame's picture, the sound).
constexpr bool BlockInside(uint32_t offset, uint32_t length, uint64_t entrySize) {
  return uint64_t{offset} + length <= entrySize;
}

// The whole entry written out: used by `tvx anim pack` and by the tests' fixtures.
struct AnimationBlueprint {
  AnimationHeader header;  // frameCount, soundLength and soundOffset are filled in
  struct Frame {
    int16_t kind = kKeyFrame;
    int16_t x = 0;
    int16_t y = 0;
    int data = -1;  // index into `pictures`
  };
  std::vector<Frame> frames;
  std::vector<std::vector<uint8_t>> pictures;  // stored once each, in order, after the arrays
  std::vector<uint8_t> sound;
};
// False when the entry would not fit 32-bit offsets or a frame names a picture that is missing.
bool BuildAnimationEntry(const AnimationBlueprint& blueprint, std::vector<uint8_t>& out);

}  // namespace torvel
