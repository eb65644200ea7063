// Any bytes as an animation entry: the header and the frame table are read as the player reads
// them, playback is walked through on a clock of fuzzed lateness (which frame is drawn, what is
// skipped), every chosen frame's data must lie inside the entry before it is decoded, and small
// frame sizes run through the enlarging rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "graphics/animation_clock.h"
#include "graphics/animation_enlarge.h"
#include "graphics/animation_entry.h"
#include "graphics/jpeg_decoder.h"

namespace {

// Playback is walked for at most this many steps, and only small pictures are decoded.
constexpr int kMaxSteps = 256;
constexpr uint32_t kMaxDecodedBytes = 4096;
constexpr uint32_t kMaxEnlargedSide = 48;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> entry(data, size);
  torvel::AnimationHeader h;
  if (!torvel::ReadAnimationHeader(entry, h) || !torvel::AnimationTableFits(h, size)) return 0;
  std::vector<torvel::AnimationFrame> frames;
  if (!torvel::ReadAnimationFrames(entry.subspan(torvel::kAnimationHeaderSize), h.frameCount, frames)) std::abort();
  if (frames.size() != h.frameCount) std::abort();

  // The lateness of each step comes from the entry's own bytes, read from the end.
  const bool enlarged = (h.width & 1) != 0;
  int64_t elapsed = 0;
  uint64_t p = 0, s = 0;
  torvel::Bitmap decoded;
  for (int step = 0; step < kMaxSteps && p < frames.size(); ++step) {
    const torvel::FrameDraw d = torvel::ChooseFrameDraw(frames, p, s);
    if (d.index >= 0) {
      if (static_cast<uint64_t>(d.index) > p || static_cast<uint64_t>(d.index) + s < p) std::abort();
      const torvel::AnimationFrame& f = frames[static_cast<size_t>(d.index)];
      if (torvel::BlockInside(f.offset, f.length, size) && f.length <= kMaxDecodedBytes) {
        torvel::DecodeJpeg(entry.subspan(f.offset, f.length), decoded);
      }
    }
    const torvel::FrameAdvance a = torvel::AdvanceFrame(p, elapsed, h.interval, enlarged);
    if (a.next <= p || a.sleepMs < 0) std::abort();
    const size_t back = static_cast<size_t>(step) % size;
    elapsed = torvel::FrameDueMs(a.next, h.interval, enlarged) + data[size - 1 - back] - 64;
    p = a.next;
    s = a.skipped;
  }

  const uint32_t w = h.width % 641, hgt = h.height % kMaxEnlargedSide;
  if (w >= 2 && hgt >= 2 && (w == torvel::kQuarterRuleWidth || w <= kMaxEnlargedSide)) {
    torvel::Picture32 frame, out;
    frame.Resize(static_cast<int>(w), static_cast<int>(hgt));
    for (size_t i = 0; i < frame.pixels.size(); ++i) frame.pixels[i] = data[i % size] * 0x010101u;
    out.Resize(2 * frame.width, 2 * frame.height);
    torvel::Enlarge(frame, out);
    torvel::Point at;
    torvel::VisiblePart(out, static_cast<int16_t>(h.soundOffset), static_cast<int16_t>(h.soundLength), at);
  }
  return 0;
}
