// The settings dialog window on Qt's offscreen platform: its pages and controls, and a player's
// clicks, drags and typing reaching the model, the engine and the settings store.
#include "platform/qt/settings_dialog.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "qt_test_support.h"
#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "shell/engine.h"
#include "support/font_configuration.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using C = SettingsControl;

constexpr const char* kConfig =
    "MAKER_REG:Software\\SettingsWindow\nGAME_ID:settings\nFONT_NAME:ＭＳ ゴシック\nFONT_SIZE:22\n"
    "TXW_COLOR_R:16\nTXW_COLOR_G:24\nTXW_COLOR_B:64\nTXW_ALPHA:160\nTXW_ALPHA2:128\nVOLUME1:-100\n";

class SettingsDialogViewTest : public ::testing::Test {
 protected:
  void Open(const std::function<void(SettingsStore&)>& seed = {}) {
    if (seed) {
      SettingsStore store(game_.Dir() / "config", "Software\\SettingsWindow", "settings");
      seed(store);
    }
    game_.Script("_config", kConfig).Script("main", "@end\n");
    game_.Start();
    model_ = std::make_unique<SettingsDialogModel>(game_.Engine());
    model_->Fill();
    dialog_.Bind(*model_);
    dialog_.show();
  }
  std::optional<int> Stored(std::string_view name) {
    SettingsStore store(game_.Dir() / "config", "Software\\SettingsWindow", "settings");
    store.Load();
    std::optional<std::string> text = store.Value(name);
    return text ? ParseSettingInt(*text) : std::nullopt;
  }
  template <typename W>
  W& Widget(C control) {
    W* widget = qobject_cast<W*>(dialog_.Control(control));
    EXPECT_NE(widget, nullptr);
    return *widget;
  }
  QRadioButton& Item(C control, int item) { return *qobject_cast<QRadioButton*>(dialog_.Group(control)->button(item)); }

  testing::GameFixture game_;
  std::unique_ptr<SettingsDialogModel> model_;
  SettingsDialog dialog_;
};

TEST_F(SettingsDialogViewTest, ShowsFourPagesOfNamedControls) {
  Open();
  EXPECT_EQ(dialog_.size(), QSize(396, 324));
  EXPECT_EQ(dialog_.windowTitle(), QString::fromUtf8("設定"));
  EXPECT_EQ(dialog_.font().family(), QStringLiteral("IPAPGothic"));
  ASSERT_EQ(dialog_.Pages().count(), 4);
  EXPECT_EQ(dialog_.Pages().tabText(0), QString::fromUtf8("システム設定"));
  EXPECT_EQ(dialog_.Pages().tabText(3), QString::fromUtf8("著作権表示"));
  EXPECT_EQ(dialog_.CloseButton().text(), QString::fromUtf8("閉じる"));
  for (const SettingsControlInfo& info : SettingsControls()) {
    QWidget* widget = dialog_.findChild<QWidget*>(QString::fromUtf8(info.name.data(), info.name.size()));
    ASSERT_NE(widget, nullptr) << info.name;
    EXPECT_EQ(widget, dialog_.Control(info.id));
  }
  EXPECT_EQ(Widget<QGroupBox>(C::RadioGroup1).title(), QString::fromUtf8("右クリック割り当て"));
  EXPECT_EQ(dialog_.Group(C::RadioGroup1)->buttons().size(), 4);
  EXPECT_EQ(Item(C::RadioGroup3, 1).text(), QString::fromUtf8("Ctrl-オート Shift-スキップ"));
  EXPECT_EQ(Widget<QSlider>(C::TrackBar2).orientation(), Qt::Horizontal);
  for (C bar : {C::TrackBar5, C::TrackBar6, C::TrackBar7, C::TrackBar8, C::TrackBar9}) {
    EXPECT_EQ(Widget<QSlider>(bar).orientation(), Qt::Vertical);
    EXPECT_EQ(Widget<QSlider>(bar).minimum(), -255);
  }
  QSpinBox& size = Widget<QSpinBox>(C::CSpinEdit1);
  EXPECT_EQ(size.minimum(), 18);
  EXPECT_EQ(size.maximum(), 23);
  EXPECT_EQ(size.correctionMode(), QAbstractSpinBox::CorrectToNearestValue);
  EXPECT_FALSE(size.keyboardTracking());
}

TEST_F(SettingsDialogViewTest, TheControlsShowTheSettings) {
  Open([](SettingsStore& store) {
    store.Write("SMode", "1");
    store.Write("Seen", "0");
    store.Write("RC_MODE", "4");
  });
  EXPECT_TRUE(Item(C::RadioGroup6, 1).isChecked());
  EXPECT_FALSE(Widget<QCheckBox>(C::CheckBox1).isChecked());
  EXPECT_TRUE(Widget<QCheckBox>(C::CheckBox2).isChecked());
  // RC_MODE 4 is no item of the group: none is chosen.
  EXPECT_EQ(dialog_.Group(C::RadioGroup1)->checkedButton(), nullptr);
  EXPECT_EQ(Widget<QSlider>(C::TrackBar2).value(), -100);
  EXPECT_EQ(Widget<QSlider>(C::TrackBar5).value(), -16);
  EXPECT_EQ(Widget<QSpinBox>(C::CSpinEdit1).value(), 22);
  EXPECT_FALSE(Widget<QCheckBox>(C::CheckBox17).isVisibleTo(&dialog_));
  EXPECT_EQ(dialog_.Swatch().palette().color(QPalette::Window), QColor(16, 24, 64));
  EXPECT_EQ(Stored("RC_MODE"), 4);
}

