// The dialog windows as the real window shows them: `setname` and `config` open them modally,
// placed over the game's window, and the script goes on with what the player chose there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "platform/qt/name_entry_dialog.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/settings_dialog.h"
#include "qt_test_support.h"
#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::RunEventsUntil;

// Runs `act` on the first modal window of type W once it shows, from within its own event loop.
template <typename W>
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(W&)> act) : act_(std::move(act)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      W* window = qobject_cast<W*>(QApplication::activeModalWidget());
      if (!window || !window->isVisible()) return;
      timer_.stop();
      seen_ = window;
      ownerCentre_ = window->parentWidget() ? window->parentWidget()->frameGeometry().center() : QPoint();
      centre_ = window->frameGeometry().center();
      act_(*window);
    });
    timer_.start();
  }
  bool Seen() const { return seen_ != nullptr; }
  QPoint Centre() const { return centre_; }
  QPoint OwnerCentre() const { return ownerCentre_; }

 private:
  std::function<void(W&)> act_;
  QTimer timer_;
  W* seen_ = nullptr;
  QPoint centre_;
  QPoint ownerCentre_;
};

class DialogWindowsTest : public ::testing::Test {
 protected:
  void Start(const std::string& main) {
    game_.Script("_config", "TITLE:窓の試験\nMAKER_REG:Software\\WindowTest\nGAME_ID:windows\nDEFAULT_NAME:湊\n")
        .Script("main", main)
        .Write();
    host_ = std::make_unique<QtHost>(settings_.Path());
    engine_ = std::make_unique<TForm1>(*host_, EngineOptions{game_.Dir(), 1});
    host_->Attach(engine_.get());
    ASSERT_TRUE(host_->Start());
  }
  void TearDown() override {
    engine_.reset();
    host_.reset();
  }
  std::optional<std::string> Stored(std::string_view name) {
    SettingsStore store(settings_.Path(), "Software\\WindowTest", "windows");
    store.Load();
    return store.Value(name);
  }

  testing::GameFixture game_;
  testing::TempFolder settings_;
  std::unique_ptr<QtHost> host_;
  std::unique_ptr<TForm1> engine_;
};

TEST_F(DialogWindowsTest, SetnameShowsTheNameEntryOverTheWindowAndTheScriptGoesOnWithTheName) {
  ModalWatcher<NameEntryDialog> watcher([](NameEntryDialog& dialog) {
    dialog.Edit(0).selectAll();
    QTest::keyClicks(&dialog.Edit(0), "x");  // refused: the window stays
    QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
    if (!dialog.isVisible()) return;
    dialog.Edit(0).setText(QString::fromUtf8("春"));
    QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
  });
  Start("@setname\n一頁目\n\\\n");
  ASSERT_TRUE(RunEventsUntil([&] { return engine_->ctl.waitKind != 0; }));
  ASSERT_TRUE(watcher.Seen());
  // Centred on the game's window, give or take the window frame.
  EXPECT_LE((watcher.Centre() - watcher.OwnerCentre()).manhattanLength(), 8);
  EXPECT_EQ(SjisToUtf8(engine_->text.nameSlots[0]), "春");
  EXPECT_EQ(engine_->vars.S(6), 1);
}

TEST_F(DialogWindowsTest, ConfigShowsTheSettingsDialogForAGameWithoutConfigurationPictures) {
  ModalWatcher<SettingsDialog> watcher([](SettingsDialog& dialog) {
    dialog.Pages().setCurrentIndex(1);
    static_cast<QSlider*>(dialog.Control(SettingsControl::TrackBar4))->setValue(-1001);
    QTest::mouseClick(&dialog.CloseButton(), Qt::LeftButton);
  });
  Start("@config\n一頁目\n\\\n");
  ASSERT_TRUE(RunEventsUntil([&] { return engine_->ctl.waitKind != 0; }));
  ASSERT_TRUE(watcher.Seen());
  // Centred on the game's window, give or take the window frame.
  EXPECT_LE((watcher.Centre() - watcher.OwnerCentre()).manhattanLength(), 8);
  EXPECT_EQ(Stored("Vol3"), "-1001");
  EXPECT_EQ(engine_->MusicVolume(), -2502);
  EXPECT_FALSE(engine_->ctl.menuLock);
}

}  // namespace
}  // namespace torvel
