#pragma once
// The settings dialog window: four pages of standard controls bound to a SettingsDialogModel.
// Every control carries its component name as its object name ("RadioGroup6", "TrackBar2", …);
// a change goes to the model at once, and the controls then show the model again, so what the
// model corrects (a size out of range, the text background reset) shows in the window.
#include <QDialog>
#include <array>

#include "screens/settings_dialog.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QTabWidget;

namespace torvel {

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialog(QWidget* parent = nullptr);

  // Shows the model's values (the model has been filled); the window then changes that model.
  void Bind(SettingsDialogModel& model);

  // The widget of a control: a QGroupBox for a radio group, else the control itself.
  QWidget* Control(SettingsControl control) const { return widgets_[static_cast<size_t>(control)]; }
  QButtonGroup* Group(SettingsControl control) const { return groups_[static_cast<size_t>(control)]; }
  QTabWidget& Pages() { return *pages_; }
  QLabel& Swatch() { return *swatch_; }
  QPushButton& CloseButton() { return *close_; }

 private:
  QWidget* Make(SettingsControl control, QWidget* parent, int columns = 2);
  void Changed(SettingsControl control, int value);
  void Pressed(SettingsControl control);
  // Every control from the model, without reporting the values back as changes.
  void Sync();
  QWidget* SystemPage();
  QWidget* SoundPage();
  QWidget* TextPage();
  QWidget* NoticePage();

  SettingsDialogModel* model_ = nullptr;
  bool syncing_ = false;
  std::array<QWidget*, kSettingsControlCount> widgets_{};
  std::array<QButtonGroup*, kSettingsControlCount> groups_{};
  QTabWidget* pages_ = nullptr;
  QLabel* swatch_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace torvel
