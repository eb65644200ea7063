// The backlog and the page history: one redraw of a backlog of 18 rows of 30 two-byte characters
// (the darkened scene, the rows from the log font's kept glyphs, the knob), and one step of the
// page history (the scene rebuilt from its names, the window, a page of text). A frame is 20 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "demo_game.h"
#include "platform/headless/headless_host.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace {

struct BacklogStory : torvel::bench::DemoGame {
  BacklogStory() : DemoGame("torvel-bench-backlog") {
    torvel::TForm1& e = *engine;
    torvel::GameConfig& c = e.config;
    c.LOG_LINES = 18;
    c.LOG_PITCH = 28;
    c.LOG_FONTSIZE = 22;
    c.LOG_WINDOW = {60, 40, 700, 560};
    c.LOG_BAR = {740, 40, 772, 560};
    c.LOG_BAR_INSIDE = {0, 40, 32, 480};
    e.vars.S(28) = 1;
    // Thirty different kanji and kana a line, so the glyphs are not all one.
    const std::string kana = torvel::Utf8ToSjis("昨日の夕方に駅前の古い本屋で見つけた物語の続きを読む。");
    e.text.backlog.Clear();
    for (int i = 0; i < 200; ++i) {
      const std::string line = kana.substr(static_cast<size_t>(i % 3) * 2) + kana;
      e.text.backlog.Append(line.substr(0, 60));
      e.text.backlog.CloseLine();
    }
    for (int r = 1; r < 5; ++r) e.textWindow.page.SetRow(r, kana);
    for (int i = 0; i < 5; ++i) e.RecordPage();
  }
};

void BM_BacklogRedraw18Rows(benchmark::State& state) {
  BacklogStory story;
  story.engine->OpenBacklog();
  story.engine->ScrollBacklogTo(40);
  for (auto _ : state) {
    story.engine->DrawBacklog();
    benchmark::ClobberMemory();
  }
  torvel::bench::CountFrameFraction(state);
}
BENCHMARK(BM_BacklogRedraw18Rows)->Unit(benchmark::kMicrosecond);

void BM_PageHistoryStep(benchmark::State& state) {
  BacklogStory story;
  torvel::TForm1& e = *story.engine;
  e.OpenPageHistory();
  int slot = 0;
  for (auto _ : state) {
    e.ShowPageHistorySlot(slot);
    slot = (slot + 1) % 3;
    benchmark::ClobberMemory();
  }
  torvel::bench::CountFrameFraction(state);
}
BENCHMARK(BM_PageHistoryStep)->Unit(benchmark::kMicrosecond);

}  // namespace
