// A full repaint of the window's picture on a full screen: a whole new 800×600 picture presented,
// enlarged to the screen's device pixels and drawn, on Qt's offscreen platform. Arguments: screen
// width, height, and whole factors only (1) or the largest 4:3 rectangle (0). CPU time is the
// whole process's, since Qt spreads smooth scaling over threads.
//
// BM_ShownRepaint shows the window on a real display and times a presented picture up to the
// screen, through the processor or through OpenGL; it needs a display as large as the screen:
//   xvfb-run -a -s "-screen 0 3840x2160x24" env QT_QPA_PLATFORM=xcb TORVEL_SOFTWARE_GL=1 \
//     build/bench/torvel_qt_bench --benchmark_filter=Shown
// (TORVEL_SOFTWARE_GL=1 lets the OpenGL path run on Mesa's renderer where there is no card.)
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QTest>

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
  PictureWidget widget(events, nullptr, false);
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

// A whole new picture presented and drawn to a shown full-screen window: arguments screen width,
// height, whole factors only (1) or not (0), and OpenGL allowed (1) or not (0).
void BM_ShownRepaint(benchmark::State& state) {
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
    state.SkipWithError("needs a real display");
    return;
  }
  const bool gl = state.range(3) != 0;
  if (gl && !SmoothGlView::Available()) {
    state.SkipWithError("no OpenGL on a graphics card (TORVEL_SOFTWARE_GL=1 allows a software one)");
    return;
  }
  NoEvents events;
  PictureWidget widget(events, nullptr, gl);
  widget.SetIntegerScaling(state.range(2) != 0);
  widget.setGeometry(0, 0, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  widget.show();
  if (!QTest::qWaitForWindowExposed(&widget)) {
    state.SkipWithError("the window did not show");
    return;
  }
  auto* glView = widget.findChild<SmoothGlView*>();
  const Bitmap scene = Scene();
  for (auto _ : state) {
    widget.CopyFrom(scene, Rect{0, 0, 800, 600});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::processEvents();
    // Waits until the card (Mesa's software renderer on a virtual display) has drawn it all.
    if (glView && glView->isVisible()) {
      glView->makeCurrent();
      QOpenGLContext::currentContext()->functions()->glFinish();
      glView->doneCurrent();
    }
  }
  const DeviceRect shown = widget.ShownInDevice();
  state.counters["shown_width"] = shown.width;
  state.counters["shown_height"] = shown.height;
  state.counters["by_gl"] = widget.DrawnByGl() ? 1 : 0;
}
BENCHMARK(BM_ShownRepaint)
    ->ArgNames({"w", "h", "integer", "gl"})
    ->Args({1920, 1080, 0, 0})
    ->Args({1920, 1080, 0, 1})
    ->Args({3840, 2160, 0, 0})
    ->Args({3840, 2160, 0, 1})
    ->Args({3840, 2160, 1, 0})
    ->Args({3840, 2160, 1, 1})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
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
