// The engine's side of the debug script set and the debug settings.
#include "devtools/debug_settings.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

std::filesystem::path TForm1::DebugSettingsFile() {
  return torvel::DebugSettingsFile(host.SettingsFolder(), config.GAME_ID);
}

void TForm1::RebuildDebugScriptSet() {
  SettingsStore store = DebugSettingsStore(host.SettingsFolder(), config.GAME_ID);
  store.Load();
  // Folder names are kept in the store as Shift-JIS like every engine text.
  const std::string folder = SjisToUtf8(store.ReadText("DBG_SCRIPT_PATH", ""));
  devtools.scripts.Rebuild(std::filesystem::path(folder));
  if (!script.loadedScript.empty()) devtools.scripts.NoteLoaded(script.loadedScript);
}

void TForm1::ReturnFromScriptEditor(int tag) {
  if (tag != script.pc) {
    ClearPage();
    script.needLine = true;
    script.pc = ClampRestartPosition(tag, script.scenarioSize);
  }
  ctl.scriptRunning = true;
}

}  // namespace torvel
