// The engine in the real window: start-up, the two clocks, input, the picture and closing.
#include "platform/qt/qt_host.h"

#include <gtest/gtest.h>

#include <QMenuBar>

#include <QCursor>
#include <QMouseEvent>
#include <cmath>
#include <ctime>

#include "qt_test_support.h"
#include "resources/sjis.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::MessageBoxAnswerer;
using testing::RunEventsFor;
using testing::RunEventsUntil;
using testing::TempFolder;

const char* const kQuitQuestion = "ゲームを終了しますか？";

// A game waiting at its first click, with the window on screen.
class QtHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_.Script("_config", "TITLE:窓の試験\n").Script("main", "一頁目\n\\\n二頁目\n\\\n三頁目\n\\\n").Write();
    host_ = std::make_unique<QtHost>(settings_.Path());
    engine_ = std::make_unique<TForm1>(*host_, EngineOptions{game_.Dir(), 1});
    host_->Attach(engine_.get());
  }
  void TearDown() override {
    engine_.reset();
    host_.reset();
  }

  void StartAndSettle() {
    ASSERT_TRUE(host_->Start());
    ASSERT_TRUE(RunEventsUntil([&] { return engine_->ctl.waitKind != 0; }));
  }

  void ClickAt(QPointF pos) {
    QWidget& w = host_->Window().Picture();
    QMouseEvent press(QEvent::MouseButtonPress, pos, w.mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(&w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, w.mapToGlobal(pos), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(&w, &release);
  }

  GameFixture game_;
  TempFolder settings_;
  std::unique_ptr<QtHost> host_;
  std::unique_ptr<TForm1> engine_;
};

TEST_F(QtHostTest, StartShowsTheWindowWithTheCaptionAndRunsBothClocks) {
  StartAndSettle();
  EXPECT_TRUE(host_->Window().isVisible());
  EXPECT_EQ(host_->Window().windowTitle().toStdString(), "窓の試験");
  EXPECT_EQ(host_->Window().Picture().size(), QSize(800, 600));

  // At a click wait the frames go on, one per 20 ms at most, and the timer ticks every 55 ms.
  // Only loose bounds: the machine may be busy.
  int frames = engine_->ctl.frameCounter;
  int ticks = engine_->ctl.timerCounter;
  RunEventsFor(550);
  int framesRun = engine_->ctl.frameCounter - frames;
  int ticksRun = engine_->ctl.timerCounter - ticks;
  EXPECT_GE(framesRun, 3);
  EXPECT_LE(framesRun, 30);
  EXPECT_GE(ticksRun, 2);
  EXPECT_LE(ticksRun, 11);
}

TEST_F(QtHostTest, TheWindowShowsWhatTheEnginePresents) {
  StartAndSettle();
  engine_->layers.screen.Fill(0x10, 0x80, 0xF0);
  engine_->layers.screen.At(0, 0)[0] = 0xFF;
  engine_->PBPaint();
  RunEventsFor(50);
  QImage shot = host_->Window().Picture().grab().toImage();
  EXPECT_EQ(shot.pixel(400, 300), qRgb(0xF0, 0x80, 0x10));
  EXPECT_EQ(shot.pixel(0, 0), qRgb(0xF0, 0x80, 0xFF));
  EXPECT_EQ(shot.pixel(799, 599), qRgb(0xF0, 0x80, 0x10));
  // The engine reads the window back (`fix`, the white flash) in its own byte order.
  Bitmap back;
  ASSERT_TRUE(host_->ReadWindow(back));
  ASSERT_EQ(back.width, 800);
  ASSERT_EQ(back.height, 600);
  EXPECT_EQ(back.At(0, 0)[0], 0xFF);
  EXPECT_EQ(back.At(0, 0)[2], 0xF0);
  EXPECT_EQ(back.At(799, 599)[0], 0x10);
}

TEST_F(QtHostTest, ARepaintNeverUndoesWhatABlockingLoopDrew) {
  StartAndSettle();
  engine_->layers.screen.Fill(0, 0, 0);
  // A blocking loop draws on the window only, not into the screen buffer.
  engine_->ctl.blockingScene = true;
  Bitmap drawn(800, 600);
  drawn.Fill(0, 0xFF, 0);
  host_->Present(drawn, Rect{0, 0, 800, 600});
  // The window goes away and comes back, and is resized: it is painted again.
  host_->Window().hide();
  host_->Window().show();
  host_->Window().resize(1000, 750);
  for (int i = 0; i < 5; ++i) {
    host_->PumpMessages();
    host_->Sleep(20);
  }
  RunEventsFor(100);
  PictureWidget& picture = host_->Window().Picture();
  EXPECT_EQ(picture.Picture().pixel(400, 300), qRgb(0, 0xFF, 0));
  EXPECT_EQ(picture.grab().toImage().pixel(500, 375), qRgb(0, 0xFF, 0));

  // Once the scene is over, the window shown again is painted from the screen buffer.
  engine_->ctl.blockingScene = false;
  EXPECT_TRUE(RunEventsUntil([&] { return picture.Picture().pixel(400, 300) == qRgb(0, 0, 0); }));
}

TEST_F(QtHostTest, AClickOnTheScaledPictureAnswersTheWait) {
  StartAndSettle();
  engine_->SetWindowScale(0);  // the resizable window
  // Picture 1200×900 from x = 100, under the menu bar.
  host_->Window().resize(1400, 900 + host_->Window().menuBar()->height());
  RunEventsFor(20);
  ASSERT_EQ(host_->Window().Picture().size(), QSize(1400, 900));
  int pc = engine_->script.pc;

  ClickAt(QPointF(50, 450));  // on the bar: nothing
  RunEventsFor(100);
  EXPECT_EQ(engine_->script.pc, pc);
  EXPECT_EQ(engine_->ctl.clickDebounce, 0);

  ClickAt(QPointF(700, 450));
  EXPECT_EQ(engine_->ctl.clickDebounce, 5);
  EXPECT_TRUE(RunEventsUntil([&] { return engine_->script.pc != pc && engine_->ctl.waitKind != 0; }));
}

TEST_F(QtHostTest, CursorPositionCountsPicturePixelsFromThePictureCorner) {
  StartAndSettle();
  engine_->SetWindowScale(0);  // the resizable window
  host_->Window().resize(1400, 900);
  RunEventsFor(20);
  PictureWidget& picture = host_->Window().Picture();
  QPoint corner = picture.mapToGlobal(picture.PictureRect().topLeft());
  host_->SetCursorPos(Point{corner.x() + 400, corner.y() + 300});
  // The pointer really sits over picture pixel (400, 300)...
  Point under = picture.ToPicture(picture.mapFromGlobal(QPointF(QCursor::pos())));
  EXPECT_EQ(under.x, 400);
  EXPECT_EQ(under.y, 300);
  // ...which is 600 + 100 window pixels from the widget's left edge at this scale.
  EXPECT_NEAR(picture.mapFromGlobal(QCursor::pos()).x(), 700, 1);
  Point back = host_->CursorPos();
  EXPECT_EQ(back.x, corner.x() + 400);
  EXPECT_EQ(back.y, corner.y() + 300);
}

TEST_F(QtHostTest, AppIdleNeverRunsInsidePumpMessagesOrAMessageBox) {
  StartAndSettle();
  int frames = engine_->ctl.frameCounter;
  int ticks = engine_->ctl.timerCounter;
  // A blocking loop: pump, sleep, pump, for well over two timer periods.
  for (int i = 0; i < 15; ++i) {
    host_->PumpMessages();
    host_->Sleep(20);
  }
  EXPECT_EQ(engine_->ctl.frameCounter, frames);
  EXPECT_GT(engine_->ctl.timerCounter, ticks);  // the service timer may run there

  // A message box's own loop, held open for 200 ms.
  MessageBoxAnswerer answerer(200);
  int framesAtShow = -1;
  int framesAtAnswer = -1;
  answerer.onShown = [&] { framesAtShow = engine_->ctl.frameCounter; };
  answerer.onAnswer = [&] { framesAtAnswer = engine_->ctl.frameCounter; };
  MessageResult r = host_->ShowMessage("caption", "text", MessageButtons::Ok, MessageIcon::None);
  EXPECT_EQ(r, MessageResult::Ok);
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].title, "caption");
  EXPECT_FALSE(answerer.Boxes()[0].hadCancel);
  EXPECT_GE(framesAtShow, 0);
  EXPECT_EQ(framesAtAnswer, framesAtShow);

  frames = engine_->ctl.frameCounter;
  RunEventsFor(100);
  EXPECT_GT(engine_->ctl.frameCounter, frames);
}

