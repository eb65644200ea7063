#pragma once
// A one-line text question: a prompt, an edit field and OK and Cancel, as the recollection asks
// for a slot's name. Texts cross it as Shift-JIS; characters typed that have no Shift-JIS form
// are left out of the answer.
#include <QDialog>
#include <optional>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QDialogButtonBox;

namespace torvel {

class TextQuestionDialog : public QDialog {
 public:
  explicit TextQuestionDialog(QWidget* parent = nullptr);
  void Ask(std::string_view caption, std::string_view prompt, std::string_view initial, int maxChars);
  // The answer once the window has closed: the field's text on OK, nothing on Cancel.
  std::optional<std::string> Answer() const;
  QLineEdit& Field() { return *field_; }
  QDialogButtonBox& Buttons() { return *buttons_; }

 private:
  QLabel* prompt_;
  QLineEdit* field_;
  QDialogButtonBox* buttons_;
};

}  // namespace torvel
