#pragma once
// The entries of the right-click menu in menu order: the id the engine, the headless input lines
// ("MS menu popup ENTRY") and the state report know each by, and its caption. An entry without an
// id is a separator.
#include <array>
#include <string_view>

namespace torvel {

struct PopupEntryText {
  const char* id;  // nullptr: a separator
  const char* caption;
};

inline constexpr std::array<PopupEntryText, 15> kPopupEntries{{
    {"auto", "自動送り"},
    {"skip", "スキップ"},
    {"log", "ログ"},
    {"hide-window", "ウィンドウ消去"},
    {"replay-voice", "直前の音声を再生"},
    {nullptr, "-"},
    {"quick-load", "クイックロード"},
    {"quick-save", "クイックセーブ"},
    {"load", "ロード"},
    {"save", "セーブ"},
    {nullptr, "-"},
    {"settings", "設定"},
    {nullptr, "-"},
    {"title", "タイトルへ戻る"},
    {"quit", "終了"},
}};

inline bool IsPopupEntry(std::string_view id) {
  for (const PopupEntryText& e : kPopupEntries) {
    if (e.id != nullptr && id == e.id) return true;
  }
  return false;
}

}  // namespace torvel
