// Typing a full page, four rows of 60 bytes (120 full-width characters), through the message
// processor into the screen buffer of a shown text window: each character placed on the page,
// blended into its cell and shown. With the glyph cache warm, and with every glyph rasterised.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_host.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace {

struct Page {
  torvel::HeadlessHost host{std::filesystem::temp_directory_path() / "torvel-bench-config"};
  std::unique_ptr<torvel::TForm1> engine;
  std::vector<std::string> lines;

  Page() {
    engine = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{});
    torvel::TForm1& e = *engine;
    e.CreateScreenBuffers();
    e.config.TXW_OFS_Y = 440;
    e.config.TXW_SIZE_X = 800;
    e.config.TXW_SIZE_Y = 152;
    e.config.TX_OFS_X = 64;
    e.config.TX_OFS_Y = 14;
    e.config.TX_PITCH_X = 11;
    e.config.TX_PITCH_Y = 30;
    e.config.MOJI_MAX_X = 60;
    e.config.MOJI_MAX_Y = 5;
    e.settings.TXBG_A = 160;
    e.settings.Delay = 1;  // a whole line in one step
    e.settings.FontName = torvel::Utf8ToSjis("ＭＳ ゴシック");
    e.settings.FONTSIZE = 22;
    e.ResetGlyphCache();
    e.InitTextWindow();
    e.ctl.skipActive = true;  // no fades
    e.OpenWindow();
    e.ctl.skipActive = false;
    // Four lines of 30 characters; each opens with a bracket, so no indent: 60 bytes a row.
    for (const char* row : {"「今日はいい天気ですね。散歩に行きませんか」と彼女は言った。",
                            "「窓の外には青い空が広がり、鳥の声が聞こえる朝だった。」と、",
                            "「駅前の通りを抜けて川沿いの道を歩くと、桜の木が並んでいた。",
                            "『花びらが風に舞っている。遠くの山はまだ雪をかぶっていた。」"}) {
      lines.push_back(torvel::Utf8ToSjis(row));
    }
  }
  void TypePage() {
    torvel::TForm1& e = *engine;
    e.ClearPage();
    for (const std::string& line : lines) {
      e.script.lineBuffer = line;
      e.script.linePos = 0;
      e.script.needLine = false;
      e.ShowTextLine();
    }
  }
};

void TypePage(benchmark::State& state, bool cached) {
  Page page;
  page.TypePage();
  for (auto _ : state) {
    if (!cached) page.engine->glyphs.ClearCache();
    page.TypePage();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 120);
  state.counters["rows"] = page.engine->text.cursorRow - 1;  // row 0 is the name row
}

void BM_TypePageCached(benchmark::State& state) { TypePage(state, true); }
void BM_TypePageUncached(benchmark::State& state) { TypePage(state, false); }
BENCHMARK(BM_TypePageCached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypePageUncached)->Unit(benchmark::kMicrosecond);

}  // namespace
