#include "platform/qt/movie_player.h"

#include <QAudioDevice>
#include <QEvent>
#include <QMediaDevices>
#include <QUrl>

namespace torvel {

void MoviePlayer::ChooseBackend() {
  if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}

MoviePlayer::MoviePlayer(QWidget& picture, std::function<void()> clicked)
    : picture_(picture), clicked_(std::move(clicked)), video_(new QVideoWidget(picture.parentWidget())) {
  video_->hide();
  video_->setAspectRatioMode(Qt::KeepAspectRatio);
  video_->installEventFilter(this);
  // Without an audio output the player's sound thread must not start: it has nowhere to write.
  if (!QMediaDevices::defaultAudioOutput().isNull()) player_.setAudioOutput(&audio_);
  player_.setVideoOutput(video_);
}

bool MoviePlayer::Play(const std::filesystem::path& file) {
  player_.setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())));
  if (player_.error() != QMediaPlayer::NoError || player_.mediaStatus() == QMediaPlayer::InvalidMedia) {
    player_.setSource(QUrl());
    return false;
  }
  video_->setGeometry(picture_.geometry());
  video_->raise();
  video_->show();
  player_.play();
  return true;
}

bool MoviePlayer::Playing() const {
  return player_.playbackState() == QMediaPlayer::PlayingState && player_.error() == QMediaPlayer::NoError;
}

void MoviePlayer::Stop() {
  player_.stop();
  player_.setSource(QUrl());
  video_->hide();
}

bool MoviePlayer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == video_ && event->type() == QEvent::MouseButtonPress && clicked_) {
    clicked_();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace torvel
