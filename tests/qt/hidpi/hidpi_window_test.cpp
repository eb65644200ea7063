// The picture on a screen of pixel ratio 2 (1920×1080 in widget coordinates, 3840×2160 device
// pixels): enlarged once, straight to device pixels, and input mapped back through them. The
// program describes its own screen to the offscreen platform before the application starts.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/picture_widget.h"
#include "platform/qt/qt_host.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return done();
}

class NoEvents : public WindowEvents {
 public:
  void PictureMouseMove(ShiftState, int, int) override {}
  void PictureMouseDown(MouseButton, ShiftState, int x, int y) override { downs.push_back(Point{x, y}); }
  void PictureMouseUp(MouseButton, ShiftState, int, int) override {}
  void PictureWheel(ShiftState, int) override {}
  void WindowKeyDown(int, ShiftState) override {}
  void WindowKeyUp(int, ShiftState) override {}
  void WindowKeyPress(char) override {}
  void WindowCloseRequested() override {}
  void WindowShown() override {}
  std::vector<Point> downs;
};

// A picture whose every pixel differs from its neighbours and is never black.
QRgb Unique(int x, int y) { return qRgb(x & 255, y & 255, 128 + (x >> 8) * 16 + (y >> 8)); }
// A picture of 10×10 blocks of one colour each.
QRgb Blocky(int x, int y) { return qRgb(20 + (x / 10) * 2, 20 + (y / 10) * 3, 200); }

Bitmap PictureOf(QRgb (*colour)(int, int)) {
  Bitmap b(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* p = b.At(x, y);
      const QRgb c = colour(x, y);
      p[0] = static_cast<uint8_t>(qBlue(c));
      p[1] = static_cast<uint8_t>(qGreen(c));
      p[2] = static_cast<uint8_t>(qRed(c));
    }
  }
  return b;
}

QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Every device pixel: inside `shown` the picture pixel it covers, a block of `factor` × `factor`
// device pixels each; black outside. Counts the mismatches.
int BlockMismatches(const QImage& shot, const DeviceRect& shown, int factor) {
  int wrong = 0;
  for (int y = 0; y < shot.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
    for (int x = 0; x < shot.width(); ++x) {
      const bool inside =
          x >= shown.left && y >= shown.top && x < shown.left + shown.width && y < shown.top + shown.height;
      const QRgb want = inside ? Unique((x - shown.left) / factor, (y - shown.top) / factor) : qRgb(0, 0, 0);
      if ((row[x] & 0xFFFFFF) != (want & 0xFFFFFF)) ++wrong;
    }
  }
  return wrong;
}

// Presses at the centre of picture pixels, in widget coordinates worked out from the device
// rectangle, and expects the same pixels back.
void ExpectPressesArrive(PictureWidget& widget, NoEvents& events, const DeviceRect& shown) {
  const Point targets[] = {{0, 0}, {799, 599}, {400, 300}, {123, 457}};
  for (Point t : targets) {
    events.downs.clear();
    const double ratio = 2.0;
    const QPointF pos((shown.left + (t.x + 0.5) * shown.width / 800.0) / ratio,
                      (shown.top + (t.y + 0.5) * shown.height / 600.0) / ratio);
    QMouseEvent press(QEvent::MouseButtonPress, pos, widget.mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, widget.mapToGlobal(pos), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
    ASSERT_EQ(events.downs.size(), 1u) << t.x << "," << t.y;
    EXPECT_EQ(events.downs[0].x, t.x);
    EXPECT_EQ(events.downs[0].y, t.y);
  }
}

TEST(HiDpiScreen, TheScreenIsDescribedAsAskedFor) {
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->geometry(), QRect(0, 0, 1920, 1080));
  EXPECT_EQ(screen->devicePixelRatio(), 2.0);
}

TEST(HiDpiScreen, IntegerFullScreenDrawsExactThreeByThreeBlocks) {
  NoEvents events;
  PictureWidget widget(events, nullptr);
  widget.SetIntegerScaling(true);
  widget.showFullScreen();
  ASSERT_TRUE(RunEventsUntil([&] { return widget.size() == QSize(1920, 1080); }));
  widget.CopyFrom(PictureOf(Unique), Rect{0, 0, 800, 600});
  const QImage shot = Shot(widget);
  ASSERT_EQ(shot.size(), QSize(3840, 2160));
  const DeviceRect shown{720, 180, 2400, 1800};
  EXPECT_EQ(widget.ShownInDevice(), shown);
  EXPECT_EQ(BlockMismatches(shot, shown, 3), 0);
  ExpectPressesArrive(widget, events, shown);

  // A later change redraws only its blocks, still exact.
  Bitmap white(800, 600);
  white.Fill(255, 255, 255);
  widget.CopyFrom(white, Rect{10, 20, 12, 21});
  const QImage after = Shot(widget);
  EXPECT_EQ(after.pixel(720 + 30, 180 + 60), qRgb(255, 255, 255));
  EXPECT_EQ(after.pixel(720 + 35, 180 + 62), qRgb(255, 255, 255));
  EXPECT_EQ(after.pixel(720 + 36, 180 + 60), Unique(12, 20));
  EXPECT_EQ(after.pixel(720 + 29, 180 + 60), Unique(9, 20));
}