TEST_F(QtHostTest, TheCloseButtonAsksTheQuestionAndCancelKeepsPlaying) {
  StartAndSettle();
  MessageBoxAnswerer answerer;
  answerer.Queue(QMessageBox::Cancel);
  host_->Window().close();
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].text, kQuitQuestion);
  EXPECT_EQ(answerer.Boxes()[0].title, "確認");
  EXPECT_TRUE(answerer.Boxes()[0].hadCancel);
  EXPECT_FALSE(host_->Closed());
  EXPECT_TRUE(host_->Window().isVisible());
  EXPECT_TRUE(engine_->ctl.scriptRunning);

  answerer.Queue(QMessageBox::Ok);
  host_->Window().close();
  EXPECT_TRUE(host_->Closed());
  EXPECT_TRUE(engine_->ctl.destroyed);
  EXPECT_FALSE(host_->Window().isVisible());
  host_->Run();  // returns at once: the window has gone
}

TEST_F(QtHostTest, ACloseAcceptedInsideANestedLoopWaitsForTheTopLevel) {
  StartAndSettle();
  MessageBoxAnswerer answerer;
  // The close button is pressed while a blocking loop pumps messages.
  QTimer::singleShot(30, &host_->Window(), [&] { host_->Window().close(); });
  for (int i = 0; i < 10; ++i) {
    host_->PumpMessages();
    host_->Sleep(20);
  }
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].text, kQuitQuestion);
  EXPECT_FALSE(host_->Closed());
  EXPECT_FALSE(engine_->ctl.destroyed);
  EXPECT_TRUE(host_->Window().isVisible());

  // Back in the top-level loop the window closes, and Run returns.
  QTimer failsafe;
  failsafe.setSingleShot(true);
  bool timedOut = false;
  QObject::connect(&failsafe, &QTimer::timeout, [&] {
    timedOut = true;
    engine_->ctl.quitRequested = true;
    host_->RequestClose();
  });
  failsafe.start(5000);
  host_->Run();
  EXPECT_FALSE(timedOut);
  EXPECT_TRUE(host_->Closed());
  EXPECT_TRUE(engine_->ctl.destroyed);
  EXPECT_EQ(answerer.Boxes().size(), 1u);
}

