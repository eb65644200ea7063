#pragma once
// The answers a headless run gives the dialog windows: input lines "MS dialog name …",
// "MS dialog settings …" and "MS dialog list …", queued per window when their time comes and
// taken when the window shows, as a player would fill and press its controls.
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

class NameEntryModel;
class SettingsDialogModel;
class SaveListModel;

// "name TEXT1 [TEXT2 [TEXT3]]" (UTF-8; "-" keeps a field, "" empties it) or "name default".
struct NameAnswer {
  bool pressDefault = false;
  std::vector<std::optional<std::string>> fields;  // nothing: the field is kept
};

// "settings NAME=VALUE …": controls changed in order, then "閉じる".
struct SettingsAnswer {
  struct Change {
    std::string control;
    int number = 0;    // radio groups, check boxes, track bars, the size field
    std::string text;  // the font list: a face name
  };
  std::vector<Change> changes;
};

// "list save N [TEXT]", "list load N", "list comment N TEXT", "list delete N", "list sort COLUMN",
// "list close".
struct ListAnswer {
  enum class Action { Save, Load, Comment, Delete, Sort, Close };
  Action action = Action::Close;
  int number = 0;  // a slot, or a column
  std::optional<std::string> text;
};

struct DialogAnswer {
  enum class Window { Name, Settings, List };
  Window window = Window::Name;
  NameAnswer name;
  SettingsAnswer settings;
  ListAnswer list;
};

// Reads what follows "dialog" on an input line. False, with `error` saying why, for a malformed
// line or an unknown control.
bool ParseDialogAnswer(std::string_view text, DialogAnswer& answer, std::string& error);

// One showing of each window, answered from its queue; what a player could not do is noted.
void AnswerNameEntry(NameEntryModel& model, std::deque<NameAnswer>& queue, std::ostream& notes);
void AnswerSettingsDialog(SettingsDialogModel& model, std::deque<SettingsAnswer>& queue, std::ostream& notes);
void AnswerSaveList(SaveListModel& model, std::deque<ListAnswer>& queue, std::ostream& notes);

}  // namespace torvel