TEST(HiDpiScreen, SmoothFullScreenFillsTheHeight) {
  NoEvents events;
  PictureWidget widget(events, nullptr);
  widget.showFullScreen();
  ASSERT_TRUE(RunEventsUntil([&] { return widget.size() == QSize(1920, 1080); }));
  widget.CopyFrom(PictureOf(Blocky), Rect{0, 0, 800, 600});
  const QImage shot = Shot(widget);
  ASSERT_EQ(shot.size(), QSize(3840, 2160));
  const DeviceRect shown{480, 0, 2880, 2160};
  EXPECT_EQ(widget.ShownInDevice(), shown);
  // Bars to the first and last device column of the picture, and none above or below.
  for (int y : {0, 1000, 2159}) {
    EXPECT_EQ(shot.pixel(479, y), qRgb(0, 0, 0)) << y;
    EXPECT_NE(shot.pixel(480, y), qRgb(0, 0, 0)) << y;
    EXPECT_NE(shot.pixel(3359, y), qRgb(0, 0, 0)) << y;
    EXPECT_EQ(shot.pixel(3360, y), qRgb(0, 0, 0)) << y;
  }
  // 3.6 device pixels to a picture pixel: the middle of each 10×10 block shows its colour.
  int wrong = 0;
  for (int by = 0; by < 60; ++by) {
    for (int bx = 0; bx < 80; ++bx) {
      const int x = 480 + static_cast<int>((bx * 10 + 5) * 3.6);
      const int y = static_cast<int>((by * 10 + 5) * 3.6);
      if ((shot.pixel(x, y) & 0xFFFFFF) != (Blocky(bx * 10, by * 10) & 0xFFFFFF)) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
  ExpectPressesArrive(widget, events, shown);
}

struct QtGame {
  QtGame() {
    game.Script("main", "一。\n\\\n").Write();
    host = std::make_unique<QtHost>(settings.Path());
    engine = std::make_unique<TForm1>(*host, EngineOptions{game.Dir(), 1});
    host->Attach(engine.get());
    ok = host->Start() && RunEventsUntil([&] { return engine->ctl.waitKind != 0; });
  }
  testing::GameFixture game;
  testing::TempFolder settings;
  std::unique_ptr<QtHost> host;
  std::unique_ptr<TForm1> engine;
  bool ok = false;
};

TEST(HiDpiScreen, TheOneTimesWindowShowsTwoByTwoBlocksAndTwiceDoesNotFit) {
  QtGame g;
  ASSERT_TRUE(g.ok);
  MainWindow& window = g.host->Window();
  PictureWidget& picture = window.Picture();
  // 1× on a ratio of 2: 1600×1200 device pixels, fixed.
  EXPECT_EQ(picture.size(), QSize(800, 600));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  picture.CopyFrom(PictureOf(Unique), Rect{0, 0, 800, 600});
  const QImage shot = Shot(picture);
  ASSERT_EQ(shot.size(), QSize(1600, 1200));
  EXPECT_EQ(BlockMismatches(shot, DeviceRect{0, 0, 1600, 1200}, 2), 0);

  // 2× would be 3200×2400 device pixels on a 3840×2160 screen.
  EXPECT_FALSE(g.host->WindowScaleFits(2));
  g.engine->SetWindowScale(2);
  EXPECT_EQ(g.engine->settings.WindowScale, 1);

  // The fitted window can be resized; the picture keeps its aspect.
  g.engine->SetWindowScale(0);
  EXPECT_NE(window.minimumSize(), window.maximumSize());
  window.resize(1000, 600 + window.menuBar()->height());
  ASSERT_TRUE(RunEventsUntil([&] { return picture.width() == 1000; }));
  EXPECT_EQ(picture.ShownInDevice(), (DeviceRect{200, 0, 1600, 1200}));
}

}  // namespace
}  // namespace torvel

// The screen comes from a file named in the platform's name, before QApplication exists.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  char folder[] = "/tmp/torvel-hidpi-XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  const std::string config = std::string(folder) + "/screen.json";
  std::ofstream(config) << R"({"screens":[{"name":"s","x":0,"y":0,"width":1920,"height":1080,)"
                        << R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":2}]})";
  ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
  if (!std::getenv("XDG_RUNTIME_DIR")) ::setenv("XDG_RUNTIME_DIR", folder, 1);
  int qtArgc = 1;
  char name[] = "test_qt_hidpi";
  char* qtArgv[] = {name, nullptr};
  int result = 0;
  {
    QApplication app(qtArgc, qtArgv);
    result = RUN_ALL_TESTS();
  }
  std::remove(config.c_str());
  ::rmdir(folder);
  return result;
}
