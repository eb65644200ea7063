#include "platform/headless/dialog_answers.h"

#include <cctype>
#include <charconv>

#include "screens/name_entry.h"
#include "screens/save_list.h"
#include "screens/settings_dialog.h"

namespace torvel {

namespace {

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool ParseNumber(std::string_view s, int& value) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

struct Word {
  std::string text;
  bool quoted = false;
};

// Blank-separated words; double quotes hold blanks and are removed ("" is an empty word).
bool SplitWords(std::string_view text, std::vector<Word>& words, std::string& error) {
  size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) return true;
    Word word;
    while (i < text.size() && !IsBlank(text[i])) {
      if (text[i] != '"') {
        word.text += text[i++];
        continue;
      }
      const size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) {
        error = "unclosed quote";
        return false;
      }
      word.text.append(text.substr(i + 1, close - i - 1));
      word.quoted = true;
      i = close + 1;
    }
    words.push_back(std::move(word));
  }
}

// The first blank-separated word of `text`, taken off it.
std::string_view TakeWord(std::string_view& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  size_t end = i;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  std::string_view word = text.substr(i, end - i);
  text.remove_prefix(end);
  return word;
}

// The rest of a line after the blanks that separate it, without the blanks that end it.
std::string_view RestOfLine(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool ParseName(std::string_view text, NameAnswer& answer, std::string& error) {
  std::vector<Word> words;
  if (!SplitWords(text, words, error)) return false;
  if (words.empty() || words.size() > static_cast<size_t>(NameEntryModel::kFieldCount)) {
    error = "expected one to three names or default";
    return false;
  }
  if (words.size() == 1 && !words[0].quoted && words[0].text == "default") {
    answer.pressDefault = true;
    return true;
  }
  for (const Word& word : words) {
    if (!word.quoted && word.text == "-") {
      answer.fields.emplace_back();
    } else {
      answer.fields.emplace_back(word.text);
    }
  }
  return true;
}

bool ParseSettings(std::string_view text, SettingsAnswer& answer, std::string& error) {
  std::vector<Word> words;
  if (!SplitWords(text, words, error)) return false;
  for (const Word& word : words) {
    const size_t equals = word.text.find('=');
    const std::string name = word.text.substr(0, equals);
    const SettingsControlInfo* info = FindSettingsControl(name);
    if (!info) {
      error = "unknown control " + name;
      return false;
    }
    SettingsAnswer::Change change;
    change.control = name;
    if (info->kind == ControlKind::Button) {
      if (equals != std::string::npos) {
        error = name + " takes no value";
        return false;
      }
    } else if (equals == std::string::npos) {
      error = "expected " + name + "=VALUE";
      return false;
    } else if (info->kind == ControlKind::Combo) {
      change.text = word.text.substr(equals + 1);
    } else if (!ParseNumber(std::string_view(word.text).substr(equals + 1), change.number)) {
      error = "expected a number for " + name;
      return false;
    }
    answer.changes.push_back(std::move(change));
  }
  return true;
}

bool ParseList(std::string_view text, ListAnswer& answer, std::string& error) {
  using A = ListAnswer::Action;
  const std::string_view action = TakeWord(text);
  struct Form {
    std::string_view name;
    A action;
  };
  static constexpr Form kForms[] = {{"save", A::Save},     {"load", A::Load}, {"comment", A::Comment},
                                    {"delete", A::Delete}, {"sort", A::Sort}, {"close", A::Close}};
  const Form* form = nullptr;
  for (const Form& f : kForms) {
    if (f.name == action) form = &f;
  }
  if (!form) {
    error = "expected save, load, comment, delete, sort or close";
    return false;
  }
  answer.action = form->action;
  if (answer.action == A::Close) {
    if (!RestOfLine(text).empty()) error = "too many words";
    return error.empty();
  }
  const std::string_view number = TakeWord(text);
  if (answer.action == A::Sort) {
    if (!ParseNumber(number, answer.number) || answer.number < 0 || answer.number > 3) {
      error = "expected a column from 0 to 3";
      return false;
    }
  } else if (!ParseNumber(number, answer.number) || answer.number < 1 || answer.number > 99) {
    error = "expected a slot from 1 to 99";
    return false;
  }
  const std::string_view rest = RestOfLine(text);
  if (answer.action == A::Save || answer.action == A::Comment) {
    if (!rest.empty() || answer.action == A::Comment) answer.text = std::string(rest);
  } else if (!rest.empty()) {
    error = "too many words";
    return false;
  }
  return true;
}

}  // namespace

