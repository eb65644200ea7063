#pragma once
// The window's four menus as the engine keeps them: the menu bar ("main"), the right-click menu
// ("popup"), the small quit menu of the tool bar ("quit-popup") and the full-screen tool bar
// ("toolbar"). Every entry is known by its id; the tables give the entries in menu order with
// their captions (UTF-8) and, for the menu bar, the top-level entry each sub-entry sits under.
// UpdateMenus fills the states; the hosts draw the menus from them and the headless input and the
// state report name the same ids.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace torvel {

enum class MenuId : int { Main = 0, Popup = 1, QuitPopup = 2, ToolBar = 3 };
inline constexpr int kMenuCount = 4;

struct MenuEntryText {
  const char* id;
  const char* caption;
  const char* parent;  // the menu bar's top-level entry holding this one; nullptr at the top
  bool check = false;  // a check entry ("整数倍で拡大")
};

inline constexpr std::array<MenuEntryText, 18> kMainMenuEntries{{
    {"menu-end", "終了", nullptr},
    {"quit", "ゲーム終了", "menu-end"},
    {"title", "タイトルへ", "menu-end"},
    {"next-scene", "次シーンへ", "menu-end"},
    {"end-replay", "回想終了", "menu-end"},
    {"load", "ロード", nullptr},
    {"save", "セーブ", nullptr},
    {"menu-control", "制御", nullptr},
    {"skip", "スキップ", "menu-control"},
    {"backlog", "バックログ", "menu-control"},
    {"auto", "オート", "menu-control"},
    {"hide-window", "ウィンドウ消去", "menu-control"},
    {"settings", "設定", nullptr},
    {"menu-view", "表示", nullptr},
    {"scale-1", "等倍", "menu-view"},
    {"scale-2", "2倍", "menu-view"},
    {"scale-fit", "ウィンドウに合わせる", "menu-view"},
    {"integer-scaling", "整数倍で拡大", "menu-view", true},
}};

// The right-click menu's ids; its captions and separators are the system menu's own table.
inline constexpr std::array<MenuEntryText, 12> kPopupMenuEntries{{
    {"auto", "自動送り", nullptr},
    {"skip", "スキップ", nullptr},
    {"log", "ログ", nullptr},
    {"hide-window", "ウィンドウ消去", nullptr},
    {"replay-voice", "直前の音声を再生", nullptr},
    {"quick-load", "クイックロード", nullptr},
    {"quick-save", "クイックセーブ", nullptr},
    {"load", "ロード", nullptr},
    {"save", "セーブ", nullptr},
    {"settings", "設定", nullptr},
    {"title", "タイトルへ戻る", nullptr},
    {"quit", "終了", nullptr},
}};

inline constexpr std::array<MenuEntryText, 3> kQuitPopupEntries{{
    {"quit", "終了", nullptr},
    {"title", "タイトルへ戻る", nullptr},
    {"end-replay", "回想終了", nullptr},
}};

inline constexpr std::array<MenuEntryText, 5> kToolBarEntries{{
    {"quit", "終了", nullptr},
    {"settings", "設定", nullptr},
    {"save", "セーブ", nullptr},
    {"load", "ロード", nullptr},
    {"window", "Window モード", nullptr},
}};

// The names of the menus as the input lines and the state report write them.
inline constexpr std::array<const char*, kMenuCount> kMenuNames{{"main", "popup", "quit-popup", "toolbar"}};

inline std::span<const MenuEntryText> MenuEntries(MenuId menu) {
  switch (menu) {
    case MenuId::Main: return kMainMenuEntries;
    case MenuId::Popup: return kPopupMenuEntries;
    case MenuId::QuitPopup: return kQuitPopupEntries;
    case MenuId::ToolBar: return kToolBarEntries;
  }
  return {};
}

inline std::optional<MenuId> MenuByName(std::string_view name) {
  for (int i = 0; i < kMenuCount; ++i) {
    if (name == kMenuNames[static_cast<size_t>(i)]) return static_cast<MenuId>(i);
  }
  return std::nullopt;
}

// The entry's place in its menu's table, or nothing for an id the menu does not have.
inline std::optional<size_t> MenuEntryIndex(MenuId menu, std::string_view id) {
  const std::span<const MenuEntryText> entries = MenuEntries(menu);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (id == entries[i].id) return i;
  }
  return std::nullopt;
}

enum class MenuEntryState { Enabled, Disabled, Hidden };

struct MenuEntryFlags {
  bool enabled = true;
  bool hidden = false;
  bool checked = false;  // check entries only
};

class MenuModel {
 public:
  MenuModel() {
    // The replay entries stay hidden until a replay shows them; the developer's "制御" always.
    for (const char* id : {"next-scene", "end-replay", "menu-control"}) Entry(MenuId::Main, id).hidden = true;
    Entry(MenuId::QuitPopup, "end-replay").hidden = true;
  }

  // The entry of `id`; an id the menu does not have reaches a spare entry nobody reads.
  MenuEntryFlags& Entry(MenuId menu, std::string_view id) {
    const std::optional<size_t> i = MenuEntryIndex(menu, id);
    return i ? Flags(menu)[*i] : spare_;
  }
  const MenuEntryFlags& Entry(MenuId menu, std::string_view id) const {
    return const_cast<MenuModel*>(this)->Entry(menu, id);
  }
  void Enable(MenuId menu, std::string_view id, bool enabled) { Entry(menu, id).enabled = enabled; }

  // The entry's own state: "hidden" wins over "disabled".
  MenuEntryState State(MenuId menu, std::string_view id) const {
    const MenuEntryFlags& f = Entry(menu, id);
    if (f.hidden) return MenuEntryState::Hidden;
    return f.enabled ? MenuEntryState::Enabled : MenuEntryState::Disabled;
  }
  // Whether the player can choose the entry: it and the top-level entry holding it are shown and
  // enabled.
  bool Choosable(MenuId menu, std::string_view id) const {
    const std::optional<size_t> i = MenuEntryIndex(menu, id);
    if (!i || State(menu, id) != MenuEntryState::Enabled) return false;
    const char* parent = MenuEntries(menu)[*i].parent;
    return parent == nullptr || State(menu, parent) == MenuEntryState::Enabled;
  }

 private:
  std::span<MenuEntryFlags> Flags(MenuId menu) {
    switch (menu) {
      case MenuId::Main: return main_;
      case MenuId::Popup: return popup_;
      case MenuId::QuitPopup: return quitPopup_;
      case MenuId::ToolBar: return toolBar_;
    }
    return {};
  }

  std::array<MenuEntryFlags, kMainMenuEntries.size()> main_{};
  std::array<MenuEntryFlags, kPopupMenuEntries.size()> popup_{};
  std::array<MenuEntryFlags, kQuitPopupEntries.size()> quitPopup_{};
  std::array<MenuEntryFlags, kToolBarEntries.size()> toolBar_{};
  MenuEntryFlags spare_{};
};

inline const char* MenuStateName(MenuEntryState s) {
  switch (s) {
    case MenuEntryState::Enabled: return "enabled";
    case MenuEntryState::Disabled: return "disabled";
    case MenuEntryState::Hidden: return "hidden";
  }
  return "disabled";
}

}  // namespace torvel
