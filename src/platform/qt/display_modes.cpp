// The display modes in the Qt window: full screen on the window's own screen (the display itself
// is never switched), the frameless window, the window's outer bounds, and the full-screen tool
// bar laid over the picture's top edge.
#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>

#include <QMenuBar>
#include <cmath>

#include "platform/picture_scaling.h"
#include "platform/qt/qt_host.h"
#include "shell/engine.h"

namespace torvel {

bool QtHost::SetFullScreen(bool on) {
  if (!window_) return !on;
  changingFullScreen_ = true;
  if (on) {
    // A window of a fixed scale would keep its size.
    window_->setMinimumSize(0, 0);
    window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window_->showFullScreen();
  } else if (window_->isFullScreen()) {
    window_->showNormal();
    FitWindowToPicture();
  }
  changingFullScreen_ = false;
  return window_->isFullScreen() == on;
}

void QtHost::SetBorderless(bool on) {
  if (!window_ || window_->windowFlags().testFlag(Qt::FramelessWindowHint) == on) return;
  const bool shown = window_->isVisible();
  window_->setWindowFlag(Qt::FramelessWindowHint, on);
  // Changing the flags hides the window.
  if (shown) window_->show();
}

WindowBounds QtHost::Bounds() {
  if (!window_) return WindowBounds{};
  const QRect frame = window_->frameGeometry();
  return WindowBounds{frame.width(), frame.height(), frame.x(), frame.y()};
}

void QtHost::SetBounds(const WindowBounds& bounds) {
  if (!window_) return;
  const QRect frame = window_->frameGeometry();
  const QSize inner = window_->size();
  // The frame around the window stays as the window system draws it.
  const int w = bounds.width - (frame.width() - inner.width());
  const int h = bounds.height - (frame.height() - inner.height());
  if (w > 0 && h > 0) window_->resize(w, h);
  MoveWindow(Point{bounds.left, bounds.top});
}

bool QtHost::WindowScaleFits(int scale) {
  if (scale != 2 || !window_) return true;
  QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return false;
  const QSize inner = ScaledWindowSize(scale);
  const QRect frame = window_->frameGeometry();
  const QRect area = screen->availableGeometry();
  return inner.width() + frame.width() - window_->width() <= area.width() &&
         inner.height() + frame.height() - window_->height() <= area.height();
}

void QtHost::SetScaling(int windowScale, bool integerScaling) {
  windowScale_ = windowScale;
  if (!window_) return;
  window_->Picture().SetIntegerScaling(integerScaling);
  FitWindowToPicture();
}

QSize QtHost::ScaledWindowSize(int scale) const {
  const double ratio = window_->devicePixelRatioF();
  const int factor = WindowScaleFactor(scale, ratio);
  // Whole device pixels: the widget size times the ratio must hold the enlarged picture.
  const int w = static_cast<int>(std::ceil(PictureWidget::kWidth * factor / ratio - 1e-9));
  const int h = static_cast<int>(std::ceil(PictureWidget::kHeight * factor / ratio - 1e-9));
  QMenuBar* bar = window_->menuBar();
  const int barHeight = bar->isVisibleTo(window_.get()) ? bar->sizeHint().height() : 0;
  return QSize(w, h + barHeight);
}

void QtHost::ShowToolBar(bool shown) {
  if (!window_) return;
  if (!toolBar_) {
    if (!shown) return;
    BuildToolBar();
  }
  toolBar_->setVisible(shown);
  if (shown) toolBar_->raise();
}

void QtHost::BuildToolBar() {
  PictureWidget& picture = window_->Picture();
  toolBar_ = new QToolBar(&picture);
  toolBar_->setObjectName(QStringLiteral("toolbar"));
  toolBar_->setFocusPolicy(Qt::NoFocus);
  for (const MenuEntryText& e : kToolBarEntries) {
    QAction* action = toolBar_->addAction(QString::fromUtf8(e.caption));
    action->setObjectName(QString::fromUtf8(e.id));
    const std::string id = e.id;
    QObject::connect(action, &QAction::triggered, [this, id] {
      if (engine_) engine_->ChooseMenuEntry(MenuId::ToolBar, id);
    });
    toolActions_[e.id] = action;
  }
  toolBar_->adjustSize();
  picture.SetOverlay(toolBar_);
  if (engine_) ShowToolBarStates(engine_->menus);
}

void QtHost::ShowToolBarStates(const MenuModel& menus) {
  for (const MenuEntryText& e : kToolBarEntries) {
    const auto found = toolActions_.find(e.id);
    if (found != toolActions_.end())
      found->second->setEnabled(menus.State(MenuId::ToolBar, e.id) == MenuEntryState::Enabled);
  }
}

}  // namespace torvel
