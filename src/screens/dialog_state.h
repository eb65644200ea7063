#pragma once
// What the dialog windows keep between showings: the list window's chosen slot and the settings
// dialog's note that the text needs rebuilding after it closes.
namespace torvel {

struct DialogState {
  // Set by every change of the font or the text background in the settings dialog; read and
  // cleared by ApplySettingsDialog.
  bool textSettingsChanged = false;
  // The slot last chosen in the save and load list window, chosen again at its next showing.
  int listSlot = 1;
};

}  // namespace torvel
