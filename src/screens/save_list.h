#pragma once
// The save and load list window's model: one row per slot file with its date, details and
// comment, a comment box, and the buttons that save or load, write a comment, delete a slot and
// close the window. Games without pictures for the in-game save screen save and load here. The
// model keeps Shift-JIS as the files hold it; the text it hands to a view is UTF-8.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

class TForm1;

inline constexpr std::array<std::string_view, 4> kSaveListColumns = {"スロット", "更新日時", "詳細",
                                                                     "ユーザーコメント"};
inline constexpr std::string_view kSaveListUnused = " 未登録";
inline constexpr std::string_view kSaveListSave = "セーブ";
inline constexpr std::string_view kSaveListLoad = "ロード";
inline constexpr std::string_view kSaveListCommentButton = "コメント登録(最大全角15文字)";
inline constexpr std::string_view kSaveListDeleteButton = "削除";
inline constexpr std::string_view kSaveListCloseButton = "閉じる";
inline constexpr std::string_view kSaveListQuestionCaption = "確認";
inline constexpr std::string_view kSaveListOverwriteQuestion = "上書きしてよろしいですか？";
inline constexpr std::string_view kSaveListDeleteQuestion = "スロット%02dのセーブデータを削除しますか？";
constexpr int kSaveListWidth = 494;
constexpr int kSaveListHeight = 408;
constexpr int kSaveListColumnCount = 4;
// Save mode offers slots 1..98 (99 belongs to quick save); load mode 1..99.
constexpr int kSaveListLastSaveSlot = 98;

// The fields of a slot file's 128-byte label record as the list shows them, each read within its
// own bytes up to its first NUL: the date and time (bytes 0..18), the details (20..94) and the
// comment (96..127). A short record reads as zeros past its end.
struct SlotLabel {
  std::string date;
  std::string details;
  std::string comment;
};
SlotLabel ReadSlotLabel(std::string_view record);

struct SaveListRow {
  int slot = 0;
  bool used = false;  // a slot file exists
  SlotLabel label;    // Shift-JIS; empty for an unused slot
};

class SaveListModel {
 public:
  // Showing: the rows in slot order from the slot files as they are now; the row of the slot
  // selected last time (at most the last row) is selected.
  SaveListModel(TForm1& engine, int mode);

  int Mode() const { return mode_; }  // 1 save, 0 load
  // "セーブ" or "ロード": the caption, the label above the list and the action button.
  std::string_view Caption() const { return mode_ == 1 ? kSaveListSave : kSaveListLoad; }

  int RowCount() const { return static_cast<int>(rows_.size()); }
  const SaveListRow& Row(int row) const { return rows_.at(static_cast<size_t>(row)); }
  // The text a cell shows (UTF-8): "%02d", the date or " 未登録", the details, the comment.
  std::string Cell(int row, int column) const;
  // The row showing `slot`, or -1.
  int RowOfSlot(int slot) const;

  int Selected() const { return selected_; }
  // A click or an arrow key on a row: the comment box shows the slot's comment (emptied for an
  // unused slot) and the comment button follows whether the slot is used.
  void Select(int row);

  const std::string& CommentBox() const { return commentBox_; }
  void SetCommentBox(std::string_view utf8) { commentBox_ = std::string(utf8); }
  bool CommentButtonEnabled() const;

  // A header click: ascending by that column, the same column again descending, then ascending
  // again. Texts compare without regard to letter case; equal rows keep their order. The
  // selection stays on its slot.
  void SortBy(int column);
  int SortColumn() const { return sortColumn_; }  // -1 while in slot order
  bool SortAscending() const { return sortAscending_; }

  // The action button, a double-click or Enter in the list, taken in two steps so that a window
  // can hide itself between them. ConfirmAction: whether to go on; saving over a used slot asks
  // first, and an unused row in load mode does nothing. PerformAction: saves the story with the
  // comment box's text as its comment, or loads it; true when that succeeded and the window
  // closes. A failure has shown its banner and leaves the row as it was.
  bool ConfirmAction();
  bool PerformAction();

  // "コメント登録": writes the comment box's text (its first 30 bytes, cut at a character
  // boundary) into the selected used slot; the row shows the comment once it is on the disk.
  bool PressComment();
  // "削除": asks, then deletes the selected slot's file; the row turns " 未登録" once the file is
  // gone. True when it was deleted.
  bool PressDelete();

 private:
  void ReadRow(SaveListRow& row) const;

  TForm1& engine_;
  int mode_;
  std::vector<SaveListRow> rows_;
  int selected_ = 0;
  std::string commentBox_;  // UTF-8
  int sortColumn_ = -1;
  bool sortAscending_ = true;
};

}  // namespace torvel
