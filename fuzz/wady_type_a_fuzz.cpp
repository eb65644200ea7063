// Type A compressed waves: whole entries as the animation sound decodes them, and the same bytes
// streamed a second at a time through the music refill with its wrap to the loop point.
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "sound/wady_decoder.h"
#include "sound/wady_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> entry(data, size);
  std::vector<uint8_t> pcm = torvel::DecodeTypeAEntry(entry, size > 0 && (data[0] & 1));

  torvel::TypeAStream stream;
  if (torvel::StartTypeAStream(entry, 0, stream)) {
    // Keep the rate small so a run stays quick; the stream logic does not depend on it.
    if (stream.header.sampleRate > 512) return 0;
    torvel::WadyStreamReader read = [entry](uint64_t at, std::span<uint8_t> into) -> size_t {
      if (at >= entry.size()) return 0;
      const size_t n = std::min<size_t>(into.size(), entry.size() - at);
      std::memcpy(into.data(), entry.data() + at, n);
      return n;
    };
    std::vector<uint8_t> second(torvel::TypeABytesPerSecond(stream));
    int playOnce = torvel::kPlayOnce;
    for (int i = 0; i < 4; ++i) torvel::DecodeTypeASecond(stream, read, second, playOnce);
  }
  return 0;
}
