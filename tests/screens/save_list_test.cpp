// The save and load list window through the headless host: its rows from the slot files, the
// "dialog list" lines, comments, the questions before overwriting and deleting, sorting, the
// remembered row, and saves and loads that fail.
#include "screens/save_list.h"

#include <gtest/gtest.h>

#include "platform/headless/input_script.h"
#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

struct LabelCase {
  const char* label;
  std::string record;
  std::string date, details, comment;
};

class SlotLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(SlotLabelTest, ReadsEachFieldWithinItsBytesToItsFirstNul) {
  const SlotLabel label = ReadSlotLabel(GetParam().record);
  EXPECT_EQ(label.date, GetParam().date);
  EXPECT_EQ(label.details, GetParam().details);
  EXPECT_EQ(label.comment, GetParam().comment);
}

std::string Record(std::string text, size_t commentAt, std::string comment) {
  text.resize(commentAt, '\0');
  text += comment;
  text.resize(128, '\0');
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Records, SlotLabelTest,
    ::testing::Values(
        LabelCase{"AsSaved", Record("2000/01/01 00:02:05  title", 96, "memo"), "2000/01/01 00:02:05", " title", "memo"},
        // No NUL anywhere: each field stops at its own end, never in the next one.
        LabelCase{"NoTerminators", std::string(19, 'd') + "|" + std::string(75, 't') + "|" + std::string(32, 'c'),
                  std::string(19, 'd'), std::string(75, 't'), std::string(32, 'c')},
        LabelCase{"ShortRecord", std::string(50, 'y'), std::string(19, 'y'), std::string(30, 'y'), ""},
        LabelCase{"Empty", "", "", "", ""},
        LabelCase{"NulInsideTheDate", std::string("2000\0/01", 8) + std::string(120, 'z'), "2000", std::string(75, 'z'),
                  std::string(32, 'z')}),
    [](const auto& info) { return std::string(info.param.label); });

