// The right button: by the player's RC_MODE the system pop-up menu, window hiding, skip, auto or
// the panic screen; and what each entry of the pop-up menu does.
#include "resources/sjis.h"
#include "screens/popup_entries.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarChosenAutoSpeed = 27;
constexpr int kVarSkipShown = 60;
constexpr int kShownOn = 2;
constexpr int kMenuAutoSpeed = 4;   // 自動送り with no speed chosen yet
constexpr int kRightAutoSpeed = 5;  // the right button's auto mode with no speed chosen yet
constexpr int kMenuOffsetX = 16;    // the menu opens this far right of the pointer

enum RightClickMode { kRcMenu = 0, kRcHideWindow = 1, kRcSkip = 2, kRcAuto = 3, kRcPanic = 4 };

}  // namespace

// As the menus last showed it: UpdateMenus keeps the entries in step with the play phase.
bool TForm1::PopupEntryEnabled(std::string_view id) const { return menus.Choosable(MenuId::Popup, id); }

PopupMenuModel TForm1::PopupMenu3() const {
  PopupMenuModel menu;
  menu.name = "popup";
  for (const PopupEntryText& e : kPopupEntries) {
    PopupMenuEntry entry;
    if (e.id != nullptr) {
      entry.id = e.id;
      entry.enabled = PopupEntryEnabled(e.id);
    }
    entry.caption = Utf8ToSjis(e.caption);
    menu.entries.push_back(std::move(entry));
  }
  return menu;
}

void TForm1::RightClickAction() {
  // After a menu closed without a choice the next right click only takes the flag down.
  if (systemMenu.menuOpen) {
    systemMenu.menuOpen = false;
    return;
  }
  switch (settings.RC_MODE) {
    case kRcMenu: {
      const PopupMenuModel menu = PopupMenu3();
      SystemMenuState& m = systemMenu;
      m.popupShown = true;
      m.lastEnabled.clear();
      for (const PopupMenuEntry& e : menu.entries) {
        if (!e.Separator() && e.enabled) m.lastEnabled.push_back(e.id);
      }
      m.lastChosen.reset();
      const std::optional<std::string> chosen =
          host.PopupMenu(menu, Point{input.lastMouseX + kMenuOffsetX, input.lastMouseY});
      m.menuOpen = true;
      // A host hands back only what could be chosen; an entry disabled meanwhile does nothing.
      if (!chosen || !PopupEntryEnabled(*chosen)) return;
      m.lastChosen = chosen;
      RunPopupEntry(*chosen);
      break;
    }
    case kRcHideWindow:
      HideWindow();
      systemMenu.menuOpen = false;
      break;
    case kRcSkip:
      StopVoice();
      vars.S(kVarSkipShown) = kShownOn;
      DrawQuickButtons(1);
      ctl.skipActive = true;
      break;
    case kRcAuto:
      if (vars.S(kVarChosenAutoSpeed) == 0) vars.S(kVarChosenAutoSpeed) = kRightAutoSpeed;
      vars.S(kVarAutoSpeed) = vars.S(kVarChosenAutoSpeed);
      DrawQuickButtons(1);
      break;
    case kRcPanic: ShowPanic(); break;
    default: break;
  }
}

void TForm1::CloseRightClickMenu() { systemMenu.menuOpen = false; }

void TForm1::StartAutoFromMenu() {
  if (vars.S(kVarChosenAutoSpeed) == 0) vars.S(kVarChosenAutoSpeed) = kMenuAutoSpeed;
  vars.S(kVarAutoSpeed) = vars.S(kVarChosenAutoSpeed);
  DrawQuickButtons(1);
}

void TForm1::StartSkipFromMenu() {
  StopVoice();
  vars.S(kVarSkipShown) = kShownOn;
  DrawQuickButtons(1);
  ctl.skipActive = true;
}

void TForm1::RunPopupEntry(std::string_view id) {
  systemMenu.menuOpen = false;
  if (id == "auto") {
    StartAutoFromMenu();
  } else if (id == "skip") {
    StartSkipFromMenu();
  } else if (id == "log") {
    OpenBacklog();
  } else if (id == "hide-window") {
    HideWindow();
  } else if (id == "replay-voice") {
    PlayVoiceLine(sound.lastVoice);
  } else if (id == "quick-load") {
    AskQuestion(Utf8ToSjis("クイックロードしますか？"), kDialogQuickLoad);
  } else if (id == "quick-save") {
    QuickSave();
  } else if (id == "load") {
    PlayVoiceLine("SSE06");
    OpenSaveLoadScreen(0);
  } else if (id == "save") {
    PlayVoiceLine("SSE05");
    OpenSaveLoadScreen(1);
  } else if (id == "settings") {
    OpenConfigScreen();
  } else if (id == "title") {
    AskQuestion(Utf8ToSjis("タイトルへ戻りますか？"), kDialogTitle);
  } else if (id == "quit") {
    Close();
  }
}

void TForm1::AppendSystemMenuState(std::string& out) const {
  out += ",\"dialog\":{\"kind\":" + std::to_string(ctl.dialogOpen);
  out += ",\"hover\":" + std::to_string(ctl.dialogOpen != 0 ? question.hover : 0) + "}";
  auto flag = [&](const char* name, bool value) {
    out += ",\"";
    out += name;
    out += value ? "\":true" : "\":false";
  };
  flag("menuOpen", systemMenu.menuOpen);
  flag("menuLock", ctl.menuLock);
  flag("panic", panic.shown);
  flag("skipActive", ctl.skipActive);
  out += ",\"lastPopup\":";
  if (!systemMenu.popupShown) {
    out += "null";
    return;
  }
  out += "{\"enabled\":[";
  for (size_t i = 0; i < systemMenu.lastEnabled.size(); ++i) {
    if (i) out += ',';
    out += '"' + systemMenu.lastEnabled[i] + '"';
  }
  out += "],\"chosen\":";
  out += systemMenu.lastChosen ? '"' + *systemMenu.lastChosen + '"' : std::string("null");
  out += '}';
}

}  // namespace torvel
