#include "platform/qt/picture_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/qt/key_map.h"
#include "resources/sjis.h"

namespace torvel {

namespace {
std::optional<MouseButton> EngineButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return std::nullopt;
  }
}
}  // namespace

PictureWidget::PictureWidget(WindowEvents& events, QWidget* parent, bool allowGl)
    : QWidget(parent), events_(events), picture_(kWidth, kHeight, QImage::Format_RGB32) {
  picture_.fill(Qt::black);
  // Made once, with the window, so the window is never recreated when the mode changes.
  if (allowGl && SmoothGlView::Available()) {
    glView_ = new SmoothGlView(picture_, this);
    glView_->hide();
  }
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(kWidth / 4, kHeight / 4);
}

void PictureWidget::CopyFrom(const Bitmap& picture, const Rect& area) {
  int left = std::max(area.left, 0);
  int top = std::max(area.top, 0);
  int right = std::min({area.right, picture.width, kWidth});
  int bottom = std::min({area.bottom, picture.height, kHeight});
  if (right <= left || bottom <= top) return;
  for (int y = top; y < bottom; ++y) {
    const uint8_t* from = picture.At(left, y);
    auto* to = reinterpret_cast<QRgb*>(picture_.scanLine(y)) + left;
    for (int x = left; x < right; ++x, from += 3) *to++ = qRgb(from[2], from[1], from[0]);
  }
  const QRect changed(left, top, right - left, bottom - top);
  stale_ = stale_.united(changed);
  if (DrawnByGl()) {
    glView_->update();
    return;
  }
  // Smooth scaling reaches one pixel beyond the changed rectangle.
  const DeviceRect shown = ShownInDevice();
  const double sx = shown.width / static_cast<double>(kWidth) / Ratio();
  const double sy = shown.height / static_cast<double>(kHeight) / Ratio();
  const QRectF dirty(shown.left / Ratio() + left * sx, shown.top / Ratio() + top * sy, (right - left) * sx,
                     (bottom - top) * sy);
  update(dirty.toAlignedRect().adjusted(-2, -2, 2, 2));
}

void PictureWidget::SetIntegerScaling(bool on) {
  if (integerScaling_ == on) return;
  integerScaling_ = on;
  PlaceOverlay();
  PlaceGlView();
  update();
}

DeviceRect PictureWidget::ShownInDevice() const {
  const double ratio = Ratio();
  return PictureRectInDevice(static_cast<int>(std::lround(width() * ratio)),
                             static_cast<int>(std::lround(height() * ratio)), integerScaling_);
}

bool PictureWidget::DrawnByGl() const {
  const DeviceRect shown = ShownInDevice();
  return glView_ && !integerScaling_ && shown.width > 0 && WholeScaleFactor(shown) == 0;
}

QRect PictureWidget::PictureRect() const {
  const DeviceRect shown = ShownInDevice();
  const double ratio = Ratio();
  return QRectF(shown.left / ratio, shown.top / ratio, shown.width / ratio, shown.height / ratio).toRect();
}

Point PictureWidget::ToPicture(QPointF widgetPos) const {
  return DeviceToPicture(widgetPos.x() * Ratio(), widgetPos.y() * Ratio(), ShownInDevice());
}

QPointF PictureWidget::FromPicture(Point p) const {
  double x = 0;
  double y = 0;
  PictureToDevice(p, ShownInDevice(), x, y);
  return QPointF(x / Ratio(), y / Ratio());
}

