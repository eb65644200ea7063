// The name entry window on Qt's offscreen platform: typing, the input method, its buttons, and
// the ways out it does not offer.
#include "platform/qt/name_entry_dialog.h"

#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "qt_test_support.h"
#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "screens/name_entry.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

constexpr const char* kConfig =
    "MAKER_REG:Software\\NameWindow\nGAME_ID:names\nDEFAULT_NAME:湊\nDEFAULT_NAME2:みなと\nDEFAULT_NAME3:朝倉\n";

class NameEntryDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_.Script("_config", kConfig).Script("main", "@end\n");
    game_.Start();
    model_ = std::make_unique<NameEntryModel>(game_.Engine());
    dialog_.Bind(*model_);
    dialog_.show();
    dialog_.activateWindow();
  }
  std::string Slot(int i) { return SjisToUtf8(game_.Engine().text.nameSlots[static_cast<size_t>(i)]); }
  // What the player's input method delivers: the reading while composing, then the chosen text.
  static void Compose(QLineEdit& edit, const QString& reading, const QString& chosen) {
    edit.setFocus();
    QInputMethodEvent composing(reading, {QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, reading.size(), 1)});
    QApplication::sendEvent(&edit, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(chosen);
    QApplication::sendEvent(&edit, &commit);
  }

  testing::GameFixture game_;
  std::unique_ptr<NameEntryModel> model_;
  NameEntryDialog dialog_;
};

TEST_F(NameEntryDialogTest, IsAFixedWindowWithoutCloseButtonInTheDialogFont) {
  EXPECT_EQ(dialog_.size(), QSize(295, 164));
  EXPECT_EQ(dialog_.windowTitle(), QString::fromUtf8("名前の変更"));
  const Qt::WindowFlags flags = dialog_.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(dialog_.font().family(), QStringLiteral("IPAPGothic"));
  EXPECT_EQ(dialog_.font().pixelSize(), 12);
  EXPECT_EQ(dialog_.OkButton().text(), QString::fromUtf8("ＯＫ"));
  EXPECT_EQ(dialog_.DefaultButton().text(), QString::fromUtf8("デフォルト"));
  EXPECT_EQ(dialog_.Edit(0).text(), QString::fromUtf8("湊"));
  EXPECT_EQ(dialog_.Edit(2).text(), QString::fromUtf8("朝倉"));
  // The edit boxes take the desktop's input method.
  EXPECT_TRUE(dialog_.Edit(0).testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_FALSE(dialog_.Edit(0).inputMethodHints().testFlag(Qt::ImhLatinOnly));
}

TEST_F(NameEntryDialogTest, JapaneseFromTheInputMethodIsAccepted) {
  dialog_.Edit(0).clear();
  Compose(dialog_.Edit(0), QString::fromUtf8("はる"), QString::fromUtf8("春"));
  EXPECT_EQ(dialog_.Edit(0).text(), QString::fromUtf8("春"));
  QTest::mouseClick(&dialog_.OkButton(), Qt::LeftButton);
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(Slot(0), "春");
  SettingsStore store(game_.Dir() / "config", "Software\\NameWindow", "names");
  store.Load();
  EXPECT_EQ(store.ReadText("PlayerName", ""), Utf8ToSjis("春"));
}

TEST_F(NameEntryDialogTest, TypedLettersAreRefusedAndTheFieldShowsTheNameAgain) {
  dialog_.Edit(1).clear();
  QTest::keyClicks(&dialog_.Edit(1), "Mina");
  EXPECT_EQ(dialog_.Edit(1).text(), QStringLiteral("Mina"));
  QTest::mouseClick(&dialog_.OkButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_EQ(dialog_.Edit(1).text(), QString::fromUtf8("みなと"));
  EXPECT_EQ(dialog_.focusWidget(), &dialog_.Edit(1));
  EXPECT_EQ(Slot(1), "みなと");
}

TEST_F(NameEntryDialogTest, TheDefaultButtonFillsTheFieldsOnly) {
  dialog_.Edit(0).setText(QString::fromUtf8("春"));
  QTest::mouseClick(&dialog_.DefaultButton(), Qt::LeftButton);
  EXPECT_EQ(dialog_.Edit(0).text(), QString::fromUtf8("湊"));
  EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(NameEntryDialogTest, EscapeAndTheCloseRequestDoNothing) {
  QTest::keyClick(&dialog_.Edit(0), Qt::Key_Escape);
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_FALSE(dialog_.close());
  EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(NameEntryDialogTest, EnterPressesOk) {
  dialog_.Edit(0).setText(QString::fromUtf8("夏"));
  QTest::keyClick(&dialog_.Edit(0), Qt::Key_Return);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(Slot(0), "夏");
}

}  // namespace
}  // namespace torvel
