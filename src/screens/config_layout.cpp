// The configuration screen's layout and slider arithmetic.
#include "screens/config_layout.h"

#include <algorithm>
#include <cstdint>

namespace torvel {

namespace {

// Far outside the picture is as good as just outside it.
constexpr int kFar = 1 << 20;

int Near(int v) { return std::clamp(v, -kFar, kFar); }

Rect FromCorners(const ConfigRect& r) { return Rect{Near(r[0]), Near(r[1]), Near(r[2]), Near(r[3])}; }

Rect Sized(int x, int y, int w, int h) {
  const int left = Near(x), top = Near(y);
  return Rect{left, top, left + Near(w), top + Near(h)};
}

// Cell k of a group laid out as w, h, then (x, y) pairs.
template <size_t N>
Rect Cell(const std::array<int, N>& group, int k) {
  const size_t at = 2 + 2 * static_cast<size_t>(k);
  if (k < 0 || at + 1 >= N) return {};
  return Sized(group[at], group[at + 1], group[0], group[1]);
}

bool Contains(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

const ConfigPair* VolumeBar(const GameConfig& c, int bar) {
  const ConfigPair* bars[] = {&c.CFG_VOL1, &c.CFG_VOL2, &c.CFG_VOL3, &c.CFG_VOL4};
  return c.volumeBarGiven[static_cast<size_t>(bar)] ? bars[bar] : nullptr;
}

int TrackWidth(const GameConfig& c) {
  const Rect track = FromCorners(c.CFG_AUTO);
  return std::max(0, track.right - track.left);
}

int MaxSpeed(const GameConfig& c) { return std::max(c.SPD_MAX, 1); }

}  // namespace

Rect ConfigControlRect(const GameConfig& c, int code) {
  namespace k = config_code;
  switch (code) {
    case k::kWindow: return FromCorners(c.CFG_WM_WIN);
    case k::kFullScreen: return FromCorners(c.CFG_WM_FULL);
    case k::kTransitionsNormal: return FromCorners(c.CFG_GM_NORMAL);
    case k::kTransitionsCut: return FromCorners(c.CFG_GM_FAST);
    case k::kTextPerChar: return FromCorners(c.CFG_TM_NORMAL);
    case k::kTextWhole: return FromCorners(c.CFG_TM_FAST);
    case k::kSkipStops: return FromCorners(c.CFG_MS_STOP);
    case k::kSkipGoesOn: return FromCorners(c.CFG_MS_NONE);
    case k::kDetail: return FromCorners(c.CFG_DETAIL);
    case k::kClose: return FromCorners(c.CFG_CLOSE);
    case k::kVoiceTest: return FromCorners(c.CFG_VOL_CVTEST);
    case k::kVolumeDefault: return FromCorners(c.CFG_VOL_DEFAULT);
    case k::kDefaults: return FromCorners(c.CFG_DEFAULT);
    case k::kWheelPageBack: return FromCorners(c.CFG_MW_SCENE);
    case k::kWheelBacklog: return FromCorners(c.CFG_MW_LOG);
    case k::kAutoTrack: return FromCorners(c.CFG_AUTO);
    default: break;
  }
  if (code >= k::kFirstVolumeBar && code < k::kFirstVolumeBar + 4) {
    const ConfigPair* bar = VolumeBar(c, code - k::kFirstVolumeBar);
    return bar ? Sized((*bar)[0], (*bar)[1], c.CFG_VOL_BAR[0], c.CFG_VOL_BAR[1]) : Rect{};
  }
  if (code >= k::kFirstRightClick && code < k::kFirstRightClick + 5) return Cell(c.CFG_RIGHT_CLICK, code - 20);
  if (code >= k::kFirstEffectCategory && code < k::kFirstEffectCategory + 5) return Cell(c.CFG_HSE, code - 25);
  if (code >= k::kFirstSound && code < k::kFirstSound + 4) return Cell(c.CFG_SOUND, code - 30);
  if (code >= k::kFirstPreset && code < k::kDefaults) {
    const int row = (code - k::kFirstPreset) / 3, cell = (code - k::kFirstPreset) % 3;
    const std::array<int, 6>* rows[] = {&c.CFG_SHASEL1, &c.CFG_SHASEL2, &c.CFG_SHASEL3};
    const std::array<int, 6>& r = *rows[row];
    return Sized(r[2 * static_cast<size_t>(cell)], r[2 * static_cast<size_t>(cell) + 1], c.CFG_SHASEL_SIZE[0],
                 c.CFG_SHASEL_SIZE[1]);
  }
  if (code >= k::kFirstVoice && code <= k::kLast) return Cell(c.CFG_VOICE, code - k::kFirstVoice);
  return {};
}

int ConfigControlAt(const GameConfig& config, int x, int y) {
  for (int code : kConfigHitOrder) {
    if (Contains(ConfigControlRect(config, code), x, y)) return code;
  }
  return 0;
}

int SliderValue(int barX, int length, int knobWidth, int x) {
  const int64_t half = knobWidth / 2;
  const int64_t d = int64_t{x} - barX;
  if (d <= half) return -3000;
  if (d >= int64_t{length} - half) return 0;
  // Here length − knobWidth ≥ 1: d lies strictly between half and length − half.
  return static_cast<int>((d - half) * 3000 / (int64_t{length} - knobWidth) - 3000);
}

int VolumeKnobX(int barX, int length, int knobWidth, int engineVolume) {
  const int64_t e = std::clamp(engineVolume, -7500, 0);
  // (length − knob) × (e × 0.4 + 3000) / 3000, kept exact in integers.
  const int64_t x = (int64_t{length} - knobWidth) * (2 * e + 15000) / 15000 + barX;
  return static_cast<int>(std::clamp<int64_t>(x, -kFar, kFar));
}

int AutoKnobOffsetForSpeed(const GameConfig& c, int speed) {
  const int width = TrackWidth(c);
  const int64_t step = width / std::max(c.SPD_MAX - 1, 1);
  const int64_t offset = step * (int64_t{c.SPD_MAX} - std::clamp(speed, 1, MaxSpeed(c)));
  return static_cast<int>(std::clamp<int64_t>(offset, 0, width));
}

int AutoKnobOffsetAt(const GameConfig& c, int x) {
  return static_cast<int>(std::clamp<int64_t>(int64_t{x} - Near(c.CFG_AUTO[0]), 0, TrackWidth(c)));
}

int AutoSpeedForOffset(const GameConfig& c, int offset) {
  const int step = std::max(TrackWidth(c) / MaxSpeed(c), 1);
  return std::clamp(c.SPD_MAX - offset / step, 1, MaxSpeed(c));
}

}  // namespace torvel