void PictureWidget::RefreshScaled(const DeviceRect& shown) {
  const QSize size(shown.width, shown.height);
  const bool resized = scaled_.size() != size;
  if (!resized && stale_.isEmpty()) return;
  const int factor = WholeScaleFactor(shown);
  if (factor == 1) {
    scaled_ = picture_;
  } else if (factor > 1) {
    // Whole factors: each picture pixel an exact block; only the changed part is redone.
    if (resized) {
      scaled_ = QImage(size, QImage::Format_RGB32);
      stale_ = picture_.rect();
    }
    const int in = static_cast<int>(picture_.bytesPerLine() / 4);
    const int out = static_cast<int>(scaled_.bytesPerLine() / 4);
    const auto* from = reinterpret_cast<const uint32_t*>(picture_.constBits()) + stale_.top() * in + stale_.left();
    auto* to = reinterpret_cast<uint32_t*>(scaled_.bits()) + static_cast<ptrdiff_t>(stale_.top()) * factor * out +
               stale_.left() * factor;
    ScaleWhole(from, stale_.width(), stale_.height(), in, factor, to, out);
  } else {
    scaled_ = picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  stale_ = QRect();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const DeviceRect shown = ShownInDevice();
  const double ratio = Ratio();
  // Everything is placed in device pixels: widget coordinates times the ratio land on whole
  // device pixels, so Qt copies the enlarged picture without scaling it again.
  auto logical = [ratio](double l, double t, double w, double h) {
    return QRectF(l / ratio, t / ratio, w / ratio, h / ratio);
  };
  const double fullW = std::lround(width() * ratio);
  const double fullH = std::lround(height() * ratio);
  const double right = shown.left + shown.width;
  const double bottom = shown.top + shown.height;
  const QRectF bars[] = {
      logical(0, 0, fullW, shown.top),
      logical(0, bottom, fullW, fullH - bottom),
      logical(0, shown.top, shown.left, shown.height),
      logical(right, shown.top, fullW - right, shown.height),
  };
  for (const QRectF& bar : bars) {
    if (bar.width() > 0 && bar.height() > 0 && bar.intersects(event->rect())) painter.fillRect(bar, Qt::black);
  }
  if (shown.width <= 0 || shown.height <= 0 || DrawnByGl()) return;
  RefreshScaled(shown);
  scaled_.setDevicePixelRatio(ratio);
  painter.drawImage(QPointF(shown.left / ratio, shown.top / ratio), scaled_);
}

void PictureWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceOverlay();
  PlaceGlView();
}

void PictureWidget::PlaceGlView() {
  if (!glView_) return;
  if (!DrawnByGl()) {
    glView_->hide();
    return;
  }
  glView_->setGeometry(PictureRect());
  glView_->show();
  glView_->update();
  // The tool bar stays above the picture.
  if (overlay_) overlay_->raise();
}

void PictureWidget::PlaceOverlay() {
  if (!overlay_) return;
  overlay_->move(PictureRect().topLeft());
  overlay_->raise();
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  std::optional<MouseButton> button = EngineButton(event->button());
  Point p = ToPicture(event->position());
  // The bars around the picture are not part of it.
  if (!button || !Inside(p)) return;
  pressed_ |= event->button();
  events_.PictureMouseDown(*button, ShiftFromQt(event->modifiers()), p.x, p.y);
}

// A second press in quick succession is still a press for the engine.
void PictureWidget::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
  std::optional<MouseButton> button = EngineButton(event->button());
  if (!button || !pressed_.testFlag(event->button())) return;
  pressed_ &= ~Qt::MouseButtons(event->button());
  Point p = ToPicture(event->position());
  events_.PictureMouseUp(*button, ShiftFromQt(event->modifiers()), p.x, p.y);
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
  Point p = ToPicture(event->position());
  if (!Inside(p) && !(pressed_ & event->buttons())) return;
  events_.PictureMouseMove(ShiftFromQt(event->modifiers()), p.x, p.y);
}

void PictureWidget::wheelEvent(QWheelEvent* event) {
  int delta = event->angleDelta().y();
  if (delta != 0) events_.PictureWheel(ShiftFromQt(event->modifiers()), delta);
  event->accept();
}

void PictureWidget::keyPressEvent(QKeyEvent* event) {
  int key = VirtualKeyFromQt(event->key());
  // A held Shift or Ctrl toggles auto mode or holds skip mode: its repeats are not new presses.
  if (event->isAutoRepeat() && (key == vk::Shift || key == vk::Control)) return;
  if (key != 0) events_.WindowKeyDown(key, ShiftFromQt(event->modifiers()));
  for (char c : Utf8ToSjis(event->text().toStdString())) events_.WindowKeyPress(c);
}

void PictureWidget::keyReleaseEvent(QKeyEvent* event) {
  // A held key repeats its press only; the release comes once, when the key goes up.
  if (event->isAutoRepeat()) return;
  int key = VirtualKeyFromQt(event->key());
  if (key != 0) events_.WindowKeyUp(key, ShiftFromQt(event->modifiers()));
}

}  // namespace torvel
