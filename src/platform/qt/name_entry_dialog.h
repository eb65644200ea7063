#pragma once
// The name entry window: three edit boxes that keep the desktop's input method, so Japanese is
// typed as in any other program, and the buttons "デフォルト" and "ＯＫ". It has no close button;
// Escape and the window system's close request do nothing, and only names the model accepts end it.
#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;

namespace torvel {

class NameEntryModel;

class NameEntryDialog : public QDialog {
  Q_OBJECT

 public:
  explicit NameEntryDialog(QWidget* parent = nullptr);

  // Shows the model's fields; the window then edits and answers that model.
  void Bind(NameEntryModel& model);

  QLineEdit& Edit(int index) { return *edits_.at(static_cast<size_t>(index)); }
  QPushButton& OkButton() { return *ok_; }
  QPushButton& DefaultButton() { return *default_; }

 public slots:
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowFields();
  void PressOk();

  NameEntryModel* model_ = nullptr;
  std::array<QLineEdit*, 3> edits_{};
  QPushButton* ok_ = nullptr;
  QPushButton* default_ = nullptr;
};

}  // namespace torvel
