// The numbered transitions from the previous-screen buffer (old picture) to the screen buffer (new
// picture). Each runs as a blocking loop on the window thread: it paces itself with the frame
// clock, pumps the host once per frame and stops early when an interrupt was requested.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/kernels.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarTransitionCut = 19;
constexpr int kVarIrisX = 20;
constexpr int kVarIrisY = 21;
constexpr int kVarSlideOption = 29;
constexpr int kVarFullScreenText = 160;

constexpr int kCutKind = 4;
constexpr int kLastKind = 24;
constexpr int kTimedCrossfadeFrom = 128;
// No transition may hold the window longer than a minute, whatever number a script wrote.
constexpr int kLongestTransitionMs = 60000;
// The iris covers the whole screen once its radius passes the corners (500 px); a larger end
// radius only adds frames, so it is kept where a minute at the slowest speed still suffices.
constexpr int kIrisRadiusMax = 4000;

struct Speed {
  int step;
  int period;
  int frameMs;
};
constexpr std::array<Speed, 17> kSpeeds{{{4, 8, 20},
                                         {32, 4, 1},
                                         {32, 8, 2},
                                         {32, 12, 3},
                                         {16, 8, 5},
                                         {16, 12, 8},
                                         {8, 8, 12},
                                         {8, 12, 16},
                                         {4, 8, 20},
                                         {4, 10, 30},
                                         {4, 12, 40},
                                         {2, 8, 60},
                                         {2, 12, 70},
                                         {1, 8, 80},
                                         {1, 12, 100},
                                         {1, 16, 120},
                                         {1, 20, 140}}};

constexpr std::array<int, 10> kMosaicSizes{2, 3, 4, 6, 8, 12, 16, 20, 28, 40};

constexpr int kTileWidth = 80;
constexpr int kTileHeight = 60;
constexpr int kTileCount = 100;
constexpr int kTileFade = 16;  // empty list entries before and after the tiles

void CopySpan(const Bitmap& from, Bitmap& to, int left, int right, int y) {
  left = std::max(left, 0);
  right = std::min(right, kScreenWidth);
  if (right <= left || y < 0 || y >= kScreenHeight) return;
  std::memcpy(to.At(left, y), from.At(left, y), static_cast<size_t>(right - left) * 3);
}

void CopyRect(const Bitmap& from, Bitmap& to, int left, int top, int right, int bottom) {
  for (int y = std::max(top, 0); y < std::min(bottom, kScreenHeight); ++y) CopySpan(from, to, left, right, y);
}

// `out` := `src` displaced by (dx, dy), black where nothing covers it.
void Shift(const Bitmap& src, Bitmap& out, int dx, int dy) {
  std::fill(out.pixels.begin(), out.pixels.end(), uint8_t{0});
  const int left = std::max(dx, 0), right = std::min(kScreenWidth, kScreenWidth + dx);
  if (right <= left) return;
  for (int y = std::max(dy, 0); y < std::min(kScreenHeight, kScreenHeight + dy); ++y) {
    std::memcpy(out.At(left, y), src.At(left - dx, y - dy), static_cast<size_t>(right - left) * 3);
  }
}

