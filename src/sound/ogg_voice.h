#pragma once
// Dialogue voices: an Ogg Vorbis entry decoded whole to 16-bit PCM through libvorbisfile, read
// from memory, with the trailing silence trimmed off what is played.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sound/wave_format.h"

namespace torvel {

// Voices are seconds long; a stream claiming more than this much decoded sound is refused
// rather than allocated for (about six minutes of 48 kHz stereo).
constexpr uint64_t kMaxVoiceBytes = 64u << 20;

struct OggVoice {
  WaveFormat format;
  std::vector<uint8_t> pcm;  // channels × 2 × total frames; what a failing decode missed is zero
  size_t playedLength = 0;   // the bytes of `pcm` that are played
};

// Decodes the whole stream. False (nothing to play) when the library rejects the stream or it
// holds no frames. Every call reads its own view of the bytes, so decodes never disturb each
// other.
bool DecodeOggVoice(std::span<const uint8_t> entry, OggVoice& voice);

// How much of a decoded voice is played: all of a short one; of a longer one, everything up to
// and including the last four-byte group that is not silent, but never less than half of it
// (plus that group).
size_t VoicePlayedLength(std::span<const uint8_t> pcm);

}  // namespace torvel
