// The developer windows on the offscreen platform: the controls beside the picture, the variable
// editor's surface, the script selector and the script editor with its save window, each driven
// through its own controls over a running engine.
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <fstream>
#include <sstream>

#include "devtools/debug_settings.h"
#include "graphics/picture_test_support.h"
#include "platform/qt/dev_controls.h"
#include "platform/qt/script_editor_window.h"
#include "platform/qt/script_selector_window.h"
#include "platform/qt/variable_editor_window.h"
#include "qt_test_support.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;
using testing::GameFixture;
using testing::MessageBoxAnswerer;
using testing::RunEventsUntil;

constexpr const char* kConfig =
    "TITLE:テスト\n"
    "MAKER_REG:Software\\TestMaker\n"
    "GAME_ID:alpha\n";

void WriteText(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string DebugSetting(GameFixture& game, const char* key) {
  SettingsStore store = DebugSettingsStore(game.Host().SettingsFolder(), "alpha");
  store.Load();
  return store.ReadText(key, "(none)");
}

TEST(DevControlsWindowTest, ButtonsWatchListAndTraceModeDriveTheEngine) {
  GameFixture game;
  game.Script("_config", kConfig).Script("main", "一。\n\\\n");
  TForm1& engine = game.Start();
  game.RunToWait();
  DevControls controls(engine, game.Host().SettingsFolder());
  controls.show();

  EXPECT_FALSE(controls.ScriptEditorButton()->isEnabled()) << "until 編集有効 is ticked";
  controls.EditEnable()->click();
  EXPECT_TRUE(controls.ScriptEditorButton()->isEnabled());
  EXPECT_EQ(DebugSetting(game, "DBG_EDIT_ENA"), "1");
  controls.EditEnable()->click();
  EXPECT_EQ(DebugSetting(game, "DBG_EDIT_ENA"), "0");

  controls.TraceMode()->click();
  EXPECT_TRUE(engine.ctl.traceMode);
  controls.TraceMode()->click();
  EXPECT_FALSE(engine.ctl.traceMode);

  // The watch list takes V, S, E or F and three digits only.
  for (const char* text : {"V001", "G001", "V01", "e005"}) {
    controls.WatchField()->setText(text);
    controls.WatchAdd()->click();
  }
  ASSERT_EQ(controls.WatchList()->count(), 2);
  EXPECT_EQ(controls.WatchList()->item(0)->text().toStdString(), "V001 = 0");
  EXPECT_EQ(controls.WatchList()->item(1)->text().toStdString(), "E005 = 0");
  engine.vars.V(1) = 5;
  controls.WatchEnable()->setChecked(true);
  // The engine's own timer drives the refresh: nothing up to the tick before a 16th, then the value.
  auto runToTick = [&](auto done) {
    for (int frame = 0; frame < 400 && !done(); ++frame) game.Host().RunFrame();
  };
  runToTick([&] { return engine.ctl.timerCounter % kWatchRefreshTicks == kWatchRefreshTicks - 1; });
  EXPECT_EQ(controls.WatchList()->item(0)->text().toStdString(), "V001 = 0") << "refreshed on the 16th tick only";
  runToTick([&] { return engine.ctl.timerCounter % kWatchRefreshTicks == 0; });
  EXPECT_EQ(controls.WatchList()->item(0)->text().toStdString(), "V001 = 5");
  // Disabled, the list keeps what it showed.
  controls.WatchEnable()->setChecked(false);
  engine.vars.V(1) = 6;
  runToTick([&] { return engine.ctl.timerCounter % kWatchRefreshTicks == kWatchRefreshTicks - 1; });
  runToTick([&] { return engine.ctl.timerCounter % kWatchRefreshTicks == 0; });
  EXPECT_EQ(controls.WatchList()->item(0)->text().toStdString(), "V001 = 5");
  controls.WatchList()->setCurrentRow(0);
  controls.WatchDelete()->click();
  ASSERT_EQ(controls.WatchList()->count(), 1);
  EXPECT_EQ(controls.WatchList()->item(0)->text().toStdString(), "E005 = 0");

  // "Flag Editor" acts between frames: the question (answered OK headless), then the window.
  controls.FlagEditorButton()->click();
  EXPECT_EQ(controls.FlagEditorWindow(), nullptr);
  game.Host().RunFrame();
  ASSERT_NE(controls.FlagEditorWindow(), nullptr);
  EXPECT_TRUE(controls.FlagEditorWindow()->isVisible());
  EXPECT_TRUE(engine.devtools.flagEditorOpen);
  EXPECT_TRUE(engine.devtools.globalDataReplace);
  controls.FlagEditorWindow()->close();
  EXPECT_FALSE(engine.devtools.flagEditorOpen);
}

// Answers the folder questions as they open: each answer a folder, or an empty text to cancel.
class FolderAnswerer {
 public:
  explicit FolderAnswerer(std::vector<QString> answers) : answers_(std::move(answers)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Poll(); });
    timer_.start();
  }
  int Asked() const { return asked_; }

 private:
  void Poll() {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || dialog->property("answered").toBool()) return;
    dialog->setProperty("answered", true);
    const QString answer = static_cast<size_t>(asked_) < answers_.size() ? answers_[static_cast<size_t>(asked_)] : "";
    ++asked_;
    if (answer.isEmpty()) {
      dialog->reject();
      return;
    }
    dialog->selectFile(answer);
    QMetaObject::invokeMethod(dialog, "accept");
  }
  std::vector<QString> answers_;
  int asked_ = 0;
  QTimer timer_;
};