// The displacement toward side d (0 top, clockwise to 7 top-left) by `distance` pixels.
Point SideOffset(int side, int distance) {
  constexpr std::array<Point, 8> kSides{{{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};
  const Point unit = kSides[static_cast<size_t>(side & 7)];
  return Point{unit.x * distance, unit.y * distance};
}

// Blends `top` displaced by `offset` over `work` at `opacity`, clipped to the screen.
void BlendDisplaced(const Bitmap& top, Bitmap& work, Point offset, int opacity) {
  const int left = std::max(offset.x, 0), right = std::min(kScreenWidth, kScreenWidth + offset.x);
  if (right <= left) return;
  for (int y = std::max(offset.y, 0); y < std::min(kScreenHeight, kScreenHeight + offset.y); ++y) {
    BlendRowsAlphaPixels(work.At(left, y), top.At(left - offset.x, y - offset.y), right - left, opacity,
                         work.At(left, y));
  }
}

}  // namespace

void TForm1::Mosaic(const Bitmap& source, int block) {
  if (block < 1) block = 1;
  // Each block row is built once from its top source row and copied down the block.
  for (int top = 0; top < kScreenHeight; top += block) {
    const uint8_t* src = source.Row(top);
    uint8_t* out = layers.work.Row(top);
    for (int x = 0; x < kScreenWidth; x += block) {
      const int width = std::min(block, kScreenWidth - x);
      for (int i = 0; i < width; ++i) std::memcpy(out + (x + i) * 3, src + x * 3, 3);
    }
    for (int y = top + 1; y < std::min(top + block, kScreenHeight); ++y) {
      std::memcpy(layers.work.Row(y), out, static_cast<size_t>(kScreenWidth) * 3);
    }
  }
  host.Present(layers.work, Rect{0, 0, kScreenWidth, kScreenHeight});
}

void TForm1::DrawShifted(int x, int y) {
  x = std::clamp(x, -kScreenWidth, kScreenWidth);
  y = std::clamp(y, -kScreenHeight, kScreenHeight);
  Shift(layers.screen, layers.work, x, y);
  host.Present(layers.work, Rect{0, 0, kScreenWidth, kScreenHeight});
}

void TForm1::CrossfadeAnimated(int step, int period) {
  StartFrameClock();
  ctl.blockingScene = true;
  ctl.interruptibleWait = true;
  ctl.interruptRequest = 0;
  const Rect all{0, 0, kScreenWidth, kScreenHeight};
  for (int64_t a = 0; a < kFullOpacity + 1;) {
    Crossfade(layers.screen, layers.previous, static_cast<int>(std::min<int64_t>(a, kFullOpacity)), layers.work);
    host.Present(layers.work, all);
    if (ctl.interruptRequest != 0) break;
    a += int64_t{step} * PaceFrame(period);
  }
  ctl.blockingScene = false;
  ctl.interruptibleWait = false;
  host.Present(layers.screen, all);
}

void TForm1::CrossfadePreset(int type) {
  switch (type) {
    case 1: CrossfadeAnimated(24, 40); break;
    case 3: CrossfadeAnimated(5, 50); break;
    case 4: CrossfadeAnimated(2, 50); break;
    default: CrossfadeAnimated(12, 40); break;
  }
}

void TForm1::RunTransition(int t) {
  vars.S(kVarTransitionCut) = 0;
  const bool menuLockBefore = ctl.menuLock;
  SetMenuLock(true);
  ctl.blockingScene = true;
  ctl.interruptibleWait = true;
  ctl.interruptRequest = 0;
  if (settings.GMode != 0 || ctl.skipActive) t = kCutKind;
  if (t < 0) t = 1;

  if (t >= kTimedCrossfadeFrom) {
    t = std::min(t, kLongestTransitionMs);
    if (t >= 6400) {
      CrossfadeAnimated(1, t >> 8);
    } else if (t >= 3200) {
      CrossfadeAnimated(2, t >> 7);
    } else if (t >= 1600) {
      CrossfadeAnimated(4, t >> 6);
    } else if (t >= 800) {
      CrossfadeAnimated(8, t >> 5);
    } else {
      CrossfadeAnimated(16, t >> 4);
    }
  } else if (t <= kLastKind) {
    const int index = vars.S(kVarFadeSpeed);
    const Speed speed =
        kSpeeds[index >= 0 && index < static_cast<int>(kSpeeds.size()) ? static_cast<size_t>(index) : 0];
    if (RunTransitionKind(t, speed.step, speed.period, speed.frameMs)) {
      host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
      vars.S(kVarTransitionCut) = 1;
    }
  }

  vars.S(kVarFadeSpeed) = 0;
  if (vars.S(kVarFullScreenText) == 1) layers.previous.pixels = layers.screen.pixels;
  ctl.blockingScene = false;
  ctl.interruptibleWait = false;
  SetMenuLock(menuLockBefore);
}

// Runs one kind; true when it was cut short by an interrupt request (the caller then shows the
// new picture and tells the script).
bool TForm1::RunTransitionKind(int kind, int step, int period, int frameMs) {
  Bitmap& oldPic = layers.previous;
  const Bitmap& newPic = layers.screen;
  Bitmap& work = layers.work;
  const Rect all{0, 0, kScreenWidth, kScreenHeight};
  auto show = [&](const Bitmap& b) { host.Present(b, all); };
  auto interrupted = [&] { return ctl.interruptRequest != 0; };
  // A timed frame keeps every frame: it ends at its own start plus the frame time.
  auto timedEnd = [&](uint32_t start, int ms) { WaitUntil(start + static_cast<uint32_t>(std::max(ms, 0))); };
  StartFrameClock();

  switch (kind) {
    case 0: return false;
    case 1: CrossfadeAnimated(16, 10); return false;
    case 2: CrossfadeAnimated(8, 15); return false;
    case 3: CrossfadeAnimated(step, period); return false;
    case kCutKind: show(newPic); return false;
    case 5: {
      Bitmap mask(kScreenWidth, kScreenHeight);
      auto frame = [&] {
        MaskBlendScreen(oldPic, newPic, mask, work);
        show(work);
      };
      for (int v = kFullOpacity - step; v >= 1;) {
        Dim(layers.wipePattern, mask, v);
        frame();
        if (interrupted()) return true;
        v -= step * PaceFrame(period);
      }
      for (int v = 0; v < kFullOpacity;) {
        Brighten(layers.wipePattern, mask, std::min(v, 255));
        frame();
        if (interrupted()) return true;
        v += step * PaceFrame(period);
      }
      show(newPic);
      return false;
    }
    case 6: {
      work.pixels = oldPic.pixels;
      for (int f = 0; f < 70; ++f) {
        const uint32_t start = host.TickCount();
        if (interrupted()) return true;
        for (int d = std::max(f - 15, 0); d <= f && d < 80; ++d) {
          CopyRect(newPic, work, 16 * d, 0, 16 * d + (f - d + 1), kScreenHeight);
        }
        show(work);
        timedEnd(start, frameMs);
      }
      show(newPic);
      return false;
    }
    case 7: {
      const int64_t reach =
          std::max(std::llabs(int64_t{vars.S(kVarIrisX)} - 400), std::llabs(int64_t{vars.S(kVarIrisY)} - 300));
      const int rmax = static_cast<int>(std::min<int64_t>(reach + 500, kIrisRadiusMax));
      if (rmax < 6) return false;
      work.pixels = oldPic.pixels;
      constexpr int cx = kScreenWidth / 2, cy = kScreenHeight / 2;
      auto line = [&](int dy, int half) {
        half = std::min(half, kScreenWidth / 2);
        if (dy < -kScreenHeight / 2 || dy >= kScreenHeight / 2) return;
        CopySpan(newPic, work, cx - half, cx + half + 1, cy + dy);
      };
      for (int r = 5; r < rmax; r += 10) {
        const uint32_t start = host.TickCount();
        if (interrupted()) return true;
        // Midpoint circle: each step gives four lines by symmetry.
        int x = 0, y = r, d = 1 - r;
        while (x <= y) {
          line(y, x);
          line(-y, x);
          line(x, y);
          line(-x, y);
          ++x;
          if (d < 0) {
            d += 2 * x + 1;
          } else {
            --y;
            d += 2 * (x - y) + 1;
          }
        }
        show(work);
        timedEnd(start, frameMs);
      }
      show(newPic);
      return false;
    }
    case 8: {
      std::array<int, kTileCount + 2 * kTileFade> order;
      order.fill(-1);
      for (int i = 0; i < kTileCount; ++i) order[static_cast<size_t>(kTileFade + i)] = i;
      for (int i = 0; i < kTileCount; ++i) {
        std::swap(order[static_cast<size_t>(kTileFade + i)],
                  order[static_cast<size_t>(kTileFade + random.Next() % kTileCount)]);
      }
      work.pixels = oldPic.pixels;
      auto tileAt = [&](int pos) {
        return pos >= 0 && pos < static_cast<int>(order.size()) ? order[static_cast<size_t>(pos)] : -1;
      };
      for (int f = 0; f < kTileCount + kTileFade;) {
        if (interrupted()) return true;
        // Positions behind the fading ones are drawn fully new, also after skipped frames.
        for (int p = 0; p < f; ++p) {
          const int tile = tileAt(p);
          if (tile >= 0)
            CopyRect(newPic, work, tile % 10 * kTileWidth, tile / 10 * kTileHeight, tile % 10 * kTileWidth + kTileWidth,
                     tile / 10 * kTileHeight + kTileHeight);
        }
        for (int p = f; p <= f + kTileFade; ++p) {
          const int tile = tileAt(p);
          if (tile >= 0)
            CrossfadeTile(oldPic, newPic, work, tile % 10 * kTileWidth, tile / 10 * kTileHeight, 16 * (p - f));
        }
        show(work);
        f += PaceFrame(frameMs);
      }
      show(newPic);
      return false;
    }
    case 9:
    case 10: {
      const bool rows = kind == 9;
      const int size = rows ? kScreenHeight : kScreenWidth;
      work.pixels = oldPic.pixels;
      for (int i = 0; i < size;) {
        const uint32_t start = host.TickCount();
        if (interrupted()) return true;
        for (int pair = 0; pair < 5 && i < size; ++pair, i += 2) {
          for (int line : {i, size - 1 - i}) {
            if (rows) {
              CopySpan(newPic, work, 0, kScreenWidth, line);
            } else {
              CopyRect(newPic, work, line, 0, line + 1, kScreenHeight);
            }
          }
        }
        show(work);
        timedEnd(start, frameMs / (rows ? 2 : 3));
      }
      show(newPic);
      return false;
    }
    case 11: {
      work.pixels = oldPic.pixels;
      for (int f = 0; f < 57; ++f) {
        const uint32_t start = host.TickCount();
        if (interrupted()) return true;
        for (int k = 0; k < 32; ++k) {
          const int diagonal = f + k - 32;
          const int half = 32 - k;
          for (int j = 0; j < 10; ++j) {
            const int i = diagonal - j;
            if (i < 0 || i >= 25) continue;
            const int x = 64 * i + 32, y = 64 * j + 32;
            CopyRect(newPic, work, x - half, y - half, x + half, y + half);
          }
        }
        show(work);
        timedEnd(start, frameMs);
      }
      show(newPic);
      return false;
    }
    case 12: {
      constexpr int kSteps = 2 * static_cast<int>(kMosaicSizes.size());
      for (int i = 0; i < kSteps;) {
        if (interrupted()) return true;
        if (i < kSteps / 2) {
          Mosaic(oldPic, kMosaicSizes[static_cast<size_t>(i)]);
        } else {
          Mosaic(newPic, kMosaicSizes[static_cast<size_t>(kSteps - 1 - i)]);
        }
        i += PaceFrame(3 * frameMs);
      }
      show(newPic);
      return false;
    }
    case 13: {
      constexpr int kBand = 288, kClear = 32;
      std::vector<uint8_t> mask(kBand * 3, 0);
      for (int i = 0; i < kBand - kClear; ++i) std::memset(&mask[static_cast<size_t>((kClear + i) * 3)], i, 3);
      work.pixels = oldPic.pixels;
      for (int e = -280; e < kScreenWidth;) {
        if (interrupted()) return true;
        const int from = std::max(e, 0), to = std::min(e + kBand, kScreenWidth);
        for (int y = 0; y < kScreenHeight; ++y) {
          // Left of the band the new picture is whole, also where late frames jumped over it.
          CopySpan(newPic, work, 0, from, y);
          if (to > from) {
            BlendRowsMaskedPixels(newPic.At(from, y), oldPic.At(from, y), to - from,
                                  &mask[static_cast<size_t>((from - e) * 3)], work.At(from, y));
          }
        }
        show(work);
        e += 8 * PaceFrame(frameMs);
      }
      show(newPic);
      return false;
    }
    case 14: {
      struct Part {
        int y, left, right;
      };
      std::vector<Part> parts;
      parts.reserve(2 * kScreenHeight);
      for (int y = 0; y < kScreenHeight; ++y) {
        const int split = random.Next() % 600 + 20;
        parts.push_back(Part{y, 0, split});
        parts.push_back(Part{y, split, kScreenWidth});
      }
      for (size_t i = 0; i < parts.size(); ++i)
        std::swap(parts[i], parts[static_cast<size_t>(2 * (random.Next() % 600))]);
      work.pixels = oldPic.pixels;
      for (int f = 0; f < 50; ++f) {
        if (interrupted()) return true;
        for (int k = 0; k < 24; ++k) {
          const Part& p = parts[static_cast<size_t>(24 * f + k)];
          CopySpan(newPic, work, p.left, p.right, p.y);
        }
        show(work);
        host.Sleep(frameMs);
        host.PumpMessages();
      }
      show(newPic);
      return false;
    }
    case 15: {
      for (int top = -124; top < 664; top += 8) {
        const uint32_t start = host.TickCount();
        if (interrupted()) return true;
        for (int y = std::max(top, 0); y < std::min(top + 128, kScreenHeight); ++y) {
          uint8_t* o = oldPic.Row(y);
          const uint8_t* n = newPic.Row(y);
          for (int b = 0; b < kScreenWidth * 3; ++b) {
            o[b] = o[b] < n[b] ? static_cast<uint8_t>(std::min(o[b] + 16, int{n[b]}))
                               : static_cast<uint8_t>(std::max(o[b] - 16, int{n[b]}));
          }
        }
        show(oldPic);
        timedEnd(start, frameMs);
      }
      show(newPic);
      return false;
    }
    case 16: {
      uint32_t start = host.TickCount();
      for (int f = 0; f < 95; ++f) {
        if (f % 2 == 0) {
          start = host.TickCount();
          if (interrupted()) return true;
        }
        for (int k = 0; k < 20; ++k) {
          const int s = f + k - 19;
          for (int y = 0; y < kScreenHeight; ++y) CopySpan(newPic, oldPic, 20 * s - y, 20 * s - y + 20 - k, y);
        }
        if (f % 2 == 1) {
          show(oldPic);
          timedEnd(start, frameMs);
        }
      }
      show(newPic);
      return false;
    }
    case 17: {
      const int s16 = vars.S(kVarFadeSpeed);
      const int n = s16 >= 1 && s16 <= 128 ? s16 : 16;
      work.pixels = oldPic.pixels;
      std::vector<uint8_t> table(256 * 256);
      for (int k = 1; k <= n; ++k) {
        for (int a = 0; a < 256; ++a) {
          for (int b = 0; b < 256; ++b)
            table[static_cast<size_t>(a * 256 + b)] = static_cast<uint8_t>((a * k + b * (n - k)) / n);
        }
        // Quarters: even rows even pixels, odd rows odd pixels, even rows odd pixels, odd rows even.
        constexpr std::array<std::array<int, 2>, 4> kPasses{{{0, 0}, {1, 1}, {0, 1}, {1, 0}}};
        for (const auto& pass : kPasses) {
          const uint32_t start = host.TickCount();
          // Cut short like the crossfades: the new picture at once, without telling the script.
          if (interrupted()) {
            show(newPic);
            return false;
          }
          for (int y = pass[0]; y < kScreenHeight; y += 2) {
            const uint8_t* np = newPic.Row(y);
            const uint8_t* op = oldPic.Row(y);
            uint8_t* wp = work.Row(y);
            for (int x = pass[1]; x < kScreenWidth; x += 2) {
              for (int c = 0; c < 3; ++c)
                wp[x * 3 + c] = table[static_cast<size_t>(np[x * 3 + c] * 256 + op[x * 3 + c])];
            }
          }
          show(work);
          timedEnd(start, 2 * frameMs);
        }
      }
      show(newPic);
      return false;
    }
    case 18: {
      work.pixels = oldPic.pixels;
      for (int w = 32; w <= 400;) {
        if (interrupted()) return true;
        for (int y = 0; y < kScreenHeight; ++y) {
          std::memcpy(work.At(0, y), newPic.At(400 - w, y), static_cast<size_t>(w) * 3);
          std::memcpy(work.At(800 - w, y), newPic.At(400, y), static_cast<size_t>(w) * 3);
        }
        show(work);
        w += 32 * PaceFrame(2 * frameMs);
      }
      show(newPic);
      return false;
    }
    case 19: {
      for (int w = 0; w < kScreenWidth;) {
        if (interrupted()) return true;
        for (int y = 0; y < kScreenHeight; ++y) {
          std::memcpy(work.At(0, y), newPic.At(kScreenWidth - w, y), static_cast<size_t>(w) * 3);
          std::memcpy(work.At(w, y), oldPic.At(0, y), static_cast<size_t>(kScreenWidth - w) * 3);
        }
        show(work);
        w += 20 * PaceFrame(frameMs);
      }
      show(newPic);
      return false;
    }
    case 20: {
      Bitmap scaled(kScreenWidth, kScreenHeight);
      for (int a = 8; a < kFullOpacity;) {
        if (interrupted()) return true;
        std::array<int, kScreenWidth> columns;
        for (int x = 0; x < kScreenWidth; ++x)
          columns[static_cast<size_t>(x)] = 3 * (400 + (x - 400) * 300 / (a + 300));
        for (int y = 0; y < kScreenHeight; ++y) {
          const uint8_t* in = oldPic.Row(300 + (y - 300) * 300 / (a + 300));
          uint8_t* out = scaled.Row(y);
          for (int x = 0; x < kScreenWidth; ++x) std::memcpy(out + x * 3, in + columns[static_cast<size_t>(x)], 3);
        }
        Crossfade(newPic, scaled, a, work);
        show(work);
        a += 8 * PaceFrame(frameMs);
      }
      show(newPic);
      return false;
    }
    case 21:
    case 22: {
      Bitmap oldShifted(kScreenWidth, kScreenHeight), newShifted(kScreenWidth, kScreenHeight);
      for (int a = 8; a < kFullOpacity;) {
        if (interrupted()) return true;
        if (kind == 21) {
          Shift(oldPic, oldShifted, -a, 0);
          Shift(newPic, newShifted, 256 - a, 0);
        } else {
          Shift(oldPic, oldShifted, a, 0);
          Shift(newPic, newShifted, -(245 - a), 0);
        }
        Crossfade(newShifted, oldShifted, a, work);
        show(work);
        a += 8 * PaceFrame(frameMs);
      }
      show(newPic);
      return false;
    }
    case 23:
    case 24: {
      const int option = vars.S(kVarSlideOption);
      const int side = option & 7;
      const int speed = option < 8 ? 32 : option < 16 ? 16 : option < 24 ? 8 : option < 32 ? 4 : 2;
      constexpr int kSlidePeriod = 20;
      if (kind == 23) {
        for (int a = 0; a < kFullOpacity;) {
          if (interrupted()) return true;
          work.pixels = oldPic.pixels;
          BlendDisplaced(newPic, work, SideOffset(side, 256 - a), a);
          show(work);
          a += speed * PaceFrame(kSlidePeriod);
        }
      } else {
        for (int a = kFullOpacity; a >= 1;) {
          if (interrupted()) return true;
          work.pixels = newPic.pixels;
          BlendDisplaced(oldPic, work, SideOffset(side, 256 - a), a);
          show(work);
          a -= speed * PaceFrame(kSlidePeriod);
        }
      }
      show(newPic);
      return false;
    }
    default: return false;
  }
}

}  // namespace torvel
