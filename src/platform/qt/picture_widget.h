#pragma once
// PB: the 800×600 picture of the main window. It keeps the last picture the engine presented and
// paints only that, so a repaint never undoes what one of the engine's own loops has drawn. The
// picture is enlarged once, straight to the screen's device pixels, and drawn without further
// scaling: by whole factors only (centred, pixels as exact blocks), or to the largest 4:3
// rectangle (bilinear, whole factors still as blocks); black bars around it. Input on the picture
// is reported in picture coordinates. On a real display the bilinear enlargement is left to the
// graphics card where OpenGL works; whole factors and Qt's offscreen platform stay on the exact
// copy made here.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "graphics/bitmap.h"
#include "platform/picture_scaling.h"
#include "platform/qt/smooth_gl_view.h"
#include "platform/qt/window_events.h"

namespace torvel {

class PictureWidget : public QWidget {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

  // `allowGl`: whether the bilinear enlargement may go to the graphics card when one is there.
  PictureWidget(WindowEvents& events, QWidget* parent, bool allowGl = true);

  // Copies a rectangle of an 800×600 picture (blue, green, red rows) and schedules its repaint.
  void CopyFrom(const Bitmap& picture, const Rect& area);
  // The picture as last presented, unscaled, 32 bits to a pixel.
  const QImage& Picture() const { return picture_; }

  // Whole factors only, or the largest 4:3 rectangle.
  void SetIntegerScaling(bool on);
  bool IntegerScaling() const { return integerScaling_; }
  // A widget laid over the picture's top-left corner, moved with it.
  void SetOverlay(QWidget* overlay) {
    overlay_ = overlay;
    PlaceOverlay();
  }

  // Where the picture lies in the widget's device pixels, and in widget coordinates.
  DeviceRect ShownInDevice() const;
  // Whether the picture is being drawn by the graphics card just now.
  bool DrawnByGl() const;
  QRect PictureRect() const;
  // A widget position in picture coordinates; may lie outside 0..799 × 0..599.
  Point ToPicture(QPointF widgetPos) const;
  // The widget position that shows the centre of a picture pixel.
  QPointF FromPicture(Point p) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  // Tab belongs to the engine, not to focus navigation.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  bool Inside(Point p) const { return p.x >= 0 && p.y >= 0 && p.x < kWidth && p.y < kHeight; }

  double Ratio() const { return devicePixelRatioF(); }
  // Brings the enlarged picture up to date with the presented one.
  void RefreshScaled(const DeviceRect& shown);
  void PlaceOverlay();
  // Shows the graphics card's view over the picture while it draws it, and hides it otherwise.
  void PlaceGlView();

  WindowEvents& events_;
  QImage picture_;
  // The picture at its shown size in device pixels, and the part of the picture changed since.
  QImage scaled_;
  QRect stale_;
  bool integerScaling_ = false;
  QPointer<QWidget> overlay_;
  SmoothGlView* glView_ = nullptr;
  // Buttons whose press reached the engine; their moves and releases follow them off the picture.
  Qt::MouseButtons pressed_;
};

}  // namespace torvel
