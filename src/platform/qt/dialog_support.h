#pragma once
// What the game's dialog windows share: their interface font, text conversion at the widget edge
// and their place on the screen.
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>
#include <string_view>

class QWidget;

namespace torvel {

// "ＭＳ Ｐゴシック" at 12 pixels, on this platform IPA's proportional gothic.
QFont DialogFont();

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// Centred over the owner window (half the difference, truncated towards zero), then moved to 0
// where it would start left of or above the screen and back onto it where it would stick out on
// the right or at the bottom.
QPoint DialogPosition(const QRect& owner, const QSize& dialog, const QRect& screen);

// Moves `dialog` to its place over `owner` on the owner's screen, where the window system lets a
// program place its windows.
void PlaceDialog(QWidget& dialog, const QWidget* owner);

}  // namespace torvel
