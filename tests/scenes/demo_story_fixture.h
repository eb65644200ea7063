#pragma once
// The built demo played from its title menu into the story, with input lines at the current
// virtual time. Saves and settings go to the test's own scratch folders: the demo's folder in the
// build tree is shared by every test, and a global data file written there by one would change
// what the next one plays.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scene_test_support.h"
#include "support/built_demo.h"

namespace torvel::testing {

inline const std::filesystem::path kBuiltDemo = std::filesystem::path(TORVEL_BINARY_DIR) / "demo" / "game";

class DemoStory : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<RecordingHost>(settings.Path());
    engine = std::make_unique<TForm1>(*host, EngineOptions{kBuiltDemo, 7, false});
    host->Attach(engine.get());
    ASSERT_TRUE(host->Start());
    host->RunUntilSettled(20000);
    ASSERT_TRUE(StartDemoStory(*host, *engine));
  }

  // Input lines delivered now, one after the other, then the engine left to settle.
  void Input(const std::vector<std::string>& lines) {
    host->RunFrames(6);
    std::string text;
    for (const std::string& line : lines) text += std::to_string(host->TickCount()) + " " + line + "\n";
    host->SetInput(ParseInputScript(text).events);
    host->RunUntilSettled(20000);
  }
  void Click(int x, int y, const char* button = "left") {
    Input({"click " + std::to_string(x) + " " + std::to_string(y) + " " + button});
  }
  void Move(int x, int y) { Input({"move " + std::to_string(x) + " " + std::to_string(y)}); }
  // Clicks on the picture's top, where no button lies, until `done` holds.
  bool ClickUntil(const std::function<bool()>& done, int clicks = 80) {
    for (int i = 0; i < clicks && !done(); ++i) Click(400, 100);
    return done();
  }
  // Until a choice of `mode` waits.
  bool ClickUntilChoice(int mode = 1, int clicks = 80) {
    return ClickUntil([this, mode] { return engine->ctl.choiceMode == mode; }, clicks);
  }
  // Chooses bar `bar` (from 0) of the choice list shown.
  void Choose(int bar) {
    const TForm1& e = *engine;
    Click(400, e.choices.listTop + bar * e.config.SELECT_Y_PITCH + e.choices.barHeight / 2);
  }
  Bgr Window(int x, int y) const { return Px(host->Window(), x, y); }

  TempFolder settings;
  std::unique_ptr<RecordingHost> host;
  std::unique_ptr<TForm1> engine;
};

}  // namespace torvel::testing
