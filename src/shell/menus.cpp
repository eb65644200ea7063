// The window's menus: which entries the play phase allows (UpdateMenus), the busy flag that locks
// them, and what the entries of the menu bar, the tool bar and the quit menu do.
#include "resources/sjis.h"
#include "screens/system_menu_state.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarPlayPhase = 0;
constexpr int kVarStoryStarted = 28;
// The quit menu opens under the tool bar's "終了".
constexpr Point kQuitPopupPlace{4, 21};

using M = MenuId;

// Every save entry and every load entry of the four menus.
constexpr std::pair<MenuId, const char*> kSaveEntries[] = {
    {M::Main, "save"}, {M::Popup, "quick-save"}, {M::Popup, "save"}, {M::ToolBar, "save"}};
constexpr std::pair<MenuId, const char*> kLoadEntries[] = {
    {M::Main, "load"}, {M::Popup, "quick-load"}, {M::Popup, "load"}, {M::ToolBar, "load"}};

void EnableAll(MenuModel& m, std::span<const std::pair<MenuId, const char*>> entries, bool enabled) {
  for (const auto& [menu, id] : entries) m.Enable(menu, id, enabled);
}

void EnableToolBar(MenuModel& m, bool enabled) {
  for (const MenuEntryText& e : kToolBarEntries) m.Enable(M::ToolBar, e.id, enabled);
}

}  // namespace

void TForm1::UpdateMenus() {
  MenuModel& m = menus;
  // The replays show their entries while they run.
  m.Entry(M::Main, "next-scene").hidden = !replayMenu.nextScene;
  m.Entry(M::Main, "end-replay").hidden = !replayMenu.endReplay;
  m.Entry(M::QuitPopup, "end-replay").hidden = !replayMenu.endReplay;
  m.Entry(M::Main, "integer-scaling").checked = settings.IntegerScaling != 0;
  for (const char* id : {"scale-1", "scale-2", "scale-fit"}) m.Entry(M::Main, id).checked = false;
  m.Entry(M::Main, WindowScaleEntry(settings.WindowScale)).checked = true;
  m.Enable(M::Main, "scale-2", host.WindowScaleFits(2));

  if (ctl.menuLock) {
    for (const char* id : {"menu-end", "menu-control", "settings", "save", "load"}) m.Enable(M::Main, id, false);
    for (const char* id : {"quick-load", "quick-save", "load", "save", "settings"}) m.Enable(M::Popup, id, false);
    EnableToolBar(m, false);
    host.ShowMenus(m);
    return;
  }
  for (const char* id : {"menu-end", "menu-control", "settings"}) m.Enable(M::Main, id, true);
  m.Enable(M::Popup, "settings", true);
  m.Enable(M::Popup, "log", true);
  for (const char* id : {"quit", "settings", "window"}) m.Enable(M::ToolBar, id, true);

  // The play phase; one outside 0 … 3 allows neither, as 2 does, so no earlier state survives.
  const int phase = vars.S(kVarPlayPhase);
  EnableAll(m, kLoadEntries, phase == 0 || phase == 1);
  EnableAll(m, kSaveEntries, phase == 0);

  if (ctl.saveLoadScreen != 0) {
    for (const char* id : {"menu-control", "settings", "save", "load"}) m.Enable(M::Main, id, false);
    m.Enable(M::ToolBar, "save", false);
    m.Enable(M::ToolBar, "load", false);
  }
  if (vars.S(kVarStoryStarted) == 0) EnableAll(m, kSaveEntries, false);
  if (BackgroundAnimationRunning()) {
    for (const char* id : {"menu-control", "settings", "save", "load"}) m.Enable(M::Main, id, false);
    for (const char* id : {"log", "quick-load", "quick-save", "load", "save", "settings"}) {
      m.Enable(M::Popup, id, false);
    }
    EnableToolBar(m, false);
  }
  // A replayed scene neither saves nor loads, for as long as it runs.
  if (script.replayMode != 0) {
    EnableAll(m, kSaveEntries, false);
    EnableAll(m, kLoadEntries, false);
  }
  host.ShowMenus(m);
}

void TForm1::SetMenuLock(bool locked) {
  if (ctl.menuLock == locked) return;
  ctl.menuLock = locked;
  UpdateMenus();
}

