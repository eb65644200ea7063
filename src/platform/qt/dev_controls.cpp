#include "platform/qt/dev_controls.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

#include "devtools/debug_settings.h"
#include "platform/qt/script_editor_window.h"
#include "platform/qt/script_selector_window.h"
#include "platform/qt/variable_editor_window.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

DevControls::DevControls(TForm1& engine, std::filesystem::path settingsFolder, QWidget* parent)
    : QDockWidget("Developer", parent), engine_(engine), settingsFolder_(std::move(settingsFolder)) {
  setObjectName("DevControls");
  setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  scriptEditor_ = new QPushButton("Script Editor", body);
  editEnable_ = new QCheckBox(QString::fromUtf8("編集有効"), body);
  flagEditor_ = new QPushButton("Flag Editor", body);
  selector_ = new QPushButton("Script Selector", body);
  watchEnable_ = new QCheckBox("RealTime Watcher Enable", body);
  watchField_ = new QLineEdit(body);
  watchAdd_ = new QPushButton("Add ->", body);
  watchDelete_ = new QPushButton("Del", body);
  watchList_ = new QListWidget(body);
  trace_ = new QCheckBox("Trace Mode", body);
  for (QWidget* w : std::initializer_list<QWidget*>{scriptEditor_, editEnable_, flagEditor_, selector_, watchEnable_,
                                                    watchField_, watchAdd_, watchDelete_, watchList_, trace_})
    layout->addWidget(w);
  layout->addStretch();
  setWidget(body);

  // The script editor waits for "編集有効"; its state is written to the debug settings.
  scriptEditor_->setEnabled(false);
  connect(editEnable_, &QCheckBox::toggled, this, [this](bool on) {
    scriptEditor_->setEnabled(on);
    DebugSettingsStore(settingsFolder_, engine_.config.GAME_ID).WriteInt("DBG_EDIT_ENA", on ? 1 : 0);
  });
  connect(scriptEditor_, &QPushButton::clicked, this,
          [this] { engine_.PressDeveloperButton(DevButton::ScriptEditor); });
  connect(flagEditor_, &QPushButton::clicked, this, [this] { engine_.PressDeveloperButton(DevButton::FlagEditor); });
  connect(selector_, &QPushButton::clicked, this, [this] { engine_.PressDeveloperButton(DevButton::ScriptSelector); });
  connect(trace_, &QCheckBox::toggled, this, [this](bool on) { engine_.ctl.traceMode = on; });
  connect(watchAdd_, &QPushButton::clicked, this, [this] { AddWatch(); });
  connect(watchDelete_, &QPushButton::clicked, this, [this] {
    const int row = watchList_->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= watches_.size()) return;
    watches_.erase(watches_.begin() + row);
    delete watchList_->takeItem(row);
  });
  engine_.devtools.watchTick = [this] { WatchTick(); };

  engine_.devtools.showFlagEditor = [this] {
    if (!flagEditorWindow_) flagEditorWindow_ = std::make_unique<VariableEditorWindow>(engine_);
    flagEditorWindow_->move(0, 0);
    flagEditorWindow_->Redraw();
    flagEditorWindow_->showMaximized();
    flagEditorWindow_->raise();
  };
  engine_.devtools.showScriptSelector = [this](const std::vector<std::string>& names) {
    ScriptSelectorWindow window(this);
    return window.Choose(names);
  };
  engine_.devtools.showScriptEditor = [this](int tag) {
    ScriptEditorWindow window(engine_, settingsFolder_, this);
    return window.Run(tag);
  };
}

DevControls::~DevControls() {
  engine_.devtools.showFlagEditor = nullptr;
  engine_.devtools.watchTick = nullptr;
  engine_.devtools.showScriptSelector = nullptr;
  engine_.devtools.showScriptEditor = nullptr;
}

void DevControls::AddWatch() {
  // Only V, S, E or F and three digits are taken.
  const std::optional<WatchEntry> entry = ParseWatchEntry(watchField_->text().toStdString());
  if (!entry) return;
  watches_.push_back(*entry);
  watchList_->addItem(QString::fromStdString(FormatWatch(*entry, engine_.vars)));
}

void DevControls::WatchTick() {
  if (watchEnable_->isChecked()) RefreshWatch();
}

void DevControls::RefreshWatch() {
  for (size_t i = 0; i < watches_.size(); ++i)
    watchList_->item(static_cast<int>(i))->setText(QString::fromStdString(FormatWatch(watches_[i], engine_.vars)));
}

void StartDeveloperTools(TForm1& engine, DevControls& controls, QMainWindow& window) {
  window.addDockWidget(Qt::RightDockWidgetArea, &controls);
  SettingsStore store = DebugSettingsStore(controls.SettingsFolder(), engine.config.GAME_ID);
  if (const char* folder = std::getenv("DBG_SCRIPT_PATH"); folder && *folder)
    store.Write("DBG_SCRIPT_PATH", Utf8ToSjis(folder));
  BuildDebugScriptSet(engine, controls.SettingsFolder(), &window);
}

}  // namespace torvel
