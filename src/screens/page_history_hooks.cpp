// The page history that page waits record into.
#include "shell/engine.h"

namespace torvel {

void TForm1::RecordPage() {}

}  // namespace torvel
