#include "sound/wady_stream.h"

#include <algorithm>

namespace torvel {

namespace {

// Higher rates than any sound card plays are refused rather than allocated for.
constexpr uint32_t kMaxStreamRate = 192000;

}  // namespace

bool StartTypeAStream(std::span<const uint8_t> header, uint64_t offset, TypeAStream& s) {
  WadyHeader h;
  if (!ReadWadyHeader(header, h)) return false;
  if ((h.channels != 1 && h.channels != 2) || h.sampleRate == 0 || h.sampleRate > kMaxStreamRate) return false;
  s.header = h;
  const uint64_t data = offset + kWadyHeaderSize;
  s.dataEnd = data + h.dataLength;
  s.loopStart = data + h.loopStart;
  s.readPosition = data;
  s.left = 0;
  s.right = 0;
  s.compressed.assign(static_cast<size_t>(h.sampleRate) * h.channels, 0);
  return true;
}

uint32_t TypeABytesPerSecond(const TypeAStream& s) { return s.header.sampleRate * 2u * s.header.channels; }

void DecodeTypeASecond(TypeAStream& s, const WadyStreamReader& read, std::span<uint8_t> out, int& playOnce) {
  const unsigned channels = s.header.channels;
  if (channels != 1 && channels != 2) return;
  out = out.first(std::min<size_t>(out.size(), TypeABytesPerSecond(s)));
  const size_t frameBytes = 2 * channels;
  size_t frames = out.size() / frameBytes;  // frames still to decode
  size_t outAt = 0;
  // A loop region shorter than what is still wanted wraps again; an empty one (or a reader
  // that runs dry) ends the second in silence.
  bool wrappedEmpty = false;
  while (frames > 0) {
    if (s.readPosition >= s.dataEnd) {
      if (wrappedEmpty) break;
      s.left = s.header.loopLeft;
      s.right = s.header.loopRight;
      if (playOnce == kPlayOnce) playOnce = kPlayOncePassedEnd;
      s.readPosition = s.loopStart;
      wrappedEmpty = true;
      continue;
    }
    const uint64_t available = (s.dataEnd - s.readPosition) / channels;
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>({frames, available, s.compressed.size() / channels}));
    if (chunk == 0) {
      // Less than one frame of data left before the end: the partial frame is skipped.
      s.readPosition = s.dataEnd;
      continue;
    }
    std::span<uint8_t> in(s.compressed.data(), chunk * channels);
    const size_t got = read(s.readPosition, in);
    const size_t decoded = DecodeTypeA(in.first(std::min(got, in.size())), out.subspan(outAt), s.header.scale, s.left,
                                       s.right, channels, chunk, playOnce >= kPlayOncePassedEnd);
    s.readPosition += chunk * channels;
    outAt += chunk * frameBytes;
    frames -= chunk;
    if (decoded < chunk) {
      std::fill(out.begin() + static_cast<ptrdiff_t>(outAt - (chunk - decoded) * frameBytes),
                out.begin() + static_cast<ptrdiff_t>(outAt), uint8_t{0});
    }
    wrappedEmpty = false;
  }
  std::fill(out.begin() + static_cast<ptrdiff_t>(outAt), out.end(), uint8_t{0});
}

}  // namespace torvel