class SaveList : public ::testing::Test {
 protected:
  // A game without a save screen: the story waits on its first page with V001 = 11.
  TForm1& Start() {
    AddSaveGameAssets(game);
    game.Script("main", "@title 夜明けの駅\n@gra AB01,1\n!V001=11\nおはよう。\n\\\n!V001=22\n次。\n\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  std::filesystem::path Slot(int n) { return E().SlotFile(n); }
  // Queues input lines (the dialog lines for the window, answers for its questions).
  void Queue(const std::string& lines) {
    InputScript script = ParseInputScript(lines);
    ASSERT_EQ(script.error, "");
    game.Host().SetInput(std::move(script.events));
    game.Host().RunFrame();
  }
  // Opens the window as `save` and `load` do in this game, with `lines` queued for it.
  void Show(int mode, const std::string& lines) {
    Queue(lines);
    E().OpenSaveLoadScreen(mode);
  }
  std::string CommentBytes(int n) {
    const std::vector<uint8_t> file = FileBytes(Slot(n));
    if (file.size() < 128) return {};
    return std::string(reinterpret_cast<const char*>(&file[kSlotComment]), 32);
  }
  std::vector<std::string> Questions() {
    std::vector<std::string> out;
    for (const auto& m : game.Host().Messages()) out.push_back(SjisToUtf8(m.caption) + "|" + SjisToUtf8(m.text));
    return out;
  }

  GameFixture game;
};

TEST_F(SaveList, RowsFollowTheSlotFilesInSlotOrder) {
  Start();
  ASSERT_TRUE(E().SaveGame(3, true));
  ASSERT_TRUE(E().WriteSlotComment(3, "memo"));
  E().QuickSave();
  const std::vector<uint8_t> file = FileBytes(Slot(3));
  const std::string date(reinterpret_cast<const char*>(file.data()), 19);

  SaveListModel save(E(), 1);
  EXPECT_EQ(save.Caption(), "セーブ");
  ASSERT_EQ(save.RowCount(), 98);
  EXPECT_EQ(save.Row(97).slot, 98);
  EXPECT_EQ(save.RowOfSlot(99), -1);
  EXPECT_EQ(save.Cell(0, 0), "01");
  EXPECT_EQ(save.Cell(0, 1), " 未登録");
  EXPECT_EQ(save.Cell(0, 2), "");
  EXPECT_EQ(save.Cell(2, 0), "03");
  EXPECT_EQ(save.Cell(2, 1), date);
  EXPECT_EQ(save.Cell(2, 2), " 夜明けの駅");
  EXPECT_EQ(save.Cell(2, 3), "memo");

  SaveListModel load(E(), 0);
  EXPECT_EQ(load.Caption(), "ロード");
  ASSERT_EQ(load.RowCount(), 99);
  EXPECT_EQ(load.Cell(98, 0), "99");
  EXPECT_EQ(load.Cell(98, 3), "Quick Save");
}

TEST_F(SaveList, SaveLinesWriteTheStoryWithItsCommentCutAtACharacterBoundary) {
  Start();
  struct Case {
    int slot;
    std::string line;
    std::string comment;  // the 32 bytes expected at offset 96
  };
  const std::string nul(32, '\0');
  const std::vector<Case> cases = {
      {2, "save 2 メモ", std::string("\x83\x81\x83\x82", 4) + std::string(28, '\0')},
      {3, "save 3 " + std::string(40, 'x'), std::string(30, 'x') + std::string(2, '\0')},
      // The character across the 30-byte cut is dropped whole.
      {4, "save 4 " + std::string(29, 'a') + "駅", std::string(29, 'a') + std::string(3, '\0')},
      {5, "save 5", nul},
  };
  for (const Case& c : cases) {
    Show(1, "0 dialog list " + c.line + "\n");
    EXPECT_EQ(FileBytes(Slot(c.slot)).size(), kSlotEnd) << c.line;
    EXPECT_EQ(CommentBytes(c.slot), c.comment) << c.line;
  }
  EXPECT_EQ(Le32At(FileBytes(Slot(2)), kSlotVars + 4), 11);
  // Quiet saves: no banner.
  EXPECT_EQ(E().saves.lastBanner, "");
  EXPECT_TRUE(Questions().empty());
}

TEST_F(SaveList, SavingOverAUsedSlotAsksFirst) {
  Start();
  ASSERT_TRUE(E().SaveGame(4, true));
  const std::vector<uint8_t> before = FileBytes(Slot(4));
  E().vars.V(1) = 33;
  Show(1, "0 answer cancel\n0 dialog list save 4 new\n0 dialog list close\n");
  EXPECT_EQ(Questions(), std::vector<std::string>{"確認|上書きしてよろしいですか？"});
  EXPECT_EQ(FileBytes(Slot(4)), before);

  Show(1, "0 answer ok\n0 dialog list save 4 new\n");
  EXPECT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Le32At(FileBytes(Slot(4)), kSlotVars + 4), 33);
  EXPECT_EQ(CommentBytes(4).substr(0, 4), std::string("new\0", 4));
}

TEST_F(SaveList, DeletingAsksAndTheRowTurnsUnusedOnlyWhenTheFileIsGone) {
  Start();
  ASSERT_TRUE(E().SaveGame(5, true));
  E().vars.V(1) = 44;

  SaveListModel model(E(), 0);
  model.Select(model.RowOfSlot(5));
  game.Host().QueueAnswer(MessageResult::Cancel);
  EXPECT_FALSE(model.PressDelete());
  EXPECT_EQ(Questions(), std::vector<std::string>{"確認|スロット05のセーブデータを削除しますか？"});
  EXPECT_TRUE(std::filesystem::exists(Slot(5)));
  EXPECT_NE(model.Cell(4, 1), " 未登録");

  // Deleted through the lines; loading the row then does nothing and the window stays.
  Show(0, "0 answer ok\n0 dialog list delete 5\n0 dialog list load 5\n0 dialog list close\n");
  EXPECT_FALSE(std::filesystem::exists(Slot(5)));
  EXPECT_EQ(Questions().size(), 2u);
  EXPECT_EQ(E().vars.V(1), 44);

  SaveListModel after(E(), 0);
  after.Select(after.RowOfSlot(5));
  EXPECT_EQ(after.Cell(4, 1), " 未登録");
  EXPECT_EQ(after.Cell(4, 2), "");
  EXPECT_EQ(after.CommentBox(), "");
  EXPECT_FALSE(after.CommentButtonEnabled());
  EXPECT_FALSE(after.ConfirmAction());
}

TEST_F(SaveList, CommentsGoOnlyIntoSlotFilesHoldingAWholeLabel) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  Show(0, "0 dialog list comment 2 駅前\n0 dialog list comment 6 none\n0 dialog list close\n");
  EXPECT_EQ(CommentBytes(2).substr(0, 5), Utf8ToSjis("駅前") + '\0');
  EXPECT_EQ(FileBytes(Slot(2)).size(), kSlotEnd);
  EXPECT_FALSE(std::filesystem::exists(Slot(6)));

