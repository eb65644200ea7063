#pragma once
// The name entry window's model: three fields for the player's name, nickname and family name,
// with the button that puts the game's default names into them and the one that accepts them.
// Names are accepted into name slots 0..2 and the PlayerName settings. The fields hold UTF-8, as
// the window's edit boxes do; the engine gets Shift-JIS.
#include <array>
#include <string>
#include <string_view>

namespace torvel {

class TForm1;

inline constexpr std::string_view kNameEntryCaption = "名前の変更";
inline constexpr std::string_view kNameEntryPrompt = "主人公の名前を入力してください。";
inline constexpr std::string_view kNameEntryRule = "（全角６文字以内）";
inline constexpr std::array<std::string_view, 3> kNameEntryLabels = {"名前", "あだ名", "苗字"};
inline constexpr std::string_view kNameEntryDefaultButton = "デフォルト";
inline constexpr std::string_view kNameEntryOkButton = "ＯＫ";
constexpr int kNameEntryWidth = 295;
constexpr int kNameEntryHeight = 164;

// A player name: one to six characters of two bytes each, every one a lead byte with a trail
// byte that code page 932 defines.
bool IsValidPlayerName(std::string_view sjis);

class NameEntryModel {
 public:
  static constexpr int kFieldCount = 3;

  // Showing: the fields take name slots 0..2.
  explicit NameEntryModel(TForm1& engine);

  const std::string& Field(int index) const { return fields_.at(static_cast<size_t>(index)); }
  void SetField(int index, std::string_view utf8);

  // "デフォルト": the game's default names into the fields; nothing is accepted yet.
  void PressDefault();
  // "ＯＫ": checks and accepts the fields in order. A refused field shows its slot's name again
  // and stops the pass; names accepted before it stay accepted. True when every field passed:
  // the three names are stored and the window closes.
  bool PressOk();
  // The field the last "ＯＫ" refused, or -1.
  int RefusedField() const { return refused_; }

 private:
  TForm1& engine_;
  std::array<std::string, kFieldCount> fields_;
  int refused_ = -1;
};

}  // namespace torvel
