#pragma once
// The movie player of the Qt window: Qt Multimedia plays a file into a video widget laid over the
// picture, with its sound on the default output. A click on the video is reported; it is the
// engine's business whether that ends the movie.
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QVideoWidget>
#include <filesystem>
#include <functional>

namespace torvel {

class MoviePlayer : public QObject {
 public:
  // Chooses Qt Multimedia's FFmpeg backend unless the environment names one: Debian's
  // GStreamer backend needs plugin packages a plain installation lacks. Call before the first
  // player is made.
  static void ChooseBackend();
  // The video covers `picture` (a widget of the window) while a movie plays.
  MoviePlayer(QWidget& picture, std::function<void()> clicked);

  // Starts the file; false when the player refuses it at once (it may also fail later, and then
  // simply stops playing).
  bool Play(const std::filesystem::path& file);
  bool Playing() const;
  // Stops, forgets the file and uncovers the picture.
  void Stop();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& picture_;
  std::function<void()> clicked_;
  QMediaPlayer player_;
  QAudioOutput audio_;
  QVideoWidget* video_;
};

}  // namespace torvel