TEST(DevControlsWindowTest, StartingAsksForAFolderUntilOneHoldsTheConfigScript) {
  struct Case {
    const char* what;
    std::vector<std::string> answers;  // folders under the game's, "" cancels
    int asked;
    bool hasConfig;
    std::string stored;  // DBG_SCRIPT_PATH afterwards, under the game's folder
  };
  const std::vector<Case> cases = {
      {"the stored folder has it", {}, 0, true, "good"},
      {"a folder without it, then one with it", {"empty", "good"}, 2, true, "good"},
      {"cancelled", {""}, 1, false, "empty"},
  };
  ::unsetenv("DBG_SCRIPT_PATH");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameFixture game;
    game.Script("_config", kConfig).Script("main", "一。\n\\\n");
    TForm1& engine = game.Start();
    WriteText(game.Dir() / "good" / "_config.txt", "x\n");
    WriteText(game.Dir() / "empty" / "main.txt", "x\n");
    const std::string first = c.answers.empty() ? "good" : "empty";
    ASSERT_TRUE(DebugSettingsStore(game.Host().SettingsFolder(), "alpha")
                    .Write("DBG_SCRIPT_PATH", (game.Dir() / first).string()));
    std::vector<QString> answers;
    for (const std::string& a : c.answers)
      answers.push_back(a.empty() ? QString() : QString::fromStdString((game.Dir() / a).string()));
    FolderAnswerer answerer(answers);
    QMainWindow window;
    DevControls controls(engine, game.Host().SettingsFolder());
    StartDeveloperTools(engine, controls, window);
    EXPECT_EQ(answerer.Asked(), c.asked);
    EXPECT_EQ(engine.devtools.scripts.hasConfig, c.hasConfig);
    EXPECT_EQ(DebugSetting(game, "DBG_SCRIPT_PATH"), (game.Dir() / c.stored).string());
    EXPECT_EQ(window.dockWidgetArea(&controls), Qt::RightDockWidgetArea);
  }
}

class VariableEditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game.Script("main", "一。\n\\\n");
    game.Start();
    game.RunToWait();
    game.Engine().devtools.flagEditorOpen = true;
  }
  static QRgb CellMiddle(const VariableEditorWindow& w, int cell) {
    return w.Surface().pixel(kGridLeft + 16 * (cell % 50) + 8, kBitTop + 16 * (cell / 50) + 8) & 0xFFFFFF;
  }
  GameFixture game;
};

