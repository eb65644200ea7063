// The script loader: brings a script or table from the data archives into the scenario or the
// auxiliary buffer.
#include <algorithm>
#include <cstring>

#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

bool TForm1::LoadScript(std::string_view name, int target) {
  if (target != 1 && target != 2) return false;
  const std::string upper = SjisUpper(name);
  MarkViewerSceneSeen(upper);
  // A name or number being inserted belongs to the line of the script being left.
  text.insertText.clear();
  // The interpreter keeps 29 bytes of a scenario's name: a longer one could be loaded but never
  // returned to, so it is not loaded at all.
  if (target == 1 && name.size() > kScriptNameMax) return false;
  const ArchiveIndex* holder = &archives.data2;
  int entry = holder->FindEntry(name);
  if (entry < 0) {
    holder = &archives.data;
    entry = holder->FindEntry(name);
  }
  if (entry < 0) return false;
  // A body larger than the script buffer is refused rather than cut, and the player is told.
  if (holder->sizes[static_cast<size_t>(entry)] > kScriptBufferSize) {
    NoticeScriptTooLarge(name);
    return false;
  }
  std::vector<uint8_t> body;
  if (!ReadEntry(*holder, entry, body)) return false;
  NegateBytes(body);
  NoteRecollectionScript(upper);
  std::vector<uint8_t>& buffer = target == 1 ? script.scenario : script.aux;
  std::copy(body.begin(), body.end(), buffer.begin());
  if (target == 1) {
    script.loadedScript = std::string(name);
    script.scenarioSize = static_cast<int>(body.size());
    script.pc = 0;
    script.needLine = true;
    ctl.scriptRunning = true;
    vars.S(10) = 0;
    devtools.scripts.NoteLoaded(name);
  } else {
    script.auxSize = static_cast<int>(body.size());
    script.auxPos = 0;
  }
  return true;
}

std::string TForm1::ReadAuxLine(int& position) const {
  if (position < 0 || position >= script.auxSize) {
    position = std::max(position, script.auxSize);
    return std::string();
  }
  const uint8_t* begin = script.aux.data() + position;
  size_t left = static_cast<size_t>(script.auxSize - position);
  const void* nul = std::memchr(begin, 0, left);
  // A last line without its NUL ends at the end of the data.
  size_t length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - begin) : left;
  position += static_cast<int>(nul ? length + 1 : length);
  return std::string(reinterpret_cast<const char*>(begin), length);
}

}  // namespace torvel
