#include "platform/qt/smooth_gl_view.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>

namespace torvel {

SmoothGlView::SmoothGlView(const QImage& picture, QWidget* parent) : QOpenGLWidget(parent), picture_(picture) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

bool SmoothGlView::Available() {
  static const bool available = [] {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
    QOpenGLContext context;
    if (!context.create()) return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) return false;
    context.doneCurrent();
    return true;
  }();
  return available;
}

void SmoothGlView::paintGL() {
  QPainter painter(this);
  // The paint engine uploads the picture as a texture (again only when it changed) and samples it
  // with linear filtering when smooth transforms are on.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(rect()), picture_);
}

}  // namespace torvel
