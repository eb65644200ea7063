#include "platform/qt/dialog_support.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace torvel {

namespace {
constexpr int kDialogFontPixels = 12;
}

QFont DialogFont() {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(kDialogFontPixels);
  return font;
}

QPoint DialogPosition(const QRect& owner, const QSize& dialog, const QRect& screen) {
  int left = owner.left() + (owner.width() - dialog.width()) / 2;
  int top = owner.top() + (owner.height() - dialog.height()) / 2;
  left = std::max(left, screen.left());
  top = std::max(top, screen.top());
  if (left + dialog.width() > screen.left() + screen.width()) left = screen.left() + screen.width() - dialog.width();
  if (top + dialog.height() > screen.top() + screen.height()) top = screen.top() + screen.height() - dialog.height();
  // A dialog larger than the screen keeps its top-left corner on it.
  return QPoint(std::max(left, screen.left()), std::max(top, screen.top()));
}

void PlaceDialog(QWidget& dialog, const QWidget* owner) {
  QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QRect ownerRect = owner && owner->isVisible() ? owner->frameGeometry() : area;
  dialog.move(DialogPosition(ownerRect, dialog.size(), area));
}

}  // namespace torvel
