#pragma once
// The special scenes played through the headless host: a host that keeps every picture shown on
// the window with its time, masked pictures made inline, and input at the current virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "graphics/picture_test_support.h"
#include "platform/headless/input_script.h"
#include "sound/wady_encoder.h"
#include "support/game_fixture.h"

namespace torvel::testing {

// Keeps what the window showed after every presentation, and when.
class RecordingHost : public HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  struct Shown {
    uint32_t time;
    Rect area;
    Bitmap window;
  };
  void Present(const Bitmap& picture, const Rect& area) override {
    HeadlessHost::Present(picture, area);
    if (recording) shown.push_back(Shown{TickCount(), area, Window()});
  }
  void PumpMessages() override {
    if (recording) pumps.push_back(TickCount());
    HeadlessHost::PumpMessages();
  }
  bool recording = false;
  std::vector<Shown> shown;
  std::vector<uint32_t> pumps;
};

// A game folder from a fixture, run on a recording host.
class SceneGame {
 public:
  GameFixture fixture;

  TForm1& Start() {
    fixture.Write();
    host_ = std::make_unique<RecordingHost>(fixture.Dir() / "config");
    engine_ = std::make_unique<TForm1>(*host_, EngineOptions{fixture.Dir(), 1});
    host_->Attach(engine_.get());
    host_->Start();
    return *engine_;
  }
  RecordingHost& Host() { return *host_; }
  TForm1& Engine() { return *engine_; }

  // Runs until the engine waits for the player; returns the line it stopped at.
  std::string RunToWait() {
    host_->RunUntilSettled(20000);
    return engine_->script.lineBuffer;
  }
  // Input lines ("move X Y", "click X Y right") delivered now, one after the other, after the click
  // debounce has run out.
  void Input(const std::vector<std::string>& lines) {
    host_->RunFrames(6);
    std::string text;
    for (const std::string& line : lines) text += std::to_string(host_->TickCount()) + " " + line + "\n";
    host_->SetInput(ParseInputScript(text).events);
    host_->RunFrame();
  }
  void Move(int x, int y) { engine_->PBMouseMove(ShiftState{}, x, y); }
  void Click(int x, int y, MouseButton button = MouseButton::Left) {
    host_->RunFrames(6);
    engine_->PBMouseMove(ShiftState{}, x, y);
    engine_->PBMouseDown(button, ShiftState{}, x, y);
    engine_->PBMouseUp(button, ShiftState{}, x, y);
  }
  Bgr Window(int x, int y) const { return Px(host_->Window(), x, y); }
  Bgr Screen(int x, int y) const { return Px(engine_->layers.screen, x, y); }
  // How often a sound entry was put into a slot.
  int SoundsNamed(const std::string& name) const {
    int n = 0;
    for (const SoundCall& c : host_->Sound().CallsOf(SoundOp::Create)) n += c.name == name;
    return n;
  }

 private:
  std::unique_ptr<RecordingHost> host_;
  std::unique_ptr<TForm1> engine_;
};

// A masked picture as the scenes load them: the image above its mask, both `w` × `h`.
inline Bitmap Stacked(int w, int h, Bgr colour, int maskLevel = 255) {
  Bitmap b(w, h * 2);
  FillColumns(b, 0, w, colour);
  for (int y = h; y < 2 * h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = p[1] = p[2] = static_cast<uint8_t>(maskLevel);
    }
  }
  return b;
}

// d = (a × (255 − m) >> 8) + (b × m >> 8): the masked blend of a byte inside a group that is not
// all clear.
inline int GroupBlend(int a, int b, int m) { return (a * (255 - m) >> 8) + (b * m >> 8); }
// The exact blend of the bytes after the last whole group.
inline int TailBlend(int a, int b, int m) { return (a * (255 - m) + b * m) >> 8; }

inline Bgr Apply(Bgr a, Bgr b, int m, int (*blend)(int, int, int)) {
  return Bgr{blend(a[0], b[0], m), blend(a[1], b[1], m), blend(a[2], b[2], m)};
}

// A short effect entry, for the choice and hover sounds.
inline std::vector<uint8_t> Chime() {
  std::vector<int16_t> samples(1600);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i % 40 < 20 ? 3000 : -3000);
  return EncodeTypeB(samples, 1, 16000);
}

}  // namespace torvel::testing
