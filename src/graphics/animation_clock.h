#pragma once
// When the animation player shows its next frame: after each frame it measures how late it is
// against the frame's due time and, when it has fallen behind by more than a frame interval,
// skips the frames it has no time for instead of slowing down.
#include <cstdint>
#include <span>

#include "graphics/animation_entry.h"

namespace torvel {

// The enlarging player keeps its due times in microseconds: an interval of 33 ms stands for
// 30 frames a second and one of 15 ms for 15 frames a second.
constexpr uint64_t kThirtyFramesPeriodUs = 33333;
constexpr uint64_t kFifteenFramesPeriodUs = 66666;

// The header's interval as the player uses it: 0 counts as 1 ms.
constexpr uint32_t FrameInterval(uint32_t headerInterval) { return headerInterval == 0 ? 1u : headerInterval; }

// Milliseconds from the start of playback at which frame p falls due.
int64_t FrameDueMs(uint64_t p, uint32_t headerInterval, bool enlarged);

struct FrameAdvance {
  uint64_t next = 0;     // the frame to show next
  uint64_t skipped = 0;  // frames passed over (0 when on time)
  int64_t sleepMs = 0;   // how long to wait before showing it
};

// After frame p has been shown `elapsedMs` after the start. The skip and the wait are measured in
// the header's interval whatever the due times are.
FrameAdvance AdvanceFrame(uint64_t p, int64_t elapsedMs, uint32_t headerInterval, bool enlarged);

// What frame p puts on screen when `skipped` frames were passed over to reach it: a key frame its
// picture; a patch frame its picture at its offset, unless frames were skipped (then it is
// dropped); a hold frame nothing of its own, but after a skip the newest skipped key frame, unless
// a skipped patch frame comes after that key frame.
struct FrameDraw {
  int64_t index = -1;  // the frame whose picture is drawn; -1 for none
  bool atPatchOffset = false;
  bool droppedPatch = false;
};
FrameDraw ChooseFrameDraw(std::span<const AnimationFrame> frames, uint64_t p, uint64_t skipped);

}  // namespace torvel
