#pragma once
// Ogg Vorbis streams for the voice archives, made with libvorbisenc. The stream's serial number
// is fixed, so one sound always gives the same bytes.
#include <cstdint>
#include <vector>

#include "sound/wav_file.h"

namespace tvx {

// Variable bit rate at `quality` (-0.1 to 1, as libvorbisenc takes it). Empty when the encoder
// refuses the sound's format.
std::vector<uint8_t> EncodeOggVorbis(const torvel::WavSound& sound, float quality = 0.3f);

}  // namespace tvx
