#pragma once
// The save and load list window: a table of the slot files with grid lines and whole-row
// selection, a comment box with its button, and "削除", "閉じる" and the action button. Header
// clicks sort through the model. Enter acts only when it was pressed in the list, so the key that
// opened the window does not act on it.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace torvel {

class SaveListModel;

class SaveListDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SaveListDialog(QWidget* parent = nullptr);

  // Shows the model's rows and selection; the window then acts on that model.
  void Bind(SaveListModel& model);
  // Runs the bound window modally until it closes. The window is hidden while it saves or loads
  // and shows again, as it was, when that failed.
  void Run();

  QTableWidget& Table() { return *table_; }
  QLineEdit& CommentBox() { return *comment_; }
  QPushButton& CommentButton() { return *commentButton_; }
  QPushButton& DeleteButton() { return *delete_; }
  QPushButton& CloseButton() { return *close_; }
  QPushButton& ActionButton() { return *action_; }
  QLabel& Heading() { return *heading_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowRows();
  void ShowSelection();
  void RowClicked(int row);
  void Act();
  static constexpr int kActionChosen = 2;  // the exec result that asks Run to save or load

  SaveListModel* model_ = nullptr;
  QLabel* heading_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLineEdit* comment_ = nullptr;
  QPushButton* commentButton_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* close_ = nullptr;
  QPushButton* action_ = nullptr;
  bool enterPressedInList_ = false;
  bool showingRows_ = false;
};

}  // namespace torvel