TEST_F(VariableEditorWindowTest, APressShowsTheBitInItsCellAndADragSetsEachCellPassed) {
  VariableEditorWindow window(game.Engine());
  window.show();
  const QRgb blue = 0x0000FF, white = 0xFFFFFF;
  EXPECT_EQ(window.Surface().pixel(860, 430) & 0xFFFFFF, blue);
  EXPECT_EQ(CellMiddle(window, 53), blue) << "□ is hollow";
  // A left press on the surface sets F053, a right one clears it.
  QTest::mouseClick(window.Canvas(), Qt::LeftButton, {}, QPoint(kGridLeft + 16 * 3 + 8, kBitTop + 16 + 8));
  EXPECT_TRUE(game.Engine().vars.F.Test(53));
  EXPECT_EQ(CellMiddle(window, 53), white) << "■ is filled";
  EXPECT_EQ(CellMiddle(window, 52), blue);
  QTest::mouseClick(window.Canvas(), Qt::RightButton, {}, QPoint(kGridLeft + 16 * 3 + 8, kBitTop + 16 + 8));
  EXPECT_FALSE(game.Engine().vars.F.Test(53));
  EXPECT_EQ(CellMiddle(window, 53), blue);

  // "G2": a left drag along row 2 sets picture-seen flags 1100 … 1103.
  // The hover label names the gallery picture of the cell.
  game.Engine().layers.galleryPictures.assign(1106, "EV_OTHER");
  game.Engine().layers.galleryPictures[1105] = "EV_1105";
  window.Views()->button(static_cast<int>(VarView::G2))->click();
  window.Press(kGridLeft + 2, kBitTop + 32 + 2, true);
  for (int c = 1; c < 4; ++c) window.Move(kGridLeft + 16 * c + 2, kBitTop + 32 + 2);
  window.Release();
  window.Move(kGridLeft + 16 * 5 + 2, kBitTop + 32 + 2);
  for (int c = 0; c < 6; ++c) EXPECT_EQ(game.Engine().vars.D.Test(1100 + c), c < 4) << c;
  for (int c = 0; c < 6; ++c) EXPECT_EQ(CellMiddle(window, 100 + c), c < 4 ? white : blue) << c;
  EXPECT_EQ(window.HoverLabel()->text().toStdString(), "EV_1105");
  window.Move(kGridLeft + 16 * 6 + 2, kBitTop + 32 + 2);
  EXPECT_EQ(window.HoverLabel()->text().toStdString(), "未登録");
}

TEST_F(VariableEditorWindowTest, TheValueBoxStoresWholeNumbersOnly) {
  VariableEditorWindow window(game.Engine());
  window.show();
  window.Views()->button(static_cast<int>(VarView::V))->click();
  EXPECT_FALSE(window.ValueBox()->isEnabled());
  window.Pages()->button(1)->click();
  // Page "+500": the third cell of the first row is V502.
  window.Press(kGridLeft + 80 + 2, kValueTop + 2, true);
  window.Release();
  EXPECT_EQ(game.Engine().vars.V(502), 1);
  EXPECT_TRUE(window.ValueBox()->isEnabled());
  EXPECT_EQ(window.ValueBox()->text().toStdString(), "1");
  window.ValueBox()->clear();
  QTest::keyClicks(window.ValueBox(), "-");
  EXPECT_EQ(game.Engine().vars.V(502), 1) << "a lone minus stores nothing";
  QTest::keyClicks(window.ValueBox(), "42");
  EXPECT_EQ(game.Engine().vars.V(502), -42);
  window.ValueBox()->setText("x");
  window.Enter()->click();
  EXPECT_EQ(game.Engine().vars.V(502), -42);
}

