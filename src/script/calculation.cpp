// Calculation lines and `calc`: assignment lists on the variable store.
#include "shell/engine.h"

namespace torvel {

void TForm1::RunCalculation(std::string_view) {}

}  // namespace torvel
