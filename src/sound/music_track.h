#pragma once
// The entry of music track N in the music archive: "M01", "M12", "M123".
#include <cstdio>
#include <string>

namespace torvel {

inline std::string MusicTrackName(int n) {
  char name[16];
  std::snprintf(name, sizeof name, "M%02d", n);
  return name;
}

}  // namespace torvel
