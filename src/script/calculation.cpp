// Calculation lines ("!") and `calc`: assignment lists on the variable store.
#include "script/expressions.h"
#include "shell/engine.h"

namespace torvel {

void TForm1::RunCalculation(std::string_view assignments) {
  // The main menu's enabled items follow S000 and S028.
  if (Assign(assignments, vars, random).menusChanged) UpdateMenus();
}

int TForm1::CmdCalc(std::string_view arg) {
  RunCalculation(arg);
  return 0;
}

}  // namespace torvel
