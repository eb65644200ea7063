// Type B compressed waves: whole entries as the effect player decodes them.
#include <cstdint>
#include <span>
#include <vector>

#include "sound/wady_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> pcm = torvel::DecodeTypeB(std::span<const uint8_t>(data, size));
  // A channel block on its own, written with a stride into a short output.
  std::vector<uint8_t> out(64);
  torvel::DecodeTypeBChannel(std::span<const uint8_t>(data, size), out, 3);
  return 0;
}
