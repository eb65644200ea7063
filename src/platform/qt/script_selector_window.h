#pragma once
// TForm5, the script selector: the data archive's scripts, filtered by "FileMask" a moment after
// the last key; a double click or "Executre" chooses one.
#include <QDialog>
#include <QTimer>

#include "devtools/script_selector_model.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace torvel {

class ScriptSelectorWindow : public QDialog {
 public:
  explicit ScriptSelectorWindow(QWidget* parent = nullptr);

  // Shows the names and returns the chosen one once the window closes; empty for none.
  std::string Choose(const std::vector<std::string>& names);
  // Fills the lists as a showing does, without running the window (the tests drive it).
  void Fill(const std::vector<std::string>& names);

  ScriptSelectorModel& Model() { return model_; }
  QLineEdit* Mask() const { return mask_; }
  QListWidget* List() const { return list_; }
  QPushButton* Execute() const { return execute_; }
  void Tick();
  // The close button: nothing is chosen.
  void reject() override {
    model_.Close();
    QDialog::reject();
  }

 private:
  void ShowList();
  void ChooseSelected();

  ScriptSelectorModel model_;
  QLineEdit* mask_;
  QListWidget* list_;
  QPushButton* execute_;
  QTimer timer_;
};

}  // namespace torvel
