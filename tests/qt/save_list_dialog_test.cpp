// The save and load list window on Qt's offscreen platform: its rows, header clicks, the
// selection and the comment box, its buttons, and the keys that act on it or close it.
#include "platform/qt/save_list_dialog.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "qt_test_support.h"
#include "resources/sjis.h"
#include "screens/save_list.h"
#include "shell/engine.h"
#include "support/game_fixture.h"
#include "support/text_game.h"

namespace torvel {
namespace {

class SaveListDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string config = testing::kTextConfig;
    config += "MAKER_REG:Software\\ListWindow\nGAME_ID:list\n";
    game_.Script("_config", config).Script("main", "!V001=11\nおはよう。\n\\\n!V001=22\n次。\n\\\n");
    game_.Start();
    game_.RunToWait();
    for (const auto& [slot, comment] : std::vector<std::pair<int, std::string>>{{2, "beta"}, {3, "Alpha"}}) {
      ASSERT_TRUE(game_.Engine().SaveGame(slot, true));
      ASSERT_TRUE(game_.Engine().WriteSlotComment(slot, comment));
    }
    game_.Engine().vars.V(1) = 77;
  }
  void Open(int mode) {
    model_ = std::make_unique<SaveListModel>(game_.Engine(), mode);
    dialog_.Bind(*model_);
  }
  QString Cell(int row, int column) { return dialog_.Table().item(row, column)->text(); }
  void ClickRow(int row) {
    QTableWidget& t = dialog_.Table();
    t.scrollToItem(t.item(row, 1));
    QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, t.visualItemRect(t.item(row, 1)).center());
  }
  void ClickHeader(int column) {
    QHeaderView* header = dialog_.Table().horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }
  void Key(int key, QEvent::Type type) {
    QKeyEvent event(type, key, Qt::NoModifier);
    QApplication::sendEvent(&dialog_.Table(), &event);
  }

  testing::GameFixture game_;
  std::unique_ptr<SaveListModel> model_;
  SaveListDialog dialog_;
};

TEST_F(SaveListDialogTest, ShowsTheRowsAndSortsSelectsCommentsAndDeletesThroughTheModel) {
  Open(0);
  dialog_.show();
  EXPECT_EQ(dialog_.size(), QSize(494, 408));
  EXPECT_EQ(dialog_.windowTitle(), QString::fromUtf8("ロード"));
  EXPECT_EQ(dialog_.Heading().text(), QString::fromUtf8("ロード"));
  EXPECT_EQ(dialog_.ActionButton().text(), QString::fromUtf8("ロード"));
  QTableWidget& t = dialog_.Table();
  EXPECT_TRUE(t.showGrid());
  EXPECT_EQ(t.selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(t.selectionBehavior(), QAbstractItemView::SelectRows);
  ASSERT_EQ(t.rowCount(), 99);
  EXPECT_EQ(t.horizontalHeaderItem(3)->text(), QString::fromUtf8("ユーザーコメント"));
  EXPECT_EQ(Cell(0, 1), QString::fromUtf8(" 未登録"));
  EXPECT_EQ(Cell(2, 0), QStringLiteral("03"));
  EXPECT_EQ(Cell(2, 3), QStringLiteral("Alpha"));
  EXPECT_FALSE(dialog_.CommentButton().isEnabled());

  // Header clicks: ascending, then descending, by the comment without regard to case.
  ClickHeader(3);
  EXPECT_EQ(Cell(97, 0), QStringLiteral("03"));
  EXPECT_EQ(Cell(98, 0), QStringLiteral("02"));
  ClickHeader(3);
  EXPECT_EQ(Cell(0, 0), QStringLiteral("02"));
  EXPECT_EQ(Cell(1, 0), QStringLiteral("03"));
  EXPECT_EQ(Cell(2, 0), QStringLiteral("01"));
  // Only the selection moved with its slot: row 0 of slot order is now row 2.
  EXPECT_EQ(t.currentRow(), 2);

  // A click selects a whole row; the comment box follows it.
  ClickRow(1);
  EXPECT_EQ(model_->Row(model_->Selected()).slot, 3);
  EXPECT_EQ(t.selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(t.selectionModel()->selectedIndexes().size(), 4);
  EXPECT_EQ(dialog_.CommentBox().text(), QStringLiteral("Alpha"));
  EXPECT_TRUE(dialog_.CommentButton().isEnabled());
  ClickRow(2);
  EXPECT_EQ(dialog_.CommentBox().text(), QString());
  EXPECT_FALSE(dialog_.CommentButton().isEnabled());

  // The comment button writes the typed text into the slot and its row.
  ClickRow(0);
  dialog_.CommentBox().clear();
  QTest::keyClicks(&dialog_.CommentBox(), "Zulu");
  QTest::mouseClick(&dialog_.CommentButton(), Qt::LeftButton);
  EXPECT_EQ(Cell(0, 3), QStringLiteral("Zulu"));
  EXPECT_EQ(SaveListModel(game_.Engine(), 0).Cell(1, 3), "Zulu");

  // "削除" asks; OK deletes and the row turns unused.
  game_.Host().QueueAnswer(MessageResult::Ok);
  QTest::mouseClick(&dialog_.DeleteButton(), Qt::LeftButton);
  ASSERT_EQ(game_.Host().Messages().size(), 1u);
  EXPECT_EQ(SjisToUtf8(game_.Host().Messages()[0].text), "スロット02のセーブデータを削除しますか？");
  EXPECT_EQ(Cell(0, 1), QString::fromUtf8(" 未登録"));
  EXPECT_EQ(Cell(0, 3), QString());
  EXPECT_FALSE(std::filesystem::exists(game_.Engine().SlotFile(2)));
}

TEST_F(SaveListDialogTest, EnterActsOnlyWhenItsPressReachedTheList) {
  Open(0);
  model_->Select(model_->RowOfSlot(3));
  dialog_.Bind(*model_);
  QTimer::singleShot(0, &dialog_, [this] {
    // The release of a key pressed elsewhere (the one that opened the window) does nothing.
    Key(Qt::Key_Return, QEvent::KeyRelease);
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(game_.Engine().vars.V(1), 77);
    Key(Qt::Key_Return, QEvent::KeyPress);
    EXPECT_TRUE(dialog_.isVisible());
    Key(Qt::Key_Return, QEvent::KeyRelease);
  });
  dialog_.Run();
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
  EXPECT_EQ(game_.Engine().vars.V(1), 11);
}

TEST_F(SaveListDialogTest, EscapeAndTheCloseButtonCloseWithoutActing) {
  Open(1);
  EXPECT_EQ(dialog_.ActionButton().text(), QString::fromUtf8("セーブ"));
  EXPECT_EQ(dialog_.Table().rowCount(), 98);
  QTimer::singleShot(0, &dialog_, [this] { QTest::keyClick(&dialog_.Table(), Qt::Key_Escape); });
  dialog_.Run();
  EXPECT_EQ(dialog_.result(), QDialog::Rejected);
  QTimer::singleShot(0, &dialog_, [this] { QTest::mouseClick(&dialog_.CloseButton(), Qt::LeftButton); });
  dialog_.Run();
  EXPECT_EQ(dialog_.result(), QDialog::Rejected);
  EXPECT_FALSE(std::filesystem::exists(game_.Engine().SlotFile(1)));
}

}  // namespace
}  // namespace torvel