TEST(ScriptSelectorWindowTest, FiltersAfterTheSeventhTickAndChoosesTheSelectedName) {
  ScriptSelectorWindow window;
  window.Fill({"MAIN", "DAY2", "DAY1"});
  ASSERT_EQ(window.List()->count(), 3);
  EXPECT_EQ(window.List()->item(0)->text().toStdString(), "DAY1");
  QTest::keyClicks(window.Mask(), "ay");
  for (int i = 0; i < kSelectorFilterTicks - 1; ++i) window.Tick();
  EXPECT_EQ(window.List()->count(), 3);
  window.Tick();
  ASSERT_EQ(window.List()->count(), 2);
  EXPECT_EQ(window.List()->item(1)->text().toStdString(), "DAY2");
  window.Execute()->click();
  EXPECT_EQ(window.Model().chosen, "") << "nothing selected, nothing chosen";
  window.List()->setCurrentRow(1);
  window.Execute()->click();
  EXPECT_EQ(window.Model().chosen, "DAY2");
  window.Fill({"MAIN"});
  window.reject();
  EXPECT_EQ(window.Model().chosen, "") << "the close button starts nothing";
}

class ScriptEditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { Prepare("\\l0\n\\l1\n\\l2\n"); }
  // A game whose main script and its source read `main`, with two backgrounds and a sprite.
  void Prepare(const std::string& main) {
    using testing::Packed;
    using testing::Solid;
    game.Entry("tq_gra.tvx", "BGSEA", Packed(Solid(800, 600, kSea)))
        .Entry("tq_gra.tvx", "BGSKY", Packed(Solid(800, 600, kSky)))
        .Entry("tq_gra.tvx", "CGIRL", Packed(Solid(40, 30, kGirl)))
        .Entry("tq_gra.tvx", "MGIRL", Packed(Solid(40, 30, {255, 255, 255})));
    game.Script("_config", kConfig).Script("main", main);
    sources = game.Dir() / "sources";
    WriteText(sources / "_config.txt", "x\n");
    WriteText(sources / "main.txt", main);
    TForm1& engine = game.Start();
    game.RunToWait();
    SettingsStore store = DebugSettingsStore(game.Host().SettingsFolder(), "alpha");
    ASSERT_TRUE(store.Write("DBG_SCRIPT_PATH", sources.string()));
    ASSERT_TRUE(store.Write("DBG_FILTER00", "girls,CH,,,,,,,,SMILE,1,10,300"));
    engine.RebuildDebugScriptSet();
    ASSERT_EQ(engine.devtools.scripts.current, 1);
  }
  static constexpr testing::Bgr kSea{200, 0, 0}, kSky{0, 200, 0}, kGirl{0, 0, 200};
  GameFixture game;
  fs::path sources;
};

// Within a level of each other: a sprite drawn through its mask may lose one.
bool Near(const testing::Bgr& a, const testing::Bgr& b) {
  for (size_t i = 0; i < 3; ++i)
    if (std::abs(a[i] - b[i]) > 1) return false;
  return true;
}

// The colour of a preview pixel as the picture's blue, green, red.
testing::Bgr PreviewPixel(const ScriptEditorWindow& w, int x, int y) {
  const QColor c = w.PreviewImage().pixelColor(x, y);
  return {c.blue(), c.green(), c.red()};
}