  // A file shorter than a label record is left alone, and its row shows no new comment.
  const std::vector<uint8_t> shortFile(100, 'q');
  ASSERT_TRUE(WriteFileAtomically(Slot(7), shortFile));
  // A file of exactly one label record takes the comment and keeps its length.
  const std::vector<uint8_t> labelOnly(128, 0);
  ASSERT_TRUE(WriteFileAtomically(Slot(8), labelOnly));
  SaveListModel model(E(), 0);
  model.Select(model.RowOfSlot(7));
  model.SetCommentBox("late");
  EXPECT_TRUE(model.CommentButtonEnabled());
  EXPECT_FALSE(model.PressComment());
  EXPECT_EQ(FileBytes(Slot(7)), shortFile);
  EXPECT_EQ(model.Cell(6, 3), "qqqq");  // what the file holds, not the comment refused
  model.Select(model.RowOfSlot(8));
  model.SetCommentBox("fits");
  EXPECT_TRUE(model.PressComment());
  const std::vector<uint8_t> written = FileBytes(Slot(8));
  ASSERT_EQ(written.size(), 128u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&written[96]), 5), std::string("fits\0", 5));
  EXPECT_EQ(model.Cell(7, 3), "fits");
  // The rewrite went through a temporary file renamed over the slot: none is left behind.
  for (const auto& entry : std::filesystem::directory_iterator(Slot(8).parent_path())) {
    EXPECT_EQ(entry.path().filename().string().rfind("save", 0), 0u) << entry.path();
  }
}

TEST_F(SaveList, HeaderClicksSortAscendingDescendingAscendingWithoutCaseAndStably) {
  Start();
  const std::vector<std::pair<int, std::string>> comments = {{2, "beta"}, {3, "Alpha"}, {5, "alpha"}, {7, "Gamma"}};
  for (const auto& [slot, comment] : comments) {
    ASSERT_TRUE(E().SaveGame(slot, true));
    ASSERT_TRUE(E().WriteSlotComment(slot, comment));
  }
  SaveListModel model(E(), 0);
  model.Select(model.RowOfSlot(5));
  auto slots = [&](int from, int count) {
    std::vector<int> out;
    for (int r = from; r < from + count; ++r) out.push_back(model.Row(r).slot);
    return out;
  };
  model.SortBy(3);
  EXPECT_EQ(slots(0, 3), (std::vector<int>{1, 4, 6}));  // empty comments first, in slot order
  EXPECT_EQ(slots(95, 4), (std::vector<int>{3, 5, 2, 7}));
  EXPECT_EQ(model.Row(model.Selected()).slot, 5);
  model.SortBy(3);
  EXPECT_FALSE(model.SortAscending());
  EXPECT_EQ(slots(0, 5), (std::vector<int>{7, 2, 3, 5, 1}));
  model.SortBy(3);
  EXPECT_TRUE(model.SortAscending());
  EXPECT_EQ(slots(95, 4), (std::vector<int>{3, 5, 2, 7}));
  model.SortBy(0);
  model.SortBy(0);
  EXPECT_EQ(slots(0, 2), (std::vector<int>{99, 98}));
  EXPECT_EQ(model.Row(model.Selected()).slot, 5);

  // Through the lines; the next showing starts in slot order again.
  Show(0, "0 dialog list sort 3\n0 dialog list sort 3\n0 dialog list close\n");
  SaveListModel again(E(), 0);
  EXPECT_EQ(again.SortColumn(), -1);
  EXPECT_EQ(again.Row(0).slot, 1);
  EXPECT_EQ(again.Row(98).slot, 99);
}

