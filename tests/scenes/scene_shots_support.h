#pragma once
// What the scene tests share: stacked pictures (colour above, mask below), and timed input with
// shots of the window taken on the virtual clock and read back.
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "graphics/picture_test_support.h"
#include "graphics/png_io.h"
#include "support/game_fixture.h"

namespace torvel::testing {

// The colour picture with its mask below it.
inline Bitmap Stacked(const Bitmap& colour, const Bitmap& mask) {
  Bitmap out(colour.width, colour.height * 2);
  for (int y = 0; y < colour.height; ++y) {
    std::copy_n(colour.Row(y), colour.width * 3, out.Row(y));
    std::copy_n(mask.Row(y), colour.width * 3, out.Row(colour.height + y));
  }
  return out;
}

// A solid picture with an opaque mask below it.
inline Bitmap OpaqueStacked(int w, int h, Bgr c) { return Stacked(Solid(w, h, c), Solid(w, h, {255, 255, 255})); }

// A picture packed once per test program under a name of the test's choosing: packing full-screen
// pictures is most of a fixture's cost.
inline const std::vector<uint8_t>& PackedOnce(const std::string& key, const std::function<Bitmap()>& make) {
  static std::map<std::string, std::vector<uint8_t>> packed;
  auto it = packed.find(key);
  if (it == packed.end()) it = packed.emplace(key, Packed(make())).first;
  return it->second;
}

// Timed input for a run, with shots of the window saved in the game folder.
class InputPlan {
 public:
  explicit InputPlan(GameFixture& g) : g_(g) {}

  size_t Shot(uint32_t time) {
    InputEvent e;
    e.kind = InputEvent::Kind::Shot;
    e.time = time;
    e.file = (g_.Dir() / ("shot" + std::to_string(files_.size()) + ".png")).string();
    files_.push_back(e.file);
    events_.push_back(e);
    return files_.size() - 1;
  }
  void Click(uint32_t time, int x = 400, int y = 300, MouseButton button = MouseButton::Left) {
    InputEvent e;
    e.kind = InputEvent::Kind::Click;
    e.time = time;
    e.x = x;
    e.y = y;
    e.button = button;
    events_.push_back(e);
  }
  void Move(uint32_t time, int x, int y) {
    InputEvent e;
    e.kind = InputEvent::Kind::Move;
    e.time = time;
    e.x = x;
    e.y = y;
    events_.push_back(e);
  }
  // The player's close button, answered as given.
  void Close(uint32_t time, bool ok) {
    InputEvent answer;
    answer.kind = InputEvent::Kind::Answer;
    answer.time = time;
    answer.answerOk = ok;
    events_.push_back(answer);
    InputEvent close;
    close.kind = InputEvent::Kind::Close;
    close.time = time;
    events_.push_back(close);
  }
  void Apply() {
    std::stable_sort(events_.begin(), events_.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.time < b.time; });
    g_.Host().SetInput(events_);
  }
  Bitmap Picture(size_t shot) const {
    Bitmap b;
    EXPECT_TRUE(ReadPng(files_[shot], b)) << files_[shot];
    if (b.width != 800 || b.height != 600) b.Resize(800, 600);  // a missing shot reads as black
    return b;
  }

 private:
  GameFixture& g_;
  std::vector<InputEvent> events_;
  std::vector<std::string> files_;
};

}  // namespace torvel::testing