TEST_F(ScriptEditorWindowTest, OpensOnTheSourceAndSavesWithHistoryBackupAndLog) {
  MessageBoxAnswerer boxes;
  ScriptEditorWindow window(game.Engine(), game.Host().SettingsFolder());
  window.Open(4);
  EXPECT_EQ(window.Text()->toPlainText().toStdString(), "\\l0\n\\l1\n\\l2");
  EXPECT_TRUE(window.SaveButton()->isEnabled());
  EXPECT_TRUE(window.RestartButton()->isEnabled());
  EXPECT_EQ(window.FolderBox()->text().toStdString(), sources.string());
  ASSERT_EQ(window.Filters()->count(), 1);
  EXPECT_EQ(window.Filters()->item(0)->text().toStdString(), "girls");

  // Typing marks the kind of the line typed in.
  QTextCursor cursor = window.Text()->textCursor();
  cursor.movePosition(QTextCursor::End);
  window.Text()->setTextCursor(cursor);
  QTest::keyClick(window.Text(), Qt::Key_Return);
  QTest::keyClicks(window.Text(), "@music a");
  EXPECT_EQ(window.EditedKinds(), kEditedCommand);
  EXPECT_TRUE(window.Modified());

  // "キャンセル" in the save window returns with the edits kept.
  window.runSaveWindow = [](SaveEditWindow& w) {
    w.CancelButton()->click();
    return w.result();
  };
  window.SaveButton()->click();
  EXPECT_TRUE(window.Modified());
  EXPECT_EQ(ReadText(sources / "main.txt"), "\\l0\n\\l1\n\\l2\n");

  window.runSaveWindow = [](SaveEditWindow& w) {
    EXPECT_TRUE(w.findChildren<QCheckBox*>()[1]->isChecked()) << "コマンド";
    w.Note()->setText("fix");
    w.SaveButton()->click();
    return w.result();
  };
  window.SaveButton()->click();
  const std::string saved = ReadText(sources / "main.txt");
  EXPECT_EQ(saved.rfind("\\l0\n\\l1\n\\l2\n@music a\n;◇◆編集履歴ここから◆◇\n;", 0), 0u) << saved;
  EXPECT_NE(saved.find("[コマンド] fix\n;◇◆編集履歴ここまで◆◇\n"), std::string::npos) << saved;
  EXPECT_EQ(ReadText(sources / "main.BK1"), "\\l0\n\\l1\n\\l2\n");
  const std::string log = ReadText(sources / "_EDITLOG.TXT");
  EXPECT_EQ(log.rfind("main        : ;", 0), 0u) << log;
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ScriptEditorWindowTest, ClosingWithEditsAsksAndRestartGoesTenLinesBack) {
  MessageBoxAnswerer boxes;
  ScriptEditorWindow window(game.Engine(), game.Host().SettingsFolder());
  window.Open(8);
  window.show();
  window.Text()->appendPlainText("more");
  boxes.Queue(QMessageBox::Cancel);
  window.CloseButton()->click();
  RunEventsUntil([&] { return !boxes.Boxes().empty(); });
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "編集内容を破棄しますか？");
  EXPECT_TRUE(window.isVisible()) << "Cancel keeps the editor";
  // The restart asks too; OK discards and restarts at the top (line 2 is fewer than ten down).
  window.RestartButton()->click();
  EXPECT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(window.Tag(), 0);
  EXPECT_FALSE(window.isVisible());
  // "閉じる" with nothing changed writes the settings and asks nothing.
  window.Open(0);
  window.FontSize()->setValue(20);
  window.CloseButton()->click();
  EXPECT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(DebugSetting(game, "EDIT_FONTSIZE"), "20");
  EXPECT_EQ(DebugSetting(game, "DBG_FILTER00"), "girls,CH,,,,,,,,SMILE,1,10,300");
  EXPECT_EQ(DebugSetting(game, "DBG_FILTER01"), "");
}

TEST_F(ScriptEditorWindowTest, ANewFolderWithoutTheConfigScriptAsksForAnother) {
  WriteText(game.Dir() / "bare" / "main.txt", "x\n");
  WriteText(game.Dir() / "other" / "_config.txt", "x\n");
  FolderAnswerer answerer({QString::fromStdString((game.Dir() / "other").string())});
  ScriptEditorWindow window(game.Engine(), game.Host().SettingsFolder());
  window.Open(0);
  window.FolderBox()->setText(QString::fromStdString((game.Dir() / "bare").string()));
  window.CloseButton()->click();
  EXPECT_EQ(answerer.Asked(), 1);
  EXPECT_EQ(DebugSetting(game, "DBG_SCRIPT_PATH"), (game.Dir() / "other").string());
  EXPECT_TRUE(game.Engine().devtools.scripts.hasConfig);
}

