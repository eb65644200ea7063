#pragma once
// TForm1's window: the picture PB as its client. The close button does not close it by itself:
// the request goes to the host, which asks the engine and closes the window with AllowClose.
#include <QMainWindow>

#include "platform/qt/picture_widget.h"
#include "platform/qt/window_events.h"

namespace torvel {

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(WindowEvents& events);

  PictureWidget& Picture() { return *picture_; }
  // The next close is the engine's own and goes through.
  void AllowClose() { closeAllowed_ = true; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  WindowEvents& events_;
  PictureWidget* picture_;
  bool closeAllowed_ = false;
};

}  // namespace torvel
