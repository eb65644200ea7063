// One frame of the CG viewer with every control fading: 49 cells, next, previous, exit and 18 set
// buttons blended from the page's two pictures and shown. A frame is 20 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "demo_game.h"
#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace {

void BM_CgViewerFrameAllFading(benchmark::State& state) {
  torvel::HeadlessHost host(std::filesystem::temp_directory_path() / "torvel-bench-viewer");
  torvel::TForm1 engine(host, torvel::EngineOptions{});
  engine.CreateScreenBuffers();
  torvel::CgViewer& v = engine.viewer;
  v.pageName = "VIEW_1";
  v.page.cellWidth = 100;
  v.page.cellHeight = 80;
  for (int k = 1; k <= torvel::kViewCells; ++k) {
    v.page.cellX[static_cast<size_t>(k)] = 10 + (k - 1) % 7 * 110;
    v.page.cellY[static_cast<size_t>(k)] = 10 + (k - 1) / 7 * 66;
  }
  v.page.next = {10, 540, 90, 590};
  v.page.prev = {100, 540, 180, 590};
  v.page.exit = {190, 540, 270, 590};
  for (int n = 0; n < torvel::kViewSetButtons; ++n)
    v.page.setButtons[static_cast<size_t>(n)].rect = {280 + n * 28, 540, 305 + n * 28, 590};
  v.normal.Resize(800, 600);
  v.normal.Fill(40, 40, 40);
  v.highlight.Resize(800, 600);
  v.highlight.Fill(200, 180, 160);
  for (auto _ : state) {
    for (int c = 1; c < torvel::kViewerPageButtonBase; ++c) v.fades[static_cast<size_t>(c)] = 16;
    engine.CgViewerFrame();
    benchmark::ClobberMemory();
  }
  torvel::bench::CountFrameFraction(state);
}
BENCHMARK(BM_CgViewerFrameAllFading)->Unit(benchmark::kMicrosecond);

}  // namespace
