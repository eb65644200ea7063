#pragma once
// The smoothly enlarged picture drawn by the graphics card: laid over the picture's rectangle in
// the picture widget, it draws the 800×600 picture with bilinear filtering to whatever size it
// has. Enlarging a full screen on the processor costs more than a frame at 4K; the card does it
// for nearly nothing. It takes no input, so presses and moves reach the picture widget beneath.
#include <QImage>
#include <QOpenGLWidget>

namespace torvel {

class SmoothGlView : public QOpenGLWidget {
 public:
  // `picture` is the picture widget's own presented picture; it outlives this view.
  SmoothGlView(const QImage& picture, QWidget* parent);

  // Whether this platform can draw through OpenGL at all: not Qt's offscreen platform, whose
  // pixels tests compare exactly, and only where a context can be made and made current on a
  // graphics card: a renderer on the processor is slower than the raster copy, unless
  // TORVEL_SOFTWARE_GL=1 asks for it (to measure the path without a card).
  static bool Available();

 protected:
  void paintGL() override;

 private:
  const QImage& picture_;
};

}  // namespace torvel
