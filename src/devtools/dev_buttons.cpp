// The engine's side of the developer controls: the buttons, run between frames, and the variable
// editor's hold on the global data.
#include <algorithm>

#include "devtools/script_selector_model.h"
#include "resources/file_io.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

void TForm1::PressDeveloperButton(DevButton button, std::string argument) {
  devtools.pending.push_back(DevButtonPress{button, std::move(argument)});
}

void TForm1::RunPendingDeveloperButtons() {
  if (ctl.blockingScene || devtools.pending.empty()) return;
  const std::vector<DevButtonPress> presses = std::move(devtools.pending);
  devtools.pending.clear();
  for (const DevButtonPress& press : presses) {
    switch (press.button) {
      case DevButton::ScriptEditor: {
        // The interpreter stands still while the editor is up.
        ctl.scriptRunning = false;
        int tag = script.pc;
        if (devtools.showScriptEditor) tag = devtools.showScriptEditor(tag);
        ReturnFromScriptEditor(tag);
        break;
      }
      case DevButton::FlagEditor:
        if (devtools.flagEditorOpen) break;
        OpenFlagEditor();
        if (devtools.showFlagEditor) devtools.showFlagEditor();
        break;
      case DevButton::ScriptSelector: {
        std::string chosen = press.argument;
        if (chosen.empty() && devtools.showScriptSelector) chosen = devtools.showScriptSelector(SelectorScriptNames());
        if (chosen.empty()) break;
        // Only a listed name is started.
        const std::vector<std::string> names = SelectorScriptNames();
        const std::string upper = SjisUpper(chosen);
        if (!std::binary_search(names.begin(), names.end(), upper)) break;
        StartChosenScript(*this, upper);
        break;
      }
    }
  }
}

void TForm1::OpenFlagEditor() {
  devtools.flagEditorOpen = true;
  devtools.replaceEndsAtNextWrite = false;
  const MessageResult answer = host.ShowMessage(
      Utf8ToSjis("変数エディタ"),
      Utf8ToSjis(
          "変数エディタでの変更を save0.dat にそのまま書き込みますか？（今の save0.dat は save0.dat.bak に残します）"),
      MessageButtons::OkCancel, MessageIcon::Question);
  if (answer != MessageResult::Ok) return;
  // The file is never deleted: what it held stays in save0.dat.bak, written whole before the
  // editor's changes can replace it.
  const std::filesystem::path file = SaveFolder() / "save0.dat";
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!std::filesystem::is_regular_file(file, ec) || !ReadWholeFile(file, bytes, kGlobalDataSize * 4, error) ||
        !WriteFileAtomically(SaveFolder() / "save0.dat.bak", bytes, &error)) {
      host.ShowMessage(Utf8ToSjis("変数エディタ"),
                       Utf8ToSjis("save0.dat.bak を書き込めません。save0.dat は今のまま残します。"), MessageButtons::Ok,
                       MessageIcon::Error);
      return;
    }
  }
  devtools.globalDataReplace = true;
}

void TForm1::CloseFlagEditor() {
  if (!devtools.flagEditorOpen) return;
  devtools.flagEditorOpen = false;
  devtools.flagEditor.drag = 0;
  if (devtools.globalDataReplace) devtools.replaceEndsAtNextWrite = true;
}

void TForm1::ApplyVariableEdit(const VarEditResult& result) {
  if (result.menusChanged) UpdateMenus();
}

std::vector<std::string> TForm1::SelectorScriptNames() const {
  std::vector<std::string> names = archives.data.names;
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace torvel
