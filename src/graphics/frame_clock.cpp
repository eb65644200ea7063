// The frame clock shared by every animation loop: a slow machine drops frames instead of
// slowing the animation down.
#include "shell/engine.h"

namespace torvel {

void TForm1::StartFrameClock() { layers.frameClock = host.TickCount(); }

int TForm1::PaceFrame(int periodMs) {
  // A period of 0 would divide by zero; it counts as the shortest one.
  const uint32_t period = periodMs > 0 ? static_cast<uint32_t>(periodMs) : 1u;
  host.PumpMessages();
  const uint32_t elapsed = host.TickCount() - layers.frameClock;
  const uint32_t frames = elapsed < period ? 1u : elapsed / period + 1;
  const uint32_t deadline = layers.frameClock + frames * period;
  const int32_t remaining = static_cast<int32_t>(deadline - host.TickCount());
  if (remaining > 0) host.Sleep(remaining);
  layers.frameClock = deadline;
  return static_cast<int>(frames);
}

void TForm1::WaitUntil(uint32_t tick) {
  const int32_t remaining = static_cast<int32_t>(tick - host.TickCount());
  if (remaining > 0) host.Sleep(remaining);
  host.PumpMessages();
}

}  // namespace torvel
