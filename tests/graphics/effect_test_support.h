#pragma once
// Running one command line of the screen effects or the animation player on a started engine,
// with window shots taken at chosen moments of the virtual clock, and animation entries made
// from small pictures.
#include <algorithm>
#include <string>
#include <vector>

#include "graphics/animation_entry.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/png_io.h"
#include "picture_test_support.h"
#include "support/game_fixture.h"

namespace torvel::testing {

struct TimedRun {
  std::vector<Bitmap> shots;
  uint32_t start = 0;    // the clock when the command began
  uint32_t elapsed = 0;  // how long it ran
  int result = 0;
};

inline InputEvent ClickAtTime(uint32_t time) {
  InputEvent click;
  click.kind = InputEvent::Kind::Click;
  click.time = time;
  click.x = 400;
  click.y = 300;
  return click;
}

inline InputEvent StallAtTime(uint32_t time, int ms) {
  InputEvent stall;
  stall.kind = InputEvent::Kind::Stall;
  stall.time = time;
  stall.stallMs = ms;
  return stall;
}

// Runs `line` ("@shake 1,21") as the interpreter would, with shots at `shotTimes` milliseconds
// after its start and `extra` events whose times also count from its start.
inline TimedRun RunTimed(GameFixture& g, const std::string& line, const std::vector<uint32_t>& shotTimes,
                         std::vector<InputEvent> extra = {}) {
  TForm1& e = g.Engine();
  const uint32_t t0 = g.Host().TickCount();
  std::vector<InputEvent> events;
  std::vector<std::string> files;
  for (size_t i = 0; i < shotTimes.size(); ++i) {
    InputEvent shot;
    shot.kind = InputEvent::Kind::Shot;
    shot.time = t0 + shotTimes[i];
    shot.file = (g.Dir() / ("shot" + std::to_string(i) + ".png")).string();
    files.push_back(shot.file);
    events.push_back(shot);
  }
  for (InputEvent& x : extra) {
    x.time += t0;
    events.push_back(x);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const InputEvent& a, const InputEvent& b) { return a.time < b.time; });
  g.Host().SetInput(events);
  e.script.lineBuffer = line;
  TimedRun run;
  run.start = t0;
  run.result = e.ExecuteCommandLine();
  run.elapsed = g.Host().TickCount() - t0;
  for (const std::string& f : files) {
    // A shot is taken at the first message pump at or after its time; one that never came reads
    // as black, so the checks on it fail instead of reading outside it.
    Bitmap b;
    if (!ReadPng(f, b)) {
      ADD_FAILURE() << f << " was not taken";
      b = Bitmap(800, 600);
    }
    run.shots.push_back(b);
  }
  return run;
}

// A frame of a test animation; a hold frame without a picture shares the data before it.
struct TestFrame {
  int16_t kind = kKeyFrame;
  Bitmap picture;
  int16_t x = 0;
  int16_t y = 0;
};

inline std::vector<uint8_t> AnimationEntry(uint32_t interval, uint32_t width, uint32_t height,
                                           const std::vector<TestFrame>& frames, std::vector<uint8_t> sound = {}) {
  AnimationBlueprint b;
  b.header.interval = interval;
  b.header.width = width;
  b.header.height = height;
  for (const TestFrame& f : frames) {
    AnimationBlueprint::Frame frame{f.kind, f.x, f.y, static_cast<int>(b.pictures.size()) - 1};
    if (!f.picture.Empty()) {
      b.pictures.push_back(Jpeg(f.picture));
      frame.data = static_cast<int>(b.pictures.size()) - 1;
    }
    b.frames.push_back(frame);
  }
  b.sound = std::move(sound);
  std::vector<uint8_t> out;
  EXPECT_TRUE(BuildAnimationEntry(b, out));
  return out;
}

// What the player gets from a picture stored in an animation: the same JPEG, decoded.
inline Bitmap Stored(const Bitmap& picture) {
  Bitmap decoded;
  EXPECT_TRUE(DecodeJpeg(Jpeg(picture), decoded));
  return decoded;
}

// Whether the window area at (x, y) of `shot` holds `picture` exactly.
inline bool Shows(const Bitmap& shot, const Bitmap& picture, int x, int y) {
  for (int py = 0; py < picture.height; ++py) {
    for (int px = 0; px < picture.width; ++px) {
      const int sx = x + px, sy = y + py;
      if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
      if (Px(shot, sx, sy) != Px(picture, px, py)) return false;
    }
  }
  return true;
}

}  // namespace torvel::testing