bool TForm1::ChooseMenuEntry(MenuId menu, std::string_view id) {
  if (menu == M::Main && !MenuBarShown()) return false;
  if (menu == M::ToolBar && !ToolBarShown()) return false;
  if (!menus.Choosable(menu, id)) return false;
  // The command runs between frames, never inside a loop that pumps the window's messages.
  pendingMenuCommands.push_back(PendingMenuCommand{menu, std::string(id)});
  return true;
}

void TForm1::RunPendingMenuCommands() {
  if (ctl.blockingScene) return;
  const std::vector<PendingMenuCommand> commands = std::move(pendingMenuCommands);
  pendingMenuCommands.clear();
  for (const PendingMenuCommand& command : commands) {
    // The state may have changed since the choice: an entry disabled meanwhile does nothing.
    if (!menus.Choosable(command.menu, command.id)) continue;
    if (command.menu == M::Main) {
      RunMainMenuEntry(command.id);
    } else if (command.menu == M::ToolBar) {
      RunToolBarEntry(command.id);
    }
  }
}

void TForm1::RunMainMenuEntry(std::string_view id) {
  if (id == "quit") {
    Close();
  } else if (id == "title") {
    AskQuestion(Utf8ToSjis("タイトルへ戻りますか？"), kDialogTitle);
  } else if (id == "next-scene") {
    MenuNextScene();
  } else if (id == "end-replay") {
    MenuEndReplay();
  } else if (id == "load" || id == "save") {
    if (ctl.interruptibleWait) return;
    const bool save = id == "save";
    PlayVoiceLine(save ? "SSE05" : "SSE06");
    OpenSaveLoadScreen(save ? 1 : 0);
  } else if (id == "skip") {
    StartSkipFromMenu();
  } else if (id == "backlog") {
    OpenBacklog();
  } else if (id == "auto") {
    StartAutoFromMenu();
  } else if (id == "hide-window") {
    HideWindow();
  } else if (id == "settings") {
    OpenConfiguration();
  } else if (id == "scale-1" || id == "scale-2" || id == "scale-fit") {
    SetWindowScale(id == "scale-1" ? 1 : id == "scale-2" ? 2 : 0);
  } else if (id == "integer-scaling") {
    SetIntegerScaling(settings.IntegerScaling == 0);
  }
}

void TForm1::RunToolBarEntry(std::string_view id) {
  if (id == "quit") {
    if (ctl.blockingScene) return;
    StopSkipAndAuto(true);
    ShowQuitPopup();
  } else if (id == "settings" || id == "save" || id == "load") {
    RunMainMenuEntry(id);
  } else if (id == "window") {
    LeaveFullScreen();
    settings.SMode = 0;
    WriteSetting("SMode", settings.SMode);
  }
}

void TForm1::ShowQuitPopup() {
  PopupMenuModel popup;
  popup.name = kMenuNames[static_cast<size_t>(M::QuitPopup)];
  for (const MenuEntryText& e : kQuitPopupEntries) {
    if (menus.State(M::QuitPopup, e.id) == MenuEntryState::Hidden) continue;
    popup.entries.push_back(PopupMenuEntry{e.id, Utf8ToSjis(e.caption), menus.Choosable(M::QuitPopup, e.id)});
  }
  const std::optional<std::string> chosen = host.PopupMenu(popup, kQuitPopupPlace);
  if (!chosen || !menus.Choosable(M::QuitPopup, *chosen)) return;
  if (*chosen == "quit") {
    Close();
  } else if (*chosen == "title") {
    AskQuestion(Utf8ToSjis("タイトルへ戻りますか？"), kDialogTitle);
  } else if (*chosen == "end-replay") {
    MenuEndReplay();
  }
}

void TForm1::AppendMenuState(std::string& out) const {
  out += ",\"menus\":{";
  for (int i = 0; i < kMenuCount; ++i) {
    const MenuId menu = static_cast<MenuId>(i);
    if (i) out += ',';
    out += '"';
    out += kMenuNames[static_cast<size_t>(i)];
    out += "\":{";
    bool first = true;
    for (const MenuEntryText& e : MenuEntries(menu)) {
      if (!first) out += ',';
      first = false;
      out += '"';
      out += e.id;
      out += "\":\"";
      out += MenuStateName(menus.State(menu, e.id));
      out += '"';
    }
    out += '}';
  }
  out += '}';
}

}  // namespace torvel
