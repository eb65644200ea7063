#include "platform/qt/text_question_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/qt/dialog_support.h"
#include "resources/sjis.h"

namespace torvel {

TextQuestionDialog::TextQuestionDialog(QWidget* parent)
    : QDialog(parent),
      prompt_(new QLabel(this)),
      field_(new QLineEdit(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  setFont(DialogFont());
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(field_);
  layout->addWidget(buttons_);
  // Japanese arrives through the platform's input method.
  field_->setAttribute(Qt::WA_InputMethodEnabled, true);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TextQuestionDialog::Ask(std::string_view caption, std::string_view prompt, std::string_view initial,
                             int maxChars) {
  setWindowTitle(FromUtf8(SjisToUtf8(caption)));
  prompt_->setText(FromUtf8(SjisToUtf8(prompt)));
  field_->setMaxLength(maxChars);
  field_->setText(FromUtf8(SjisToUtf8(initial)));
  field_->selectAll();
  field_->setFocus();
  adjustSize();
}

std::optional<std::string> TextQuestionDialog::Answer() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return Utf8ToSjisKnown(ToUtf8(field_->text()), field_->maxLength());
}

}  // namespace torvel
