#pragma once
// The developer controls beside the picture (`torvel --dev`): the buttons that open the script
// editor, the variable editor and the script selector, the watch list and "Trace Mode". The
// windows they open are views over the engine's developer models.
#include <QDockWidget>
#include <filesystem>
#include <memory>
#include <vector>

#include "devtools/watch_list.h"

class QCheckBox;
class QMainWindow;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace torvel {

class TForm1;
class VariableEditorWindow;

class DevControls : public QDockWidget {
 public:
  // `settingsFolder`: the per-user settings folder, whose "debug" folder keeps these settings.
  DevControls(TForm1& engine, std::filesystem::path settingsFolder, QWidget* parent = nullptr);
  ~DevControls() override;

  QPushButton* ScriptEditorButton() const { return scriptEditor_; }
  QCheckBox* EditEnable() const { return editEnable_; }
  QPushButton* FlagEditorButton() const { return flagEditor_; }
  QPushButton* ScriptSelectorButton() const { return selector_; }
  QCheckBox* WatchEnable() const { return watchEnable_; }
  QLineEdit* WatchField() const { return watchField_; }
  QPushButton* WatchAdd() const { return watchAdd_; }
  QPushButton* WatchDelete() const { return watchDelete_; }
  QListWidget* WatchList() const { return watchList_; }
  QCheckBox* TraceMode() const { return trace_; }
  VariableEditorWindow* FlagEditorWindow() const { return flagEditorWindow_.get(); }
  const std::filesystem::path& SettingsFolder() const { return settingsFolder_; }
  // Every 16th tick of the engine's main timer: refreshes the watch list while it is enabled.
  void WatchTick();

 private:
  void AddWatch();
  void RefreshWatch();

  TForm1& engine_;
  std::filesystem::path settingsFolder_;
  QPushButton* scriptEditor_;
  QCheckBox* editEnable_;
  QPushButton* flagEditor_;
  QPushButton* selector_;
  QCheckBox* watchEnable_;
  QLineEdit* watchField_;
  QPushButton* watchAdd_;
  QPushButton* watchDelete_;
  QListWidget* watchList_;
  QCheckBox* trace_;
  std::vector<WatchEntry> watches_;
  std::unique_ptr<VariableEditorWindow> flagEditorWindow_;
};

// Once the game has started: docks `controls` right of the picture and builds the debug script
// set. DBG_SCRIPT_PATH from the environment, when set, is stored in the debug settings first; a
// folder without a "_CONFIG" script asks for another until one has it or the question is
// cancelled.
void StartDeveloperTools(TForm1& engine, DevControls& controls, QMainWindow& window);

}  // namespace torvel
