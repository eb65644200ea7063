#pragma once
// The application object and event-loop helpers for the window tests. The tests run on Qt's
// offscreen platform: real widgets, no display.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace torvel::testing {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt wants a private runtime folder; a test machine may have none.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) {
      char folder[] = "/tmp/torvel-qt-runtime-XXXXXX";
      if (::mkdtemp(folder)) ::setenv("XDG_RUNTIME_DIR", folder, 1);
    }
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[8] = "test_qt";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Runs the event loop for `ms` milliseconds.
inline void RunEventsFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until `done` holds or `timeoutMs` have passed; returns `done()`.
inline bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) RunEventsFor(5);
  return done();
}

// Answers the message boxes that open, the way a player would click, and remembers what they
// said. A box stays up for `holdMs` before it is answered.
class MessageBoxAnswerer {
 public:
  struct Seen {
    std::string title;
    std::string text;
    bool hadCancel = false;
  };

  explicit MessageBoxAnswerer(int holdMs = 0) : holdMs_(holdMs) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Poll(); });
    timer_.start();
  }
  // The answers for the next boxes; OK when none is queued.
  void Queue(QMessageBox::StandardButton answer) { answers_.push_back(answer); }
  const std::vector<Seen>& Boxes() const { return seen_; }
  // Called when a box is first seen and just before it is answered.
  std::function<void()> onShown;
  std::function<void()> onAnswer;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box->property("answered").toBool()) return;
    if (!box->property("seen").toBool()) {
      box->setProperty("seen", true);
      seen_.push_back(Seen{box->windowTitle().toStdString(), box->text().toStdString(),
                           box->button(QMessageBox::Cancel) != nullptr});
      shownAt_.start();
      if (onShown) onShown();
    }
    if (shownAt_.elapsed() < holdMs_) return;
    box->setProperty("answered", true);
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    }
    if (onAnswer) onAnswer();
    if (QAbstractButton* button = box->button(answer)) button->click();
  }

  int holdMs_;
  QTimer timer_;
  QElapsedTimer shownAt_;
  std::deque<QMessageBox::StandardButton> answers_;
  std::vector<Seen> seen_;
};

}  // namespace torvel::testing
