// Per-frame and per-tick work of the special scenes that take over the frame loop.
#include "shell/engine.h"

namespace torvel {

void TForm1::StaffRollFrame() {}

void TForm1::StaffRollTick() {}

void TForm1::TitleMapFrame() {}

void TForm1::CgViewerFrame() {}

void TForm1::RecollectionTick() {}

}  // namespace torvel
