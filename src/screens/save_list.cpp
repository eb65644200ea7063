// The save and load list window: its rows from the slot files' label records, sorting, the
// comment box, and the buttons that save, load, comment and delete.
#include "screens/save_list.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "screens/slot_image.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr size_t kLabelRecordBytes = 128;
struct LabelField {
  size_t begin;
  size_t end;
};
constexpr LabelField kDateField{0, 19};
constexpr LabelField kDetailsField{20, 95};
constexpr LabelField kCommentLabelField{96, 128};

std::string FieldText(std::string_view record, LabelField field) {
  if (field.begin >= record.size()) return {};
  std::string_view bytes = record.substr(field.begin, std::min(record.size(), field.end) - field.begin);
  return std::string(bytes.substr(0, bytes.find('\0')));
}

// The text compared when sorting: single-byte letters folded to lower case, two-byte characters
// as they are (their trail bytes may look like letters).
std::string SortKey(std::string_view sjis) {
  std::string key;
  key.reserve(sjis.size());
  for (size_t i = 0; i < sjis.size();) {
    const size_t length = SjisCharLength(sjis, i);
    if (length == 1) {
      const char c = sjis[i];
      key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    } else {
      key.append(sjis.substr(i, length));
    }
    i += length;
  }
  return key;
}

std::string SlotNumberText(int slot) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", slot);
  return text;
}

// A cell's Shift-JIS text.
std::string CellBytes(const SaveListRow& row, int column) {
  switch (column) {
    case 0: return SlotNumberText(row.slot);
    case 1: return row.used ? row.label.date : std::string(Utf8ToSjis(kSaveListUnused));
    case 2: return row.label.details;
    case 3: return row.label.comment;
    default: return {};
  }
}

}  // namespace

SlotLabel ReadSlotLabel(std::string_view record) {
  return SlotLabel{FieldText(record, kDateField), FieldText(record, kDetailsField),
                   FieldText(record, kCommentLabelField)};
}

SaveListModel::SaveListModel(TForm1& engine, int mode) : engine_(engine), mode_(mode == 1 ? 1 : 0) {
  const int last = mode_ == 1 ? kSaveListLastSaveSlot : kLastSlot;
  rows_.resize(static_cast<size_t>(last));
  for (int slot = kFirstSlot; slot <= last; ++slot) {
    SaveListRow& row = rows_[static_cast<size_t>(slot - 1)];
    row.slot = slot;
    ReadRow(row);
  }
  Select(std::clamp(engine_.saveScreen.listSlot, kFirstSlot, last) - 1);
}

void SaveListModel::ReadRow(SaveListRow& row) const {
  const std::filesystem::path file = engine_.SlotFile(row.slot);
  std::error_code ec;
  row.used = std::filesystem::exists(file, ec);
  row.label = {};
  if (!row.used) return;
  std::vector<uint8_t> record;
  if (!ReadFileStart(file, kLabelRecordBytes, record)) return;
  row.label = ReadSlotLabel(std::string_view(reinterpret_cast<const char*>(record.data()), record.size()));
}

std::string SaveListModel::Cell(int row, int column) const {
  if (row < 0 || row >= RowCount()) return {};
  return SjisToUtf8(CellBytes(rows_[static_cast<size_t>(row)], column));
}

int SaveListModel::RowOfSlot(int slot) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].slot == slot) return static_cast<int>(i);
  }
  return -1;
}

void SaveListModel::Select(int row) {
  if (row < 0 || row >= RowCount()) return;
  selected_ = row;
  const SaveListRow& r = rows_[static_cast<size_t>(row)];
  engine_.saveScreen.listSlot = r.slot;
  commentBox_ = r.used ? SjisToUtf8(r.label.comment) : std::string();
}

bool SaveListModel::CommentButtonEnabled() const { return Row(selected_).used; }

void SaveListModel::SortBy(int column) {
  if (column < 0 || column >= kSaveListColumnCount) return;
  sortAscending_ = column != sortColumn_ || !sortAscending_;
  sortColumn_ = column;
  const int selectedSlot = Row(selected_).slot;
  std::vector<std::pair<std::string, SaveListRow>> keyed;
  keyed.reserve(rows_.size());
  for (SaveListRow& row : rows_) keyed.emplace_back(SortKey(CellBytes(row, column)), std::move(row));
  const bool ascending = sortAscending_;
  std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
    return ascending ? a.first < b.first : b.first < a.first;
  });
  for (size_t i = 0; i < keyed.size(); ++i) rows_[i] = std::move(keyed[i].second);
  selected_ = RowOfSlot(selectedSlot);
}

bool SaveListModel::ConfirmAction() {
  const SaveListRow& row = Row(selected_);
  if (mode_ == 0) return row.used;
  if (!row.used) return true;
  return engine_.host.ShowMessage(Utf8ToSjis(kSaveListQuestionCaption), Utf8ToSjis(kSaveListOverwriteQuestion),
                                  MessageButtons::OkCancel, MessageIcon::Question) == MessageResult::Ok;
}

bool SaveListModel::PerformAction() {
  SaveListRow& row = rows_[static_cast<size_t>(selected_)];
  if (mode_ == 1) {
    // The comment goes into the same write as the story, so a slot never holds one without the
    // other.
    const std::string comment(SjisCut(Utf8ToSjis(commentBox_), kCommentMax));
    return engine_.SaveGameWithComment(row.slot, true, comment);
  }
  std::error_code ec;
  if (!std::filesystem::exists(engine_.SlotFile(row.slot), ec)) {
    // Gone since the window showed: the load has nothing to say about it, the window does.
    engine_.ShowBanner(Utf8ToSjis("ロードできませんでした"), 1000);
    return false;
  }
  return engine_.LoadGame(row.slot, true);
}

bool SaveListModel::PressComment() {
  SaveListRow& row = rows_[static_cast<size_t>(selected_)];
  if (!row.used) return false;
  if (!engine_.WriteSlotComment(row.slot, Utf8ToSjis(commentBox_))) return false;
  ReadRow(row);
  commentBox_ = SjisToUtf8(row.label.comment);
  return true;
}

bool SaveListModel::PressDelete() {
  SaveListRow& row = rows_[static_cast<size_t>(selected_)];
  if (!row.used) return false;
  std::string question(kSaveListDeleteQuestion);
  question.replace(question.find("%02d"), 4, SlotNumberText(row.slot));
  if (engine_.host.ShowMessage(Utf8ToSjis(kSaveListQuestionCaption), Utf8ToSjis(question), MessageButtons::OkCancel,
                               MessageIcon::Question) != MessageResult::Ok) {
    return false;
  }
  const std::filesystem::path file = engine_.SlotFile(row.slot);
  std::error_code ec;
  std::filesystem::remove(file, ec);
  ReadRow(row);
  if (row.used) return false;
  commentBox_.clear();
  return true;
}

}  // namespace torvel
