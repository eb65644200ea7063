#pragma once
// Ogg Vorbis streams, made with libvorbisenc: the voice archives' entries (tvx build) and the
// voices of the sound tests. One sound and serial number always give the same bytes.
#include <cstdint>
#include <span>
#include <vector>

#include "sound/wav_file.h"

namespace tvx {

// Interleaved samples (-1 to 1) at variable bit rate of `quality` (-0.1 to 1, as libvorbisenc
// takes it), as one logical stream numbered `serial`. Empty when the encoder refuses the format.
std::vector<uint8_t> EncodeOggVorbis(int channels, long rate, std::span<const float> samples, float quality,
                                     int serial);

// A WAVE file's sound, with the stream number every archive entry has.
std::vector<uint8_t> EncodeOggVorbis(const torvel::WavSound& sound, float quality = 0.3f);

}  // namespace tvx
