#pragma once
// What the player has been told about troubles the game goes on through: each is told once per
// run, however often it happens.
#include <set>
#include <string>

namespace torvel {

struct Notices {
  bool settingsNotSaved = false;
  bool noJapaneseFont = false;
  std::set<std::string> oversizedScripts;  // upper-cased names of scripts refused for their size
};

}  // namespace torvel
