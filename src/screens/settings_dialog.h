#pragma once
// The settings dialog window's model: every player setting as a control of its pages (radio
// groups, check boxes, track bars, the font list and the size field). A change acts in the engine
// and is stored at once; ApplySettingsDialog rebuilds what depends on the text settings after
// the window closes. Captions and face names are UTF-8, as the window shows them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

class TForm1;

// The controls, named as the window's components are.
enum class SettingsControl {
  RadioGroup6,  // "スクリーンモード": SMode
  RadioGroup4,  // "グラフィック表示": GMode
  RadioGroup5,  // "文字表示速度": Delay
  RadioGroup1,  // "右クリック割り当て": RC_MODE
  RadioGroup2,  // "ホイール割り当て": WHEEL_MODE
  RadioGroup3,  // "Ctrl Shift": CS_SWAP
  CheckBox1,    // Seen
  CheckBox2,    // BreakonSelect
  CheckBox6,    // MemorySaveMode
  CheckBox15,   // EFX_CUT
  CheckBox17,   // CONFIG_MODE; only for games with a configuration screen
  CheckBox13,   // BGM_ENA
  CheckBox3,    // CV1
  CheckBox14,   // SE_ENA
  TrackBar1,    // master volume, not stored
  TrackBar2,    // Vol1
  TrackBar3,    // Vol2
  TrackBar4,    // Vol3
  Button1,      // "ボイス": plays the voice sample
  CheckBox7,    // SE0
  CheckBox8,    // SE1
  CheckBox10,   // SE3
  CheckBox11,   // SE4
  CheckBox12,   // CV_THROUGH
  ComboBox1,    // FontName
  CheckBox5,    // FONTBold
  CSpinEdit1,   // FONTSIZE
  RadioGroup7,  // "フォント描画方法": FONTAA
  TrackBar5,    // TXBG_R
  TrackBar6,    // TXBG_G
  TrackBar7,    // TXBG_B
  TrackBar8,    // TXBG_A
  Button3,      // "Default": the text background from the game's configuration
  TrackBar9,    // TXBG_A2
  Count
};
constexpr int kSettingsControlCount = static_cast<int>(SettingsControl::Count);

enum class ControlKind { Radio, Check, Track, Combo, Spin, Button };

struct SettingsControlInfo {
  SettingsControl id;
  std::string_view name;
  ControlKind kind;
  int page;
  std::string_view caption;
  std::array<std::string_view, 4> items;  // a radio group's items
  int itemCount;
  int minimum;  // track bars and the size field
  int maximum;
};

// Every control in the order of its page.
const std::array<SettingsControlInfo, kSettingsControlCount>& SettingsControls();
const SettingsControlInfo& InfoOf(SettingsControl control);
// The control of a component name ("TrackBar2"), or null.
const SettingsControlInfo* FindSettingsControl(std::string_view name);

inline constexpr std::string_view kSettingsCaption = "設定";
inline constexpr std::array<std::string_view, 4> kSettingsPages = {"システム設定", "音設定", "テキスト設定",
                                                                   "著作権表示"};
inline constexpr std::string_view kSettingsCloseButton = "閉じる";
inline constexpr std::string_view kEffectDetailGroup = "効果音詳細設定";
inline constexpr std::string_view kFontHeading = "フォント指定(※)";
inline constexpr std::string_view kFontSizeHeading = "フォントサイズ";
inline constexpr std::string_view kFontNote = "※. 問題が生ずる場合、readme.txt をご確認ください。";
inline constexpr std::string_view kTextBackgroundGroup = "テキスト背景";
inline constexpr std::string_view kTextBackgroundLegend = "R       G       B        透過";
inline constexpr std::string_view kNovelModeGroup = "ノベルモード透過";
inline constexpr std::string_view kNovelModeLabel = "透過→";
inline constexpr std::string_view kLicenceHeading = "本製品は以下の技術及び著作物を利用しております";
extern const std::string_view kLicenceNotice;
constexpr int kSettingsWidth = 396;
constexpr int kSettingsHeight = 324;

class SettingsDialogModel {
 public:
  explicit SettingsDialogModel(TForm1& engine);

  // Showing: each control from its stored setting (the engine's value where none is stored), the
  // font list and the swatch. Stores nothing.
  void Fill();

  // A radio group's item (outside its items: none chosen), a check box's 0 or 1, a track bar's
  // position, the size field's value, the font list's index (-1: none chosen).
  int Value(SettingsControl control) const { return values_[static_cast<size_t>(control)]; }
  bool Visible(SettingsControl control) const;
  int Minimum(SettingsControl control) const;
  int Maximum(SettingsControl control) const;
  const std::vector<std::string>& Faces() const { return faces_; }
  // The face shown in the font list: the current FontName, listed or not.
  const std::string& FaceText() const { return faceText_; }
  // The swatch's colour: red, green, blue.
  std::array<uint8_t, 3> Swatch() const;

  // The player sets a control as the window lets him: a value outside its range goes to the
  // nearest end, and one equal to the current value does nothing.
  void Change(SettingsControl control, int value);
  // "ボイス" and "Default".
  void Press(SettingsControl control);

 private:
  void Store(std::string_view name, int value);
  void TextChanged();

  TForm1& engine_;
  std::array<int, kSettingsControlCount> values_{};
  bool fillingControls_ = false;
  std::vector<std::string> faces_;      // UTF-8
  std::vector<std::string> faceBytes_;  // the same names in Shift-JIS
  std::string faceText_;
};

}  // namespace torvel
