// The backlog and the page history: one redraw of a backlog of 18 rows of 30 two-byte characters
// (the darkened scene, the rows from the log font's kept glyphs, the knob), and one step of the
// page history (the scene rebuilt from its names, the window, a page of text). A frame is 20 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/headless/headless_host.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace {

struct BacklogStory {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "torvel-bench-backlog";
  std::unique_ptr<torvel::HeadlessHost> host;
  std::unique_ptr<torvel::TForm1> engine;

  BacklogStory() {
    std::filesystem::remove_all(dir);
    std::filesystem::copy(TORVEL_DEMO_DIR, dir, std::filesystem::copy_options::recursive);
    host = std::make_unique<torvel::HeadlessHost>(dir / "config");
    engine = std::make_unique<torvel::TForm1>(*host, torvel::EngineOptions{dir, 1, true});
    host->Attach(engine.get());
    host->Start();
    host->RunUntilSettled(2000);
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
  ~BacklogStory() {
    engine.reset();
    std::filesystem::remove_all(dir);
  }
};

void FrameFraction(benchmark::State& state) {
  state.counters["frame_fraction"] = benchmark::Counter(static_cast<double>(state.iterations()) * 0.020,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_BacklogRedraw18Rows(benchmark::State& state) {
  BacklogStory story;
  story.engine->OpenBacklog();
  story.engine->ScrollBacklogTo(40);
  for (auto _ : state) {
    story.engine->DrawBacklog();
    benchmark::ClobberMemory();
  }
  FrameFraction(state);
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
  FrameFraction(state);
}
BENCHMARK(BM_PageHistoryStep)->Unit(benchmark::kMicrosecond);

}  // namespace
