// Movies in the real window: Qt Multimedia plays the file over the picture, the engine's timer
// ends the movie once the player has stopped, and a click on the video ends it early; the demo's
// own movie is one the player plays.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>
#include <cmath>

#include "platform/qt/qt_host.h"
#include "qt_test_support.h"
#include "resources/file_io.h"
#include "shell/engine.h"
#include "sound/wav_file.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::RunEventsUntil;
using testing::TempFolder;

// A clip of `seconds` of quiet tone: a file the player opens without a video stream.
std::vector<uint8_t> Clip(double seconds) {
  constexpr int kRate = 22050;
  std::vector<uint8_t> pcm;
  for (int f = 0; f < static_cast<int>(seconds * kRate); ++f) {
    const auto v = static_cast<int16_t>(std::lround(500 * std::sin(2 * M_PI * 440 * f / kRate)));
    pcm.push_back(static_cast<uint8_t>(v & 0xFF));
    pcm.push_back(static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF));
  }
  return BuildWav(1, kRate, pcm);
}

class MovieWindowTest : public ::testing::Test {
 protected:
  void Start(const std::vector<uint8_t>& clip, const std::string& name = "clip.wav") {
    game_.Script("main", "@movie " + name + "\n\\\n").Write();
    ASSERT_TRUE(WriteFileAtomically(game_.Dir() / name, clip));
    host_ = std::make_unique<QtHost>(settings_.Path());
    engine_ = std::make_unique<TForm1>(*host_, EngineOptions{game_.Dir(), 1});
    host_->Attach(engine_.get());
    ASSERT_TRUE(host_->Start());
  }
  void TearDown() override {
    engine_.reset();
    host_.reset();
  }
  GameFixture game_;
  TempFolder settings_;
  std::unique_ptr<QtHost> host_;
  std::unique_ptr<TForm1> engine_;
};

TEST_F(MovieWindowTest, AFileThePlayerCannotPlayEndsAfterTheGraceTicks) {
  Start(std::vector<uint8_t>(4096, 0x5A));
  // Refused at once, or (when the player finds out later) ended once the grace ticks have
  // passed: either way the script goes on.
  EXPECT_TRUE(RunEventsUntil([&] { return engine_->ctl.waitKind != 0; }));
  EXPECT_FALSE(engine_->MoviePlaying());
  EXPECT_FALSE(host_->MoviePlaying());
  EXPECT_FALSE(host_->Window().findChild<QVideoWidget*>()->isVisible());
}

TEST_F(MovieWindowTest, AClickOnTheVideoEndsItAfterTheGraceTicks) {
  Start(Clip(30));
  ASSERT_TRUE(RunEventsUntil([&] { return engine_->MoviePlaying(); }));
  ASSERT_TRUE(RunEventsUntil([&] { return engine_->sound.movie.graceTicks == 1; }));
  ASSERT_TRUE(engine_->MoviePlaying());
  QVideoWidget* video = host_->Window().findChild<QVideoWidget*>();
  ASSERT_NE(video, nullptr);
  EXPECT_TRUE(video->isVisible());
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), video->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                    Qt::LeftButton, {});
  QApplication::sendEvent(video, &press);
  EXPECT_FALSE(engine_->MoviePlaying());
  EXPECT_FALSE(host_->MoviePlaying());
  EXPECT_FALSE(video->isVisible());
}

TEST_F(MovieWindowTest, TheDemosMoviePlaysToItsEnd) {
  std::vector<uint8_t> movie;
  ASSERT_TRUE(ReadWholeFile(std::filesystem::path(TORVEL_BINARY_DIR) / "demo" / "game" / "movie" / "train.gif", movie));
  Start(movie, "train.gif");
  ASSERT_TRUE(RunEventsUntil([&] { return engine_->MoviePlaying(); }));
  QVideoWidget* video = host_->Window().findChild<QVideoWidget*>();
  ASSERT_NE(video, nullptr);
  // The picture of the train, as the player decodes it into the video.
  QSize frameSize;
  QObject::connect(video->videoSink(), &QVideoSink::videoFrameChanged, video, [&](const QVideoFrame& frame) {
    if (frame.isValid()) frameSize = frame.size();
  });
  EXPECT_TRUE(RunEventsUntil([&] { return !engine_->MoviePlaying(); }, 20000)) << "the movie ends by itself";
  EXPECT_EQ(frameSize, QSize(320, 240));
}

}  // namespace
}  // namespace torvel