TEST_F(ScriptEditorWindowTest, OpensWithTheCommandOfTheSceneOnShow) {
  struct Case {
    int count;
    const char* sprites;
    const char* command;
    int button;
  };
  const Case cases[] = {
      {0, "", "@bg BG01", 3},
      {1, "CH_A", "@spr CH_A", 0},
      {2, "CH_A,CH_B", "@spr CH_A,CH_B", 1},
      {3, "CH_A,CH_B,CH_C", "@spr CH_A,CH_B,CH_C", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    game.Engine().layers.backgroundName = "BG01";
    game.Engine().layers.spriteCount = c.count;
    game.Engine().layers.spriteSpec = c.sprites;
    ScriptEditorWindow window(game.Engine(), game.Host().SettingsFolder());
    window.Open(0);
    EXPECT_EQ(window.CommandBox()->text().toStdString(), c.command);
    EXPECT_EQ(window.Positions()->checkedId(), c.button);
  }
}

TEST_F(ScriptEditorWindowTest, WithoutASourceSavingInsertingAndRestartingAreOff) {
  game.Engine().devtools.scripts.NoteLoaded("nothing-here");
  ScriptEditorWindow window(game.Engine(), game.Host().SettingsFolder());
  window.Open(0);
  EXPECT_FALSE(window.SaveButton()->isEnabled());
  EXPECT_FALSE(window.InsertButton()->isEnabled());
  EXPECT_FALSE(window.RestartButton()->isEnabled());
  EXPECT_TRUE(window.CloseButton()->isEnabled());
}

class ScriptEditorSceneTest : public ScriptEditorWindowTest {
 protected:
  void SetUp() override { Prepare("@bg BGSEA\n@spr CGIRL\n一。\n\\\n"); }
  // The middle of result `name`'s thumbnail.
  static QPoint Cell(const ScriptEditorWindow& w, const std::string& name) {
    const auto& names = w.Results().names;
    const int i = static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    const ThumbnailGrid grid = GridForResults(static_cast<int>(names.size()));
    return {(i % grid.columns) * grid.cellWidth + 5, (i / grid.columns) * grid.cellHeight + 5};
  }
};

TEST_F(ScriptEditorSceneTest, ThePreviewComposesTheChosenSceneOnTheEngineLayers) {
  ScriptEditorWindow window(game.Engine(), game.Host().SettingsFolder());
  window.Open(game.Engine().script.pc);
  window.show();
  // The sprite stands at the top middle of the 800 × 600 scene: (380..420, 0..30).
  const QPoint sprite(144, 5), away(20, 200);
  ASSERT_EQ(window.PreviewImage().size(), QSize(289, 225));
  EXPECT_TRUE(Near(PreviewPixel(window, sprite.x(), sprite.y()), kGirl));
  EXPECT_EQ(PreviewPixel(window, away.x(), away.y()), kSea);

  // "BG" and a left click on a thumbnail: the background changes under the sprite.
  window.Positions()->button(3)->click();
  window.Word(0)->setText("bgs");
  window.SearchButton()->click();
  ASSERT_EQ(window.Results().names.size(), 2u);
  QTest::mouseClick(window.ThumbnailView(), Qt::LeftButton, {}, Cell(window, "BGSKY"));
  EXPECT_EQ(window.CommandBox()->text().toStdString(), "@bg BGSKY");
  EXPECT_EQ(PreviewPixel(window, away.x(), away.y()), kSky);
  EXPECT_TRUE(Near(PreviewPixel(window, sprite.x(), sprite.y()), kGirl));

  // Held down, the right button shows the picture alone; the release brings the scene back.
  QTest::mousePress(window.ThumbnailView(), Qt::RightButton, {}, Cell(window, "BGSEA"));
  EXPECT_TRUE(window.PreviewHeld());
  EXPECT_EQ(PreviewPixel(window, sprite.x(), sprite.y()), kSea);
  QTest::mouseRelease(window.ThumbnailView(), Qt::RightButton, {}, Cell(window, "BGSEA"));
  EXPECT_FALSE(window.PreviewHeld());
  EXPECT_EQ(PreviewPixel(window, away.x(), away.y()), kSky);
  EXPECT_TRUE(Near(PreviewPixel(window, sprite.x(), sprite.y()), kGirl));

  // "左" with the sprite in the left box: the pair's left position, right of it nothing.
  window.Positions()->button(1)->click();
  window.Word(0)->setText("GIRL");
  window.SecondWord()->setText("MG");
  window.Modes()->button(2)->click();
  window.SearchButton()->click();
  ASSERT_EQ(window.Results().names, std::vector<std::string>{"CGIRL"});
  QTest::mouseClick(window.ThumbnailView(), Qt::LeftButton, {}, Cell(window, "CGIRL"));
  EXPECT_EQ(window.CommandBox()->text().toStdString(), "@spr CGIRL,");
  // Two sprites centre on 250 and 550: the left one covers preview column 90, none is at 144.
  EXPECT_TRUE(Near(PreviewPixel(window, 90, 5), kGirl));
  EXPECT_EQ(PreviewPixel(window, sprite.x(), sprite.y()), kSky);
  // A press past the results does nothing.
  QTest::mouseClick(window.ThumbnailView(), Qt::LeftButton, {}, QPoint(700, 250));
  EXPECT_EQ(window.CommandBox()->text().toStdString(), "@spr CGIRL,");

  // The engine keeps the scene chosen here.
  window.CloseButton()->click();
  EXPECT_EQ(game.Engine().layers.backgroundName, "BGSKY");
  EXPECT_EQ(game.Engine().layers.spriteSpec, "CGIRL,");
  EXPECT_TRUE(Near(testing::Px(game.Engine().layers.scene, 250, 10), kGirl));
  EXPECT_EQ(testing::Px(game.Engine().layers.scene, 400, 10), kSky);
}

TEST_F(ScriptEditorSceneTest, InsertingGoesWhereTheLastCommandRanUntilTheCaretIsPut) {
  ScriptEditorWindow window(game.Engine(), game.Host().SettingsFolder());
  window.Open(game.Engine().script.pc);
  auto lines = [&] { return window.Text()->toPlainText().split('\n'); };
  // The sprite's command ran on line 1.
  window.CommandBox()->setText("@spr NEW");
  window.InsertButton()->click();
  EXPECT_EQ(lines()[1].toStdString(), "@spr NEW");
  EXPECT_EQ(lines()[2].toStdString(), "@spr CGIRL");
  EXPECT_EQ(window.LastEditedLine(), 2);
  // With "BG" selected, the background's command on line 0.
  window.Positions()->button(3)->click();
  window.CommandBox()->setText("@bg NEW");
  window.InsertButton()->click();
  EXPECT_EQ(lines()[0].toStdString(), "@bg NEW");
  EXPECT_EQ(lines()[1].toStdString(), "@bg BGSEA");
  EXPECT_EQ(window.LastEditedLine(), 1);
  EXPECT_EQ(window.EditedKinds(), kEditedPicture);
  // Once the developer puts the caret in the text, before the caret's line.
  QTextCursor cursor(window.Text()->document()->findBlockByNumber(4));
  window.Text()->setTextCursor(cursor);
  window.InsertButton()->click();
  EXPECT_EQ(lines()[4].toStdString(), "@bg NEW");
  EXPECT_EQ(lines()[5].toStdString(), "一。");
  EXPECT_EQ(window.LastEditedLine(), 5);
}

}  // namespace
}  // namespace torvel