TEST_F(QtHostTest, TheEnginesOwnCloseIsAskedAtTheTopLevel) {
  StartAndSettle();
  MessageBoxAnswerer answerer;
  answerer.Queue(QMessageBox::Cancel);
  host_->RequestClose();
  EXPECT_TRUE(RunEventsUntil([&] { return !answerer.Boxes().empty(); }));
  EXPECT_EQ(answerer.Boxes()[0].text, kQuitQuestion);
  RunEventsFor(50);
  EXPECT_FALSE(host_->Closed());

  // With quitRequested the engine closes without asking.
  engine_->ctl.quitRequested = true;
  host_->RequestClose();
  host_->Run();
  EXPECT_TRUE(host_->Closed());
  EXPECT_TRUE(engine_->ctl.destroyed);
  EXPECT_EQ(answerer.Boxes().size(), 1u);
}

TEST(QtHostStartup, MissingGameDataShowsTheErrorAndNeverTheWindow) {
  GameFixture game;
  game.Without("tq_data.tvx").Write();
  TempFolder settings;
  QtHost host(settings.Path());
  TForm1 engine(host, EngineOptions{game.Dir(), 1});
  host.Attach(&engine);
  MessageBoxAnswerer answerer;
  bool windowSeen = false;
  answerer.onShown = [&] { windowSeen = host.Window().isVisible(); };
  EXPECT_FALSE(host.Start());
  EXPECT_TRUE(engine.ctl.startupFailed);
  EXPECT_TRUE(host.Closed());
  EXPECT_TRUE(engine.ctl.destroyed);
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].title, "Error!");
  EXPECT_EQ(answerer.Boxes()[0].text,
            "ゲームデータを読み込めません。\n" + (game.Dir() / "tq_data.tvx").string() + ": No such file or directory");
  EXPECT_FALSE(windowSeen);
  EXPECT_FALSE(host.Window().isVisible());
}

TEST(QtHostClock, SleepReallySleepsAndTheTickCountFollowsTheClock) {
  TempFolder settings;
  QtHost host(settings.Path());
  QElapsedTimer wall;
  wall.start();
  uint32_t before = host.TickCount();
  host.Sleep(40);
  uint32_t after = host.TickCount();
  EXPECT_GE(wall.elapsed(), 40);
  EXPECT_GE(after - before, 40u);
  EXPECT_LT(after - before, 1000u);
}

TEST(QtHostClock, LocalTimeIsTheCalendarTimeHere) {
  TempFolder settings;
  QtHost host(settings.Path(), settings.Path() / "data");
  const std::time_t before = std::time(nullptr);
  const DateTime t = host.LocalTime();
  std::tm local{};
  local.tm_year = t.year - 1900;
  local.tm_mon = t.month - 1;
  local.tm_mday = t.day;
  local.tm_hour = t.hour;
  local.tm_min = t.minute;
  local.tm_sec = t.second;
  local.tm_isdst = -1;
  EXPECT_LE(std::abs(std::difftime(std::mktime(&local), before)), 2.0);
  EXPECT_EQ(host.DataFolder(), settings.Path() / "data");
}

}  // namespace
}  // namespace torvel
