// The window's menu bar, drawn from the engine's menu model: one QAction per entry, found again by
// its id. Choosing an entry only hands the id to the engine, which runs it at its next frame.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <algorithm>

#include "platform/qt/qt_host.h"
#include "shell/engine.h"

namespace torvel {

namespace {
class MenuBarWithoutAltKey : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_MenuBar_AltKeyNavigation) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};
}  // namespace

void QtHost::BuildMenuBar() {
  QMenuBar* bar = window_->menuBar();
  // Drawn in the window on every desktop, so that full screen can take it away with the frame.
  bar->setNativeMenuBar(false);
  bar->setObjectName(QStringLiteral("main"));
  // Alt alone would take the keyboard to the bar: the engine's keys always go to the picture.
  auto* style = new MenuBarWithoutAltKey;
  style->setParent(bar);
  bar->setStyle(style);
  std::map<std::string, QMenu*> tops;
  auto* scales = new QActionGroup(bar);
  for (const MenuEntryText& e : kMainMenuEntries) {
    QAction* action = nullptr;
    const QString caption = QString::fromUtf8(e.caption);
    if (e.parent == nullptr) {
      // A top-level entry with sub-entries is a menu; the others act when clicked on the bar.
      const bool hasEntries = std::any_of(
          kMainMenuEntries.begin(), kMainMenuEntries.end(),
          [&](const MenuEntryText& s) { return s.parent != nullptr && std::string_view(s.parent) == e.id; });
      if (hasEntries) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(QString::fromUtf8(e.id));
        tops[e.id] = menu;
        action = menu->menuAction();
      } else {
        action = bar->addAction(caption);
      }
    } else {
      action = tops.at(e.parent)->addAction(caption);
      if (e.check) action->setCheckable(true);
      if (std::string_view(e.parent) == "menu-view" && !e.check) {
        action->setCheckable(true);
        scales->addAction(action);
      }
    }
    action->setObjectName(QString::fromUtf8(e.id));
    menuActions_[e.id] = action;
    if (e.parent != nullptr || !tops.contains(e.id)) {
      const std::string id = e.id;
      QObject::connect(action, &QAction::triggered, [this, id] {
        if (engine_) engine_->ChooseMenuEntry(MenuId::Main, id);
      });
    }
  }
}

void QtHost::ShowMenus(const MenuModel& menus) {
  if (!window_) return;
  if (menuActions_.empty()) {
    BuildMenuBar();
    FitWindowToPicture();
  }
  for (const MenuEntryText& e : kMainMenuEntries) {
    QAction* action = menuActions_.at(e.id);
    const MenuEntryState state = menus.State(MenuId::Main, e.id);
    action->setVisible(state != MenuEntryState::Hidden);
    action->setEnabled(state == MenuEntryState::Enabled);
    if (action->isCheckable()) action->setChecked(menus.Entry(MenuId::Main, e.id).checked);
  }
  ShowToolBarStates(menus);
}

QAction* QtHost::MenuAction(std::string_view id) {
  const auto found = menuActions_.find(std::string(id));
  return found == menuActions_.end() ? nullptr : found->second;
}

void QtHost::ShowMenuBar(bool shown) {
  if (!window_) return;
  window_->menuBar()->setVisible(shown);
  FitWindowToPicture();
}

// The bordered window holds the picture at its scale under the menu bar: 1× and 2× fixed, the
// fitted window resizable. Full screen and the frameless window keep the size they have.
void QtHost::FitWindowToPicture() {
  if (window_->isFullScreen() || window_->windowFlags().testFlag(Qt::FramelessWindowHint)) return;
  if (windowScale_ == 1 || windowScale_ == 2) {
    window_->setFixedSize(ScaledWindowSize(windowScale_));
    return;
  }
  // Leaving a fixed size, or not yet shown: the picture's own size to begin with.
  const bool wasFixed = window_->minimumSize() == window_->maximumSize();
  window_->setMinimumSize(0, 0);
  window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (wasFixed || !window_->isVisible()) window_->resize(ScaledWindowSize(1));
}

}  // namespace torvel
