#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QWindowStateChangeEvent>

namespace torvel {

MainWindow::MainWindow(WindowEvents& events) : events_(events), picture_(new PictureWidget(events, this)) {
  setCentralWidget(picture_);
  resize(PictureWidget::kWidth, PictureWidget::kHeight);
  picture_->setFocus();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The host may close the window from inside this request, when it is accepted at once.
  if (!closeAllowed_) events_.WindowCloseRequested();
  if (closeAllowed_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  events_.WindowShown();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Coming back from the task bar shows the window again.
  if (event->type() == QEvent::WindowStateChange && !isMinimized() && isVisible()) events_.WindowShown();
  if (event->type() == QEvent::WindowStateChange && !isFullScreen()) {
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState().testFlag(Qt::WindowFullScreen)) events_.WindowLeftFullScreen();
  }
}

}  // namespace torvel
