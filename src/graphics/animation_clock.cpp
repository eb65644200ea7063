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

}  // namespace torvel
