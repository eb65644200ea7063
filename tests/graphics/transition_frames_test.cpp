// Every frame a transition puts on the screen, checked against a model of its kind's geometry
// written here from the kind's description. The old and the new picture encode each pixel's
// position, so a pixel taken from the wrong place, the wrong picture or the wrong frame shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "picture_test_support.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;

constexpr int kW = 800;
constexpr int kH = 600;

// Old: (x, y, 0x20 + high bits); new: (y, x, 0xC0 + high bits), low bytes in blue and green.
Bgr OldAt(int x, int y) { return Bgr{x & 255, y & 255, 0x20 | (x >> 8) | ((y >> 8) << 2)}; }
Bgr NewAt(int x, int y) { return Bgr{y & 255, x & 255, 0xC0 | (x >> 8) | ((y >> 8) << 2)}; }

Bitmap Picture(Bgr (*at)(int, int)) {
  Bitmap b(kW, kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Bgr c = at(x, y);
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(c[0]);
      p[1] = static_cast<uint8_t>(c[1]);
      p[2] = static_cast<uint8_t>(c[2]);
    }
  }
  return b;
}

Bgr Black() { return Bgr{0, 0, 0}; }
bool Inside(int x, int y) { return x >= 0 && x < kW && y >= 0 && y < kH; }

