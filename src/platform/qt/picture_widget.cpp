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

PictureWidget::PictureWidget(WindowEvents& events, QWidget* parent)
    : QWidget(parent), events_(events), picture_(kWidth, kHeight, QImage::Format_BGR888) {
  picture_.fill(Qt::black);
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
    std::memcpy(picture_.scanLine(y) + left * 3, picture.At(left, y), static_cast<size_t>(right - left) * 3);
  }
  // Smooth scaling reaches one pixel beyond the changed rectangle.
  QRect shown = PictureRect();
  double sx = shown.width() / static_cast<double>(kWidth);
  double sy = shown.height() / static_cast<double>(kHeight);
  QRectF changed(shown.left() + left * sx, shown.top() + top * sy, (right - left) * sx, (bottom - top) * sy);
  update(changed.toAlignedRect().adjusted(-2, -2, 2, 2));
}

QRect PictureWidget::PictureRect() const {
  int w = width();
  int h = height();
  int pw = w;
  int ph = h;
  if (w * kHeight > h * kWidth) {
    pw = h * kWidth / kHeight;
  } else {
    ph = w * kHeight / kWidth;
  }
  return QRect((w - pw) / 2, (h - ph) / 2, pw, ph);
}

Point PictureWidget::ToPicture(QPointF widgetPos) const {
  QRect shown = PictureRect();
  if (shown.isEmpty()) return Point{-1, -1};
  double x = (widgetPos.x() - shown.left()) * kWidth / shown.width();
  double y = (widgetPos.y() - shown.top()) * kHeight / shown.height();
  return Point{static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

QPointF PictureWidget::FromPicture(Point p) const {
  QRect shown = PictureRect();
  return QPointF(shown.left() + (p.x + 0.5) * shown.width() / kWidth,
                 shown.top() + (p.y + 0.5) * shown.height() / kHeight);
}

void PictureWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QRect shown = PictureRect();
  QRegion bars = QRegion(event->rect()).subtracted(QRegion(shown));
  for (const QRect& bar : bars) painter.fillRect(bar, Qt::black);
  if (shown.size() == picture_.size()) {
    painter.drawImage(shown.topLeft(), picture_);
  } else {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(shown, picture_);
  }
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
