// The engine's pop-up menus as QMenus, shown where the engine asks on the picture.
#include <QAction>
#include <QMenu>

#include "platform/qt/dialog_support.h"
#include "platform/qt/qt_host.h"
#include "resources/sjis.h"

namespace torvel {

std::optional<std::string> QtHost::PopupMenu(const PopupMenuModel& model, Point at) {
  QMenu menu(window_.get());
  menu.setObjectName(FromUtf8(model.name));
  for (const PopupMenuEntry& entry : model.entries) {
    if (entry.Separator()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(FromUtf8(SjisToUtf8(entry.caption)));
    action->setEnabled(entry.enabled);
    action->setData(FromUtf8(entry.id));
  }
  PictureWidget& picture = window_->Picture();
  const QPoint place = picture.mapToGlobal(picture.FromPicture(at)).toPoint();
  lastPopupPlace_ = place;
  QAction* chosen = nullptr;
  {
    ModalScope modal(*this);
    chosen = menu.exec(place);
  }
  if (chosen == nullptr || !chosen->isEnabled()) return std::nullopt;
  return ToUtf8(chosen->data().toString());
}

}  // namespace torvel
