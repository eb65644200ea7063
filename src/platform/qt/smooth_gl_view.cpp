#include "platform/qt/smooth_gl_view.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <cstdlib>
#include <cstring>

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
    // A renderer on the processor (Mesa's llvmpipe and its kin) is many times slower than the
    // raster copy, and with a GL child the whole window is composed through it as well.
    const auto* renderer = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const bool software = !renderer || std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe") ||
                          std::strstr(renderer, "Software") || std::strstr(renderer, "swrast");
    context.doneCurrent();
    const char* force = std::getenv("TORVEL_SOFTWARE_GL");
    return !software || (force && std::strcmp(force, "1") == 0);
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
