// Drawing a line of 60 characters (mixed kana and kanji) onto an 800 × 600 screen buffer, with
// the glyph cache warm and with every glyph rasterised again. Reports characters a second.
#include <benchmark/benchmark.h>

#include <string>

#include "graphics/bitmap.h"
#include "graphics/glyphs.h"
#include "resources/sjis.h"

namespace torvel::bench {
namespace {

constexpr int kFontSize = 22;
constexpr int kPitch = 11;

// 60 characters, 120 bytes.
std::string SixtyCharacters() {
  return Utf8ToSjis(
      "今日も「今日はいい天気ですね。散歩に行きませんか？」と彼女は言った。窓の外には青い空が広がり、鳥の声が聞こえる朝"
      "だった。");
}

void DrawLine(benchmark::State& state, bool cached) {
  const std::string text = SixtyCharacters().substr(0, 120);
  GlyphRenderer glyphs;
  glyphs.SetFont(Utf8ToSjis("ＭＳ ゴシック"), kFontSize, false);
  Bitmap screen(800, 600);
  glyphs.DrawText(text, 0, kPitch, 0, screen, 0, 0xFFFFFF, 100);
  for (auto _ : state) {
    if (!cached) glyphs.ClearCache();
    glyphs.DrawText(text, 40, kPitch, 0, screen, 0, 0xFFFFFF, 400);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 60);
}

void BM_GlyphLineCached(benchmark::State& state) { DrawLine(state, true); }
void BM_GlyphLineUncached(benchmark::State& state) { DrawLine(state, false); }
BENCHMARK(BM_GlyphLineCached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GlyphLineUncached)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace torvel::bench
