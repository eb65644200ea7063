// Special scene commands and the scene operations the interpreter calls. Until the scenes land
// they change nothing beyond stopping skip and auto mode as every screen does.
#include "shell/engine.h"

namespace torvel {

int TForm1::CmdViewer(std::string_view) {
  StopSkipAndAuto(true);
  return 1;
}

int TForm1::CmdKaisou(std::string_view) { return 1; }

// Leaves a scene replayed from the CG viewer.
void TForm1::EndViewerReplay() {}

// Leaves (or moves on in) a scene replayed from recollection.
void TForm1::EndRecollectionReplay() {}

// The number of pictures on the CG viewer's picture list.
int TForm1::CgPictureCount() const { return 0; }

}  // namespace torvel
