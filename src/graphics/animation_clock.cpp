#include "graphics/animation_clock.h"

namespace torvel {

int64_t FrameDueMs(uint64_t p, uint32_t headerInterval, bool enlarged) {
  const uint32_t interval = FrameInterval(headerInterval);
  if (!enlarged) return static_cast<int64_t>(p * interval);
  uint64_t periodUs = uint64_t{interval} * 1000;
  if (interval == 33) periodUs = kThirtyFramesPeriodUs;
  if (interval == 15) periodUs = kFifteenFramesPeriodUs;
  // Frame numbers stay below 2^21 and intervals below 2^32, so the product fits.
  return static_cast<int64_t>(p * periodUs / 1000);
}

FrameAdvance AdvanceFrame(uint64_t p, int64_t elapsedMs, uint32_t headerInterval, bool enlarged) {
  const int64_t interval = FrameInterval(headerInterval);
  const int64_t late = elapsedMs - FrameDueMs(p, headerInterval, enlarged);
  FrameAdvance a;
  if (late > interval) {
    a.skipped = static_cast<uint64_t>(late / interval);
    a.sleepMs = interval - late % interval;
    a.next = p + a.skipped + 1;
  } else {
    a.sleepMs = interval - late;
    a.next = p + 1;
  }
  return a;
}

FrameDraw ChooseFrameDraw(std::span<const AnimationFrame> frames, uint64_t p, uint64_t skipped) {
  FrameDraw d;
  if (p >= frames.size()) return d;
  switch (frames[p].kind) {
    case kKeyFrame: d.index = static_cast<int64_t>(p); break;
    case kPatchFrame:
      if (skipped == 0) {
        d.index = static_cast<int64_t>(p);
        d.atPatchOffset = true;
      } else {
        d.droppedPatch = true;
      }
      break;
    case kHoldFrame:
      // Drawing every skipped key frame from the newest down would leave the oldest on top; the
      // newest alone is the picture that was due.
      for (uint64_t q = p; q > 0 && p - q < skipped;) {
        const int16_t kind = frames[--q].kind;
        if (kind == kKeyFrame) {
          d.index = static_cast<int64_t>(q);
          break;
        }
        if (kind == kPatchFrame) break;
      }
      break;
    default: break;
  }
  return d;
}

}  // namespace torvel