// (n × a + o × (256 − a)) >> 8 per byte.
Bgr Mix(Bgr n, Bgr o, int a) {
  Bgr d;
  for (size_t i = 0; i < 3; ++i) d[i] = (n[i] * a + o[i] * (256 - a)) >> 8;
  return d;
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// What one frame should show at (x, y); nothing where the model leaves a pixel open.
using Model = std::function<std::optional<Bgr>(int frame, int x, int y)>;

// Every pixel of these rows and columns, and a coarse grid, is checked in every frame.
std::vector<Point> Samples() {
  std::vector<Point> points;
  for (int y : {0,  1,   2,   7,   8,   9,   15,  16,  17,  31,  32,  33,  63,  64,
                65, 150, 151, 298, 299, 300, 301, 302, 331, 450, 451, 597, 598, 599}) {
    for (int x = 0; x < kW; ++x) points.push_back(Point{x, y});
  }
  for (int x : {0,   1,   2,   15,  16,  17,  31,  32,  63,  64,  65,  127, 128,
                199, 200, 398, 399, 400, 401, 402, 410, 600, 641, 797, 798, 799}) {
    for (int y = 0; y < kH; ++y) points.push_back(Point{x, y});
  }
  for (int y = 5; y < kH; y += 13) {
    for (int x = 3; x < kW; x += 13) points.push_back(Point{x, y});
  }
  return points;
}

struct FramesSeen {
  int frames = 0;
  int mismatches = 0;
  std::string first;
};

// Runs transition `kind` from the old to the new picture and checks each frame as it reaches the
// screen (the host shows the window each time the transition pumps messages).
FramesSeen RunKind(int kind, int s029, const Model& model,
                   const std::function<void(int, const Bitmap&, FramesSeen&)>& whole = {}) {
  GameFixture g;
  g.Script("main", "\\w\n");
  TForm1& e = g.Start();
  g.RunToWait();
  e.layers.previous = Picture(OldAt);
  e.layers.screen = Picture(NewAt);
  e.vars.S(16) = 0;
  e.vars.S(29) = s029;
  static const std::vector<Point> samples = Samples();
  FramesSeen run;
  g.Host().onShown = [&](const Bitmap& w, Point) {
    const int frame = run.frames++;
    if (whole) whole(frame, w, run);
    if (!model) return;
    for (Point p : samples) {
      const std::optional<Bgr> want = model(frame, p.x, p.y);
      if (!want) continue;
      const uint8_t* got = w.At(p.x, p.y);
      if (got[0] == (*want)[0] && got[1] == (*want)[1] && got[2] == (*want)[2]) continue;
      if (run.mismatches++ == 0) {
        run.first = "frame " + std::to_string(frame) + " at " + std::to_string(p.x) + "," + std::to_string(p.y) + ": " +
                    std::to_string(got[0]) + " " + std::to_string(got[1]) + " " + std::to_string(got[2]) +
                    " instead of " + std::to_string((*want)[0]) + " " + std::to_string((*want)[1]) + " " +
                    std::to_string((*want)[2]);
      }
    }
  };
  e.RunTransition(kind);
  g.Host().onShown = nullptr;
  // Every kind ends on the new picture.
  const Bitmap expected = Picture(NewAt);
  if (g.Host().Window().pixels != expected.pixels) {
    ++run.mismatches;
    if (run.first.empty()) run.first = "the last picture is not the new one";
  }
  return run;
}

struct KindCase {
  const char* name;
  int kind;
  int s029;
  int frames;
  Model model;
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

class TransitionFramesTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(TransitionFramesTest, EveryFrameFollowsTheKindsGeometry) {
  const KindCase& c = GetParam();
  const FramesSeen run = RunKind(c.kind, c.s029, c.model);
  EXPECT_EQ(run.frames, c.frames);
  EXPECT_EQ(run.mismatches, 0) << run.first;
}

// 6: blinds. In frame f strip d (16 px from x = 16d) is new over f − d + 1 columns.
std::optional<Bgr> Blinds(int f, int x, int y) { return x % 16 + x / 16 <= f ? NewAt(x, y) : OldAt(x, y); }

// 7: iris. The disc of radius 5 + 10f around (400, 300) is new; its rim is left to the circle
// drawing.
std::optional<Bgr> Iris(int f, int x, int y) {
  const int r = 5 + 10 * f;
  const int d2 = (x - 400) * (x - 400) + (y - 300) * (y - 300);
  if (d2 <= (r - 2) * (r - 2)) return NewAt(x, y);
  if (d2 > (r + 2) * (r + 2)) return OldAt(x, y);
  return std::nullopt;
}

// 9 and 10: five pairs a frame, line i and line size − 1 − i, i stepping by 2.
std::optional<Bgr> Rows(int f, int x, int y) {
  const int reach = 10 * f + 8;
  const bool isNew = y % 2 == 0 ? y <= reach : kH - 1 - y <= reach;
  return isNew ? NewAt(x, y) : OldAt(x, y);
}
std::optional<Bgr> Columns(int f, int x, int y) {
  const int reach = 10 * f + 8;
  const bool isNew = x % 2 == 0 ? x <= reach : kW - 1 - x <= reach;
  return isNew ? NewAt(x, y) : OldAt(x, y);
}

// 11: the 64-px cell (i, j) shows a square of half-size f − (i + j), at most 32, centred in it.
std::optional<Bgr> Squares(int f, int x, int y) {
  const int i = x / 64, j = y / 64;
  const int half = std::min(f - (i + j), 32);
  const int ox = x - (64 * i + 32), oy = y - (64 * j + 32);
  const bool isNew = half >= 1 && ox >= -half && ox < half && oy >= -half && oy < half;
  return isNew ? NewAt(x, y) : OldAt(x, y);
}

// 13: a band of 288 px whose edge e = −280 + 8f moves right; left of it new, right of it old, in
// it the mask kernel over the band's bytes on screen: 32 clear pixels, then a ramp 0..255
// towards the old picture. Eight-byte groups from the band's first byte on screen; a group whose
// mask is all clear keeps the new bytes, the bytes after the last whole group blend exactly.
std::optional<Bgr> SoftWipe(int f, int x, int y) {
  const int e = -280 + 8 * f;
  const int from = std::max(e, 0), to = std::min(e + 288, kW);
  if (x < from) return NewAt(x, y);
  if (x >= to) return OldAt(x, y);
  auto maskOf = [&](int px) { return px - e < 32 ? 0 : px - e - 32; };
  const int pixels = to - from;
  const int whole = (pixels >> 3) * 24;
  const Bgr n = NewAt(x, y), o = OldAt(x, y);
  const int m = maskOf(x);
  Bgr d;
  for (int c = 0; c < 3; ++c) {
    const int k = (x - from) * 3 + c;
    if (k < whole) {
      bool clear = true;
      for (int b = k / 8 * 8; b < k / 8 * 8 + 8; ++b) clear = clear && maskOf(from + b / 3) == 0;
      d[static_cast<size_t>(c)] =
          clear ? n[static_cast<size_t>(c)]
                : (n[static_cast<size_t>(c)] * (255 - m) >> 8) + (o[static_cast<size_t>(c)] * m >> 8);
    } else {
      d[static_cast<size_t>(c)] = (n[static_cast<size_t>(c)] * (255 - m) + o[static_cast<size_t>(c)] * m) >> 8;
    }
  }
  return d;
}

// 15: a band of 128 rows from −124 + 8k; each frame moves every byte in it 16 levels toward the
// new picture.
std::optional<Bgr> FadeBand(int f, int x, int y) {
  const int first = std::max(0, FloorDiv(y - 4, 8) + 1);
  const int last = std::min(f, FloorDiv(y + 124, 8));
  const int steps = std::max(0, last - first + 1);
  const Bgr o = OldAt(x, y), n = NewAt(x, y);
  Bgr d;
  for (size_t i = 0; i < 3; ++i) {
    d[i] = o[i] < n[i] ? std::min(o[i] + 16 * steps, n[i]) : std::max(o[i] - 16 * steps, n[i]);
  }
  return d;
}

// 16: strips of 20 along x + y; shown after the odd steps f = 2 × frame + 1. The point at
// x + y = 20s + r is new once r ≤ f − s.
std::optional<Bgr> Slanted(int frame, int x, int y) {
  const int f = 2 * frame + 1;
  const int u = x + y;
  return u % 20 <= f - u / 20 ? NewAt(x, y) : OldAt(x, y);
}

// 17: sixteen steps of four passes; after pass p of step k the pixels of the passes up to p are
// (new × k + old × (16 − k)) / 16, the others still at step k − 1.
std::optional<Bgr> Dithered(int frame, int x, int y) {
  const int k = frame / 4 + 1, pass = frame % 4;
  const int quarter = y % 2 == 0 ? (x % 2 == 0 ? 0 : 2) : (x % 2 == 1 ? 1 : 3);
  const int at = quarter <= pass ? k : k - 1;
  const Bgr o = OldAt(x, y), n = NewAt(x, y);
  Bgr d;
  for (size_t i = 0; i < 3; ++i) d[i] = (n[i] * at + o[i] * (16 - at)) / 16;
  return d;
}

// 18: halves of width w = 32 (frame + 1) slide in from both sides.
std::optional<Bgr> Halves(int frame, int x, int y) {
  const int w = 32 * (frame + 1);
  if (x < w) return NewAt(400 - w + x, y);
  if (x >= kW - w) return NewAt(400 + x - (kW - w), y);
  return OldAt(x, y);
}

// 19: the new picture pushes the old one w = 20 × frame px to the right.
std::optional<Bgr> Push(int frame, int x, int y) {
  const int w = 20 * frame;
  return x < w ? NewAt(kW - w + x, y) : OldAt(x - w, y);
}

// 20: the old picture scaled about the centre by 300 / (a + 300), crossfaded at a = 8 (frame + 1).
std::optional<Bgr> Zoom(int frame, int x, int y) {
  const int a = 8 * (frame + 1);
  const Bgr scaled = OldAt(400 + (x - 400) * 300 / (a + 300), 300 + (y - 300) * 300 / (a + 300));
  return Mix(NewAt(x, y), scaled, a);
}

// 21 and 22: both pictures slide while they crossfade at a = 8 (frame + 1); black where a
// picture does not reach.
std::optional<Bgr> SlideLeft(int frame, int x, int y) {
  const int a = 8 * (frame + 1);
  const Bgr o = Inside(x + a, y) ? OldAt(x + a, y) : Black();
  const Bgr n = Inside(x - (256 - a), y) ? NewAt(x - (256 - a), y) : Black();
  return Mix(n, o, a);
}
std::optional<Bgr> SlideRight(int frame, int x, int y) {
  const int a = 8 * (frame + 1);
  const Bgr o = Inside(x - a, y) ? OldAt(x - a, y) : Black();
  const Bgr n = Inside(x + 245 - a, y) ? NewAt(x + 245 - a, y) : Black();
  return Mix(n, o, a);
}

// 23 with S029 = 11: from the bottom right at step 16; the new picture, 256 − a px toward that
// side, is blended over the old one at a = 16 × frame.
std::optional<Bgr> SlideInBottomRight(int frame, int x, int y) {
  const int a = 16 * frame, d = 256 - a;
  if (!Inside(x - d, y - d)) return OldAt(x, y);
  return Mix(NewAt(x - d, y - d), OldAt(x, y), a);
}

// 24 with S029 = 5: toward the bottom left at step 32; the old picture, 256 − a px toward that
// side, is blended over the new one at a = 256 − 32 × frame.
std::optional<Bgr> SlideOutBottomLeft(int frame, int x, int y) {
  const int a = 256 - 32 * frame, d = 256 - a;
  if (!Inside(x + d, y - d)) return NewAt(x, y);
  return Mix(OldAt(x + d, y - d), NewAt(x, y), a);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TransitionFramesTest,
    ::testing::Values(KindCase{"Blinds", 6, 0, 70, Blinds}, KindCase{"Iris", 7, 0, 75, Iris},
                      KindCase{"InterlacedRows", 9, 0, 60, Rows}, KindCase{"InterlacedColumns", 10, 0, 80, Columns},
                      KindCase{"GrowingSquares", 11, 0, 57, Squares}, KindCase{"SoftWipe", 13, 0, 135, SoftWipe},
                      KindCase{"FadeBand", 15, 0, 99, FadeBand}, KindCase{"SlantedStrips", 16, 0, 47, Slanted},
                      KindCase{"DitheredCrossfade", 17, 0, 64, Dithered}, KindCase{"Halves", 18, 0, 12, Halves},
                      KindCase{"Push", 19, 0, 40, Push}, KindCase{"ZoomCrossfade", 20, 0, 31, Zoom},
                      KindCase{"SlideLeft", 21, 0, 31, SlideLeft}, KindCase{"SlideRight", 22, 0, 31, SlideRight},
                      KindCase{"SlideIn", 23, 11, 16, SlideInBottomRight},
                      KindCase{"SlideOut", 24, 5, 8, SlideOutBottomLeft}),
    [](const auto& info) { return std::string(info.param.name); });

// 14: each row splits at one column from 20 to 619 into two parts, and 24 of the 1200 parts
// turn new each frame, in an order of the random generator. Whatever the order: every row is
// old, new, or new on one side of a split in that range, and after frame f exactly 24 (f + 1)
// parts are new.
TEST(TransitionFramesTest, RandomLineDissolveTurnsTwentyFourRowPartsAFrame) {
  const Bitmap oldPic = Picture(OldAt);
  const Bitmap newPic = Picture(NewAt);
  auto check = [&](int frame, const Bitmap& w, FramesSeen& run) {
    int parts = 0;
    for (int y = 0; y < kH; ++y) {
      // Where the row turns from one picture to the other.
      std::vector<int> isNew(kW);
      for (int x = 0; x < kW; ++x) {
        const bool o = std::memcmp(w.At(x, y), oldPic.At(x, y), 3) == 0;
        const bool n = std::memcmp(w.At(x, y), newPic.At(x, y), 3) == 0;
        if (o == n) {
          ++run.mismatches;
          return;
        }
        isNew[static_cast<size_t>(x)] = n;
      }
      int turns = 0, at = 0;
      for (int x = 1; x < kW; ++x) {
        if (isNew[static_cast<size_t>(x)] != isNew[static_cast<size_t>(x - 1)]) {
          ++turns;
          at = x;
        }
      }
      if (turns > 1 || (turns == 1 && (at < 20 || at > 619))) {
        if (run.mismatches++ == 0) run.first = "frame " + std::to_string(frame) + " row " + std::to_string(y);
        return;
      }
      parts += turns == 1 ? 1 : (isNew[0] ? 2 : 0);
    }
    if (parts != 24 * (frame + 1) && run.mismatches++ == 0) {
      run.first = "frame " + std::to_string(frame) + ": " + std::to_string(parts) + " parts new";
    }
  };
  const FramesSeen run = RunKind(14, 0, Model{}, check);
  EXPECT_EQ(run.frames, 50);
  EXPECT_EQ(run.mismatches, 0) << run.first;
}

}  // namespace
}  // namespace torvel
