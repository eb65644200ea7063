// A full repaint of the window's picture on a full screen: a whole new 800×600 picture presented,
// enlarged to the screen's device pixels and drawn, on Qt's offscreen platform. Arguments: screen
// width, height, and whole factors only (1) or the largest 4:3 rectangle (0). CPU time is the
// whole process's, since Qt spreads smooth scaling over threads.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "platform/qt/picture_widget.h"

namespace torvel {
namespace {

class NoEvents : public WindowEvents {
 public:
  void PictureMouseMove(ShiftState, int, int) override {}
  void PictureMouseDown(MouseButton, ShiftState, int, int) override {}
  void PictureMouseUp(MouseButton, ShiftState, int, int) override {}
  void PictureWheel(ShiftState, int) override {}
  void WindowKeyDown(int, ShiftState) override {}
  void WindowKeyUp(int, ShiftState) override {}
  void WindowKeyPress(char) override {}
  void WindowCloseRequested() override {}
  void WindowShown() override {}
};

Bitmap Scene() {
  Bitmap b(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(x * 7 + y);
      p[1] = static_cast<uint8_t>(y * 3);
      p[2] = static_cast<uint8_t>(x ^ y);
    }
  }
  return b;
}

void BM_FullScreenRepaint(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  NoEvents events;
  PictureWidget widget(events, nullptr);
  widget.resize(width, height);
  widget.SetIntegerScaling(state.range(2) != 0);
  QImage screen(width, height, QImage::Format_RGB32);
  const Bitmap scene = Scene();
  const DeviceRect shown = widget.ShownInDevice();
  for (auto _ : state) {
    widget.CopyFrom(scene, Rect{0, 0, 800, 600});
    widget.render(&screen);
    benchmark::DoNotOptimize(screen.constBits());
  }
  state.counters["shown_width"] = shown.width;
  state.counters["shown_height"] = shown.height;
}
BENCHMARK(BM_FullScreenRepaint)
    ->ArgNames({"w", "h", "integer"})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({3840, 2160, 0})
    ->Args({3840, 2160, 1})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace torvel

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  char name[] = "torvel_qt_bench";
  char* qtArgv[] = {name, nullptr};
  QApplication app(qtArgc, qtArgv);
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