bool ParseDialogAnswer(std::string_view text, DialogAnswer& answer, std::string& error) {
  const std::string_view window = TakeWord(text);
  if (window == "name") {
    answer.window = DialogAnswer::Window::Name;
    return ParseName(text, answer.name, error);
  }
  if (window == "settings") {
    answer.window = DialogAnswer::Window::Settings;
    return ParseSettings(text, answer.settings, error);
  }
  if (window == "list") {
    answer.window = DialogAnswer::Window::List;
    return ParseList(text, answer.list, error);
  }
  error = "expected name, settings or list";
  return false;
}

void AnswerNameEntry(NameEntryModel& model, std::deque<NameAnswer>& queue, std::ostream& notes) {
  bool pressed = false;
  while (!queue.empty()) {
    const NameAnswer answer = std::move(queue.front());
    queue.pop_front();
    if (answer.pressDefault) model.PressDefault();
    for (size_t i = 0; i < answer.fields.size(); ++i) {
      if (answer.fields[i]) model.SetField(static_cast<int>(i), *answer.fields[i]);
    }
    pressed = true;
    if (model.PressOk()) return;
  }
  if (!pressed && model.PressOk()) return;
  // A player would stay in the window; a run without more answers goes on without the names.
  notes << "dialog name: names refused\n";
}

void AnswerSettingsDialog(SettingsDialogModel& model, std::deque<SettingsAnswer>& queue, std::ostream& notes) {
  if (queue.empty()) return;
  const SettingsAnswer answer = std::move(queue.front());
  queue.pop_front();
  for (const SettingsAnswer::Change& change : answer.changes) {
    const SettingsControlInfo* info = FindSettingsControl(change.control);
    if (!info) continue;
    if (!model.Visible(info->id)) {
      notes << "dialog settings: " << change.control << " is not shown\n";
      continue;
    }
    if (info->kind == ControlKind::Button) {
      model.Press(info->id);
    } else if (info->kind == ControlKind::Combo) {
      const auto& faces = model.Faces();
      size_t index = 0;
      while (index < faces.size() && faces[index] != change.text) ++index;
      if (index == faces.size()) {
        notes << "dialog settings: no face " << change.text << "\n";
        continue;
      }
      model.Change(info->id, static_cast<int>(index));
    } else {
      model.Change(info->id, change.number);
    }
  }
}

namespace {

// Selects the row of `slot` as a click would; false, with a note, when the list has no such row.
bool SelectSlot(SaveListModel& model, int slot, std::ostream& notes) {
  const int row = model.RowOfSlot(slot);
  if (row < 0) {
    notes << "dialog list: no slot " << slot << " in the list\n";
    return false;
  }
  model.Select(row);
  return true;
}

// One answer; true when it closed the window.
bool AnswerListLine(SaveListModel& model, const ListAnswer& answer, std::ostream& notes) {
  using A = ListAnswer::Action;
  switch (answer.action) {
    case A::Close: return true;
    case A::Sort: model.SortBy(answer.number); return false;
    case A::Save:
    case A::Load: {
      if ((answer.action == A::Save) != (model.Mode() == 1)) {
        notes << "dialog list: the window is in " << (model.Mode() == 1 ? "save" : "load") << " mode\n";
        return false;
      }
      if (!SelectSlot(model, answer.number, notes)) return false;
      if (answer.text) model.SetCommentBox(*answer.text);
      return model.ConfirmAction() && model.PerformAction();
    }
    case A::Comment:
      if (!SelectSlot(model, answer.number, notes)) return false;
      model.SetCommentBox(answer.text.value_or(""));
      if (!model.CommentButtonEnabled()) {
        notes << "dialog list: slot " << answer.number << " holds no save to comment\n";
      } else {
        model.PressComment();
      }
      return false;
    case A::Delete:
      if (SelectSlot(model, answer.number, notes)) model.PressDelete();
      return false;
  }
  return false;
}

}  // namespace

void AnswerSaveList(SaveListModel& model, std::deque<ListAnswer>& queue, std::ostream& notes) {
  while (!queue.empty()) {
    const ListAnswer answer = std::move(queue.front());
    queue.pop_front();
    if (AnswerListLine(model, answer, notes)) return;
  }
}

}  // namespace torvel
