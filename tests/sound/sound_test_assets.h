#pragma once
// Sound entries for engine tests: tones encoded as music (type A), effects (type B) and voices
// (Ogg Vorbis).
#include <cmath>
#include <cstdint>
#include <vector>

#include "ogg_vorbis_encoder.h"
#include "sound/wady_encoder.h"

namespace torvel::testing {

constexpr uint32_t kTestRate = 16000;

inline std::vector<int16_t> SineSamples(size_t frames, double hz, double amplitude) {
  std::vector<int16_t> s(frames);
  for (size_t i = 0; i < frames; ++i) {
    s[i] = static_cast<int16_t>(std::lround(amplitude * std::sin(2 * M_PI * hz * static_cast<double>(i) / kTestRate)));
  }
  return s;
}

// A mono track of `frames` frames of a 400 Hz tone (40 frames a period) looping to `loopFrame`.
inline std::vector<uint8_t> MusicEntry(size_t frames, uint32_t loopFrame) {
  return EncodeTypeA(SineSamples(frames, 400, 8000), 1, kTestRate, loopFrame);
}

inline std::vector<uint8_t> EffectEntry(size_t frames) {
  return EncodeTypeB(SineSamples(frames, 500, 6000), 1, kTestRate);
}

inline std::vector<uint8_t> VoiceEntry(size_t frames, int serial) {
  std::vector<float> s(frames);
  for (size_t i = 0; i < frames; ++i) s[i] = 0.4f * static_cast<float>(std::sin(2 * M_PI * 300 * i / kTestRate));
  return tvx::EncodeOggVorbis(1, kTestRate, s, 0.5f, serial);
}

}  // namespace torvel::testing
