// Name entry: the `setname` window's fields, the name rule, and the names it accepts.
#include "screens/name_entry.h"

#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr size_t kNameMaxBytes = 12;  // six full-width characters

struct NameField {
  std::string GameConfig::*defaultName;
  std::string PlayerSettings::*playerName;
  std::string_view setting;
};

constexpr NameField kNameFields[NameEntryModel::kFieldCount] = {
    {&GameConfig::DEFAULT_NAME, &PlayerSettings::PlayerName, "PlayerName"},
    {&GameConfig::DEFAULT_NAME2, &PlayerSettings::PlayerName2, "PlayerName2"},
    {&GameConfig::DEFAULT_NAME3, &PlayerSettings::PlayerName3, "PlayerName3"},
};

}  // namespace

bool IsValidPlayerName(std::string_view sjis) {
  if (sjis.empty() || sjis.size() > kNameMaxBytes || sjis.size() % 2 != 0) return false;
  for (size_t i = 0; i < sjis.size(); i += 2) {
    if (!IsSjisLeadByte(static_cast<uint8_t>(sjis[i]))) return false;
  }
  return IsSjisDefined(sjis);
}

NameEntryModel::NameEntryModel(TForm1& engine) : engine_(engine) {
  for (size_t i = 0; i < fields_.size(); ++i) fields_[i] = SjisToUtf8(engine_.text.nameSlots[i]);
}

void NameEntryModel::SetField(int index, std::string_view utf8) {
  if (index < 0 || index >= kFieldCount) return;
  fields_[static_cast<size_t>(index)] = std::string(utf8);
}

void NameEntryModel::PressDefault() {
  for (size_t i = 0; i < fields_.size(); ++i) fields_[i] = SjisToUtf8(engine_.config.*kNameFields[i].defaultName);
}

bool NameEntryModel::PressOk() {
  refused_ = -1;
  for (size_t i = 0; i < fields_.size(); ++i) {
    const NameField& field = kNameFields[i];
    const std::string& defaultName = engine_.config.*field.defaultName;
    // A game without this name never asks for it.
    if (defaultName.empty()) continue;
    std::string name;
    bool accepted = false;
    // The game's own default passes whatever it holds, also as the slot keeps it: a default the
    // rule refused would keep the player in the window for good.
    if (fields_[i] == SjisToUtf8(defaultName) || fields_[i] == SjisToUtf8(SjisCut(defaultName, kNameSlotMax))) {
      name = defaultName;
      accepted = true;
    } else {
      accepted = Utf8ToSjisExact(fields_[i], name) && IsValidPlayerName(name);
    }
    if (!accepted) {
      fields_[i] = SjisToUtf8(engine_.text.nameSlots[i]);
      refused_ = static_cast<int>(i);
      return false;
    }
    name = std::string(SjisCut(name, kNameSlotMax));
    engine_.settings.*field.playerName = name;
    engine_.text.nameSlots[i] = name;
  }
  // All three are stored, edited or not: a name the game does not ask for keeps its current value.
  for (const NameField& field : kNameFields) engine_.WriteSetting(field.setting, engine_.settings.*field.playerName);
  return true;
}

void TForm1::ShowNameEntry() {
  NameEntryModel model(*this);
  host.ShowNameEntry(model);
}

}  // namespace torvel
