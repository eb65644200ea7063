// The right-click menu in the real window: a QMenu with the engine's captions and enabled
// entries, placed right of the pointer on the scaled picture, whose chosen entry runs its action.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "platform/qt/qt_host.h"
#include "qt_test_support.h"
#include "resources/sjis.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::RunEventsFor;
using testing::RunEventsUntil;
using testing::TempFolder;

class QtPopupMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    game_.Script("_config", "TITLE:メニューの試験\n")
        .Script("main", "!S000=1\n!S028=1\n一頁目\n\\\n二頁目\n\\\n")
        .Write();
    host_ = std::make_unique<QtHost>(settings_.Path());
    engine_ = std::make_unique<TForm1>(*host_, EngineOptions{game_.Dir(), 1});
    host_->Attach(engine_.get());
    ASSERT_TRUE(host_->Start());
    ASSERT_TRUE(RunEventsUntil([&] { return engine_->ctl.waitKind != 0; }));
  }
  void TearDown() override {
    engine_.reset();
    host_.reset();
  }
  void RightClickAt(QPointF pos) {
    QWidget& w = host_->Window().Picture();
    // The pointer gets there first: the engine places the menu by the last move.
    QMouseEvent move(QEvent::MouseMove, pos, w.mapToGlobal(pos), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(&w, &move);
    QMouseEvent press(QEvent::MouseButtonPress, pos, w.mapToGlobal(pos), Qt::RightButton, Qt::RightButton, {});
    QApplication::sendEvent(&w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, w.mapToGlobal(pos), Qt::RightButton, Qt::NoButton, {});
    QApplication::sendEvent(&w, &release);
  }

  GameFixture game_;
  TempFolder settings_;
  std::unique_ptr<QtHost> host_;
  std::unique_ptr<TForm1> engine_;
};

TEST_F(QtPopupMenu, TheMenuShowsTheEntriesAndRunsTheChosenOne) {
  // A window larger than the picture: the menu's place is scaled with it. The offscreen screen is
  // small, so the pointer stays near the corner where the whole menu fits.
  host_->Window().move(0, 0);
  host_->Window().resize(1000, 750 + (host_->Window().height() - host_->Window().Picture().height()));
  RunEventsUntil([&] { return host_->Window().Picture().width() >= 1000; }, 1000);
  engine_->vars.S(27) = 0;
  PictureWidget& picture = host_->Window().Picture();

  std::vector<std::pair<std::string, bool>> seen;
  QPoint menuAt;
  QPoint expectedAt;
  QTimer::singleShot(50, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menuAt = menu->pos();
    expectedAt = picture.mapToGlobal(picture.FromPicture(Point{8 + 16, 8})).toPoint();
    QAction* autoEntry = nullptr;
    for (QAction* a : menu->actions()) {
      seen.emplace_back(a->isSeparator() ? "-" : a->text().toStdString(), a->isEnabled());
      if (a->text() == QString::fromUtf8("自動送り")) autoEntry = a;
    }
    ASSERT_NE(autoEntry, nullptr);
    menu->setActiveAction(autoEntry);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(menu, &enter);
  });
  RightClickAt(picture.FromPicture(Point{8, 8}));

  const std::vector<std::pair<std::string, bool>> expected{{"自動送り", true},
                                                           {"スキップ", true},
                                                           {"ログ", true},
                                                           {"ウィンドウ消去", true},
                                                           {"直前の音声を再生", true},
                                                           {"-", true},
                                                           {"クイックロード", true},
                                                           {"クイックセーブ", false},
                                                           {"ロード", true},
                                                           {"セーブ", false},
                                                           {"-", true},
                                                           {"設定", true},
                                                           {"-", true},
                                                           {"タイトルへ戻る", true},
                                                           {"終了", true}};
  EXPECT_EQ(seen, expected) << "S000 = 1: loading only";
  EXPECT_EQ(host_->LastPopupPlace(), expectedAt);
  // The style may draw the menu's frame a few pixels off the point asked for.
  EXPECT_LE((menuAt - expectedAt).manhattanLength(), 24) << menuAt.x() << "," << menuAt.y();
  EXPECT_EQ(engine_->vars.S(26), 4) << "自動送り ran";
  EXPECT_FALSE(engine_->systemMenu.menuOpen);
}

TEST_F(QtPopupMenu, ADismissedMenuLeavesTheFlagForTheNextRightClick) {
  PictureWidget& picture = host_->Window().Picture();
  QTimer::singleShot(50, [&] {
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
  });
  RightClickAt(picture.FromPicture(Point{100, 100}));
  EXPECT_TRUE(engine_->systemMenu.menuOpen);
  EXPECT_EQ(engine_->systemMenu.lastChosen, std::nullopt);
  bool opened = false;
  QTimer::singleShot(50, [&] {
    if (QWidget* menu = QApplication::activePopupWidget()) {
      opened = true;
      menu->close();
    }
  });
  RightClickAt(picture.FromPicture(Point{100, 100}));
  RunEventsFor(100);
  EXPECT_FALSE(engine_->systemMenu.menuOpen);
  EXPECT_FALSE(opened) << "only the flag came down; no menu opened";
}

}  // namespace
}  // namespace torvel