TEST_F(SaveList, TheSelectedSlotIsRememberedBetweenShowings) {
  Start();
  ASSERT_TRUE(E().SaveGame(6, true));
  ASSERT_TRUE(E().WriteSlotComment(6, "six"));
  SaveListModel first(E(), 0);
  EXPECT_EQ(first.Selected(), 0);
  first.Select(first.RowOfSlot(6));
  EXPECT_EQ(first.CommentBox(), "six");
  SaveListModel second(E(), 0);
  EXPECT_EQ(second.Row(second.Selected()).slot, 6);
  EXPECT_EQ(second.CommentBox(), "six");
  EXPECT_TRUE(second.CommentButtonEnabled());
  second.Select(second.RowOfSlot(99));
  // Save mode has no row 99: its last row is selected.
  SaveListModel save(E(), 1);
  EXPECT_EQ(save.Row(save.Selected()).slot, 98);
  EXPECT_FALSE(save.CommentButtonEnabled());
}

TEST_F(SaveList, AFailedSaveOrLoadSaysSoAndTheWindowStays) {
  Start();
  // A folder where the slot file should be: the save cannot replace it.
  std::filesystem::create_directories(Slot(4));
  Show(1, "0 answer ok\n0 dialog list save 4 memo\n0 dialog list save 6 fine\n");
  EXPECT_EQ(E().saves.lastBanner, Utf8ToSjis("セーブできませんでした"));
  EXPECT_TRUE(std::filesystem::is_directory(Slot(4)));
  // The window took the next line after the failure.
  EXPECT_EQ(CommentBytes(6).substr(0, 5), std::string("fine\0", 5));

  E().saves.lastBanner.clear();
  ASSERT_TRUE(WriteFileAtomically(Slot(8), std::vector<uint8_t>(10, 'x')));
  E().vars.V(1) = 55;
  Show(0, "0 dialog list load 8\n0 dialog list load 6\n");
  EXPECT_EQ(E().saves.lastBanner, Utf8ToSjis("ロードできませんでした"));
  // The second line loaded slot 6 and closed the window.
  EXPECT_EQ(E().vars.V(1), 11);
}

TEST_F(SaveList, ALoadLineRestoresTheStoryAndClosesTheWindow) {
  Start();
  ASSERT_TRUE(E().SaveGame(9, true));
  game.Click();
  game.RunToWait();
  ASSERT_EQ(E().vars.V(1), 22);
  Show(0, "0 dialog list load 9\n0 dialog list close\n");
  EXPECT_EQ(E().vars.V(1), 11);
  EXPECT_EQ(E().saves.lastBanner, "");
  // The close line was left for the next showing, which it closes at once.
  E().vars.V(1) = 66;
  Show(0, "0 dialog list load 9\n");
  EXPECT_EQ(E().vars.V(1), 66);
}

TEST_F(SaveList, LinesTheWindowCannotActOnAreNoted) {
  Start();
  ::testing::internal::CaptureStderr();
  Show(1, "0 dialog list save 99\n0 dialog list load 3\n0 dialog list comment 6 x\n0 dialog list close\n");
  const std::string notes = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(notes.find("dialog list: no slot 99 in the list"), std::string::npos) << notes;
  EXPECT_NE(notes.find("dialog list: the window is in save mode"), std::string::npos) << notes;
  EXPECT_NE(notes.find("dialog list: slot 6 holds no save to comment"), std::string::npos) << notes;
  EXPECT_FALSE(std::filesystem::exists(Slot(99)));
  EXPECT_FALSE(std::filesystem::exists(Slot(6)));
}

}  // namespace
}  // namespace torvel