TEST_F(SettingsDialogViewTest, APlayersChangesAreStoredAtOnce) {
  Open();
  dialog_.Pages().setCurrentIndex(0);
  QTest::mouseClick(&Item(C::RadioGroup1, 2), Qt::LeftButton);
  EXPECT_EQ(Stored("RC_MODE"), 2);
  EXPECT_EQ(game_.Engine().settings.RC_MODE, 2);
  QTest::mouseClick(&Widget<QCheckBox>(C::CheckBox1), Qt::LeftButton);
  EXPECT_EQ(Stored("Seen"), 0);

  dialog_.Pages().setCurrentIndex(1);
  QSlider& voice = Widget<QSlider>(C::TrackBar2);
  voice.setFocus();
  QTest::keyClick(&voice, Qt::Key_End);  // the right end: full volume
  EXPECT_EQ(Stored("Vol1"), 0);
  voice.setValue(-1001);
  EXPECT_EQ(Stored("Vol1"), -1001);
  EXPECT_EQ(game_.Engine().VoiceVolume(), -2502);
}

TEST_F(SettingsDialogViewTest, ATypedSizeOutsideTheRangeGoesToTheNearestEnd) {
  Open();
  dialog_.Pages().setCurrentIndex(2);
  QSpinBox& size = Widget<QSpinBox>(C::CSpinEdit1);
  size.setFocus();
  size.selectAll();
  QTest::keyClicks(&size, "3");
  EXPECT_EQ(Stored("FONTSIZE"), std::nullopt);  // nothing while typing
  QTest::keyClick(&size, Qt::Key_Return);
  EXPECT_EQ(size.value(), 18);
  EXPECT_EQ(Stored("FONTSIZE"), 18);
  EXPECT_EQ(game_.Engine().settings.FONTSIZE, 18);
}

TEST_F(SettingsDialogViewTest, DefaultMovesTheFourBarsAndRepaintsTheSwatch) {
  Open();
  dialog_.Pages().setCurrentIndex(2);
  Widget<QSlider>(C::TrackBar5).setValue(-200);
  Widget<QSlider>(C::TrackBar9).setValue(-40);
  EXPECT_EQ(dialog_.Swatch().palette().color(QPalette::Window), QColor(200, 24, 64));
  QTest::mouseClick(&Widget<QPushButton>(C::Button3), Qt::LeftButton);
  EXPECT_EQ(Widget<QSlider>(C::TrackBar5).value(), -16);
  EXPECT_EQ(Widget<QSlider>(C::TrackBar8).value(), -160);
  EXPECT_EQ(Widget<QSlider>(C::TrackBar9).value(), -40);
  EXPECT_EQ(dialog_.Swatch().palette().color(QPalette::Window), QColor(16, 24, 64));
  EXPECT_EQ(Stored("TXBG_R"), 16);
  EXPECT_EQ(Stored("TXBG_A2"), 40);
}

TEST_F(SettingsDialogViewTest, TheFontListOffersTheJapaneseFacesAndStoresTheChosenOne) {
  testing::FontConfiguration fonts(testing::kIpaGothicFolder);
  Open();
  dialog_.Pages().setCurrentIndex(2);
  QComboBox& list = Widget<QComboBox>(C::ComboBox1);
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.itemText(0), QString::fromUtf8("IPA Pゴシック"));
  // The current face is not installed here: no item is chosen and the list shows its name.
  EXPECT_EQ(list.currentIndex(), -1);
  EXPECT_EQ(list.placeholderText(), QString::fromUtf8("ＭＳ ゴシック"));
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(list.currentIndex(), 0);
  EXPECT_EQ(game_.Engine().settings.FontName, Utf8ToSjis("IPA Pゴシック"));
  SettingsStore store(game_.Dir() / "config", "Software\\SettingsWindow", "settings");
  store.Load();
  EXPECT_EQ(store.ReadText("FontName", ""), Utf8ToSjis("IPA Pゴシック"));
}

TEST_F(SettingsDialogViewTest, TheBarsOfTheTextBackgroundShowTheirValueNegatedAndRepaintTheSwatch) {
  Open();
  dialog_.Pages().setCurrentIndex(2);
  QSlider& green = Widget<QSlider>(C::TrackBar6);
  green.setFocus();
  // Home: the lowest position, at the top of the vertical bar.
  QTest::keyClick(&green, Qt::Key_Home);
  EXPECT_EQ(green.value(), -255);
  EXPECT_EQ(Stored("TXBG_G"), 255);
  EXPECT_EQ(dialog_.Swatch().palette().color(QPalette::Window), QColor(16, 255, 64));
  EXPECT_TRUE(game_.Engine().dialogs.textSettingsChanged);
}

TEST_F(SettingsDialogViewTest, CloseEndsTheWindow) {
  Open();
  QTest::mouseClick(&dialog_.CloseButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog_.isVisible());
}

}  // namespace
}  // namespace torvel
