// The backlog, the page history and the hidden message window as input reaches them. Empty until
// the backlog lands.
#include "shell/engine.h"

namespace torvel {

void TForm1::OpenBacklog() {}

void TForm1::CloseBacklog() {}

void TForm1::BacklogHover(int, int) {}

void TForm1::BacklogClick(MouseButton, int, int) {}

void TForm1::BacklogMouseUp(int, int) {}

void TForm1::ScrollBacklog(int) {}

void TForm1::OpenPageHistory() {}

void TForm1::LeavePageHistory() {}

void TForm1::PageHistoryOlder() {}

void TForm1::PageHistoryNewer() {}

void TForm1::HideWindow() {}

void TForm1::ShowWindowAgain() {}

}  // namespace torvel
