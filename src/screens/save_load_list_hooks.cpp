// The save and load list window, used instead of the in-game screen when the game has no
// background for it.
#include "screens/save_list.h"
#include "shell/engine.h"

namespace torvel {

void TForm1::ShowSaveLoadList(int mode) {
  SaveListModel model(*this, mode);
  host.ShowSaveList(model);
}

}  // namespace torvel
