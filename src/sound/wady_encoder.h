#pragma once
// Writers of both compressed wave variants, for the authoring tool. Both follow the decoder
// sample by sample (closed loop), so coding errors never accumulate.
#include <cstdint>
#include <span>
#include <vector>

namespace torvel {

// Type A: one code per sample. The scale is the one (of those tried) that loses least on the
// sound; where no delta reaches the next sample an absolute code is used. `loopFrame` is the
// frame the stream returns to after its end; the header stores the running values there.
// Empty for channels other than 1 or 2 or a loop frame past the end.
std::vector<uint8_t> EncodeTypeA(std::span<const int16_t> samples, uint16_t channels, uint32_t rate,
                                 uint32_t loopFrame = 0);

// The type A scale EncodeTypeA picks for the sound.
uint8_t ChooseTypeAScale(std::span<const int16_t> samples, uint16_t channels);

// Type B: a token stream per channel; a run replaces per-sample tokens wherever a straight line
// fits the sound about as well. Empty for channels other than 1 or 2 or no samples.
std::vector<uint8_t> EncodeTypeB(std::span<const int16_t> samples, uint16_t channels, uint32_t rate);

}  // namespace torvel
